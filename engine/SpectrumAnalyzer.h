#pragma once
// Magnitudes at exact note frequencies, with the cosine and sine tables of
// the twelve notes of one octave cached, and a radix-2 real FFT.

class CSpectrumAnalyzer {
public:
    // ref <= 0 leaves the note table unset (the analysis sets it per octave).
    explicit CSpectrumAnalyzer(double ref = -1.0);
    ~CSpectrumAnalyzer();
    CSpectrumAnalyzer(const CSpectrumAnalyzer&) = delete;
    CSpectrumAnalyzer& operator=(const CSpectrumAnalyzer&) = delete;

    // Stores ref (the octave's A) and the twelve note frequencies of the
    // slots: A, A#, B, C, C# of the octave, then D to G# below A.
    void SetReference(double ref);
    // The tables hold for one reference, frame length and rate: whoever
    // changes one of them calls this first.
    void FreeBuffers();

    // Modulus of the single-frequency DFT sum over x[start .. start+len-1]
    // (phase origin at the first sample); *phaseOut = atan(sin sum / cos
    // sum). A frequency whose integer part matches a slot builds that slot's
    // tables on first use (double sums) and uses them later (float sums).
    float NoteMagnitude(float* phaseOut, float freq, const float* x, int start, int len, int rate,
                        bool storeTables);

    // Real FFT of data[1..n] (n a power of two) in place, then magnitudes:
    // data[0] = DC (signed), data[k] = |X(k)| for 0 < k < n/2, data[n/2] =
    // Nyquist (signed). data holds at least n + 1 values. With a bin range,
    // only the magnitudes of bins firstBin <= k < endBin are made; the other
    // bins between 0 and n/2 hold no magnitude then.
    static void MagnitudeSpectrum(double* data, unsigned n, unsigned firstBin = 1, unsigned endBin = ~0u);
    // In-place radix-2 complex FFT of n complex values interleaved (re, im)
    // in data[0 .. 2n-1]; sign -1 forward, +1 inverse (no scaling).
    static void ComplexFft(double* data, unsigned n, int sign);

    double GetReference() const { return m_ref; }
    double SlotFrequency(int slot) const { return m_noteFreq[slot]; }

private:
    struct Slot {
        float* cosTable;
        float* sinTable;
    };
    double m_ref;
    Slot m_slots[12];
    int m_tableLen;
    double m_noteFreq[12];
};
