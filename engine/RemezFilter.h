#pragma once
// Linear-phase FIR design by the Parks-McClellan (Remez exchange) method.

class CRemezFilter {
public:
    enum { BANDPASS = 1, DIFFERENTIATOR = 2, HILBERT = 3 };
    // How a design ended, beyond Remez's own 0 / -1.
    enum Outcome { CONVERGED, NOT_CONVERGED, BROKEN };

    // Remez into doubles, converted to float taps; returns Remez's result.
    // outcome as for Remez.
    int Design(float* taps, int numtaps, int numbands, double* bands, double rate,
               const double* desired, const double* weights, int type, Outcome* outcome = nullptr);

    // bands: 2 x numbands ascending edges in Hz, divided by rate in place;
    // desired and weights one value per band. Returns 0 and sets taps when
    // the exchange converges within 40 iterations; otherwise -1 and taps are
    // left alone, with outcome NOT_CONVERGED when the exchange kept cycling
    // and BROKEN for an extremal index off the grid or edges not ascending
    // within 0..rate/2.
    int Remez(double* taps, int numtaps, int numbands, double* bands, double rate,
              const double* desired, const double* weights, int type, Outcome* outcome = nullptr);

    // Steps of the exchange.
    static void CreateDenseGrid(int r, int numtaps, int numbands, const double* bands,
                                const double* des, const double* weight, int gridsize,
                                double* grid, double* d, double* w, bool antisymmetric,
                                int* bandStart = nullptr);
    static void InitialGuess(int r, int* ext, int gridsize);
    static void CalcParms(int r, const int* ext, const double* grid, const double* d,
                          const double* w, double* ad, double* x, double* y);
    static double ComputeA(double freq, int r, const double* ad, const double* x,
                           const double* y);
    static void CalcError(int r, const double* ad, const double* x, const double* y,
                          int gridsize, const double* grid, const double* d, const double* w,
                          double* e);
    // With band starts (grid index of each band's first point) the search
    // keeps within bands and counts band edges as extrema.
    static void Search(int r, int* ext, int gridsize, const double* e, int numbands = 0,
                       const int* bandStart = nullptr);
    static void FreqSample(int n, const double* a, double* h, bool antisymmetric);
    // 1 converged, 0 not yet, -1 an extremal index outside the grid.
    static int IsDone(int r, const int* ext, const double* e, int gridsize);

private:
    // Up to 40 iterations from the initial guess, then the taps into h (also
    // when not converged); returns IsDone's last value.
    static int Exchange(int r, int numtaps, int type, int gridsize, int numbands,
                        const int* bandStart, const double* grid,
                        const double* d, const double* w, double* h);
};
