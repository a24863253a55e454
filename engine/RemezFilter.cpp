#include "RemezFilter.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
const double kPi = 3.14159265358979323846;
const double kTwoPi = 6.28318530717958647692;
const int kGridDensity = 16;
const int kMaxIterations = 40;
} // namespace

void CRemezFilter::CreateDenseGrid(int r, int numtaps, int numbands, const double* bands,
                                   const double* des, const double* weight, int gridsize,
                                   double* grid, double* d, double* w, bool antisymmetric,
                                   int* bandStart)
{
    double delf = 0.5 / (kGridDensity * r);
    int j = 0;
    for (int band = 0; band < numbands && j < gridsize; ++band) {
        double lowf = bands[2 * band];
        if (band == 0 && antisymmetric && lowf < delf)
            lowf = delf;
        double highf = bands[2 * band + 1];
        int k = (int)((highf - lowf) / delf + 0.5);
        if (k < 1)
            k = 1;
        if (bandStart)
            bandStart[band] = j;
        for (int i = 0; i < k && j < gridsize; ++i) {
            d[j] = des[band];
            w[j] = weight[band];
            grid[j] = lowf;
            lowf += delf;
            ++j;
        }
        grid[j - 1] = highf;
    }
    // Points the rounding left over take the last band's edge.
    for (; j < gridsize; ++j) {
        d[j] = des[numbands - 1];
        w[j] = weight[numbands - 1];
        grid[j] = bands[2 * numbands - 1];
    }
    // An odd-length antisymmetric response is zero at 0.5: keep off it.
    if (antisymmetric && (numtaps % 2) && grid[gridsize - 1] > 0.5 - delf)
        grid[gridsize - 1] = 0.5 - delf;
}

void CRemezFilter::InitialGuess(int r, int* ext, int gridsize)
{
    for (int i = 0; i <= r; ++i)
        ext[i] = (int)((long long)i * (gridsize - 1) / r);
}

void CRemezFilter::CalcParms(int r, const int* ext, const double* grid, const double* d,
                             const double* w, double* ad, double* x, double* y)
{
    for (int i = 0; i <= r; ++i)
        x[i] = std::cos(kTwoPi * grid[ext[i]]);
    // Barycentric weights; the products are taken in interleaved order to
    // keep their magnitude in range. Small products are genuine (extremal
    // frequencies bunch up in a narrow low pass band): flooring them at some
    // threshold makes the exchange cycle or settle on a wrong filter, so only
    // coincident abscissae (an exact zero) are guarded.
    int ld = (r - 1) / 15 + 1;
    for (int i = 0; i <= r; ++i) {
        double denom = 1.0;
        double xi = x[i];
        for (int j = 0; j < ld; ++j)
            for (int k = j; k <= r; k += ld)
                if (k != i)
                    denom *= 2.0 * (xi - x[k]);
        if (denom == 0.0)
            denom = 1e-300;
        ad[i] = 1.0 / denom;
    }
    double numer = 0.0, denom = 0.0;
    double sign = 1.0;
    for (int i = 0; i <= r; ++i) {
        numer += ad[i] * d[ext[i]];
        denom += sign * ad[i] / w[ext[i]];
        sign = -sign;
    }
    double delta = numer / denom;
    sign = 1.0;
    for (int i = 0; i <= r; ++i) {
        y[i] = d[ext[i]] - sign * delta / w[ext[i]];
        sign = -sign;
    }
}

double CRemezFilter::ComputeA(double freq, int r, const double* ad, const double* x,
                              const double* y)
{
    double numer = 0.0, denom = 0.0;
    double xc = std::cos(kTwoPi * freq);
    for (int i = 0; i <= r; ++i) {
        double c = xc - x[i];
        if (std::fabs(c) < 1.0e-7)
            return y[i];
        c = ad[i] / c;
        denom += c;
        numer += c * y[i];
    }
    return numer / denom;
}

void CRemezFilter::CalcError(int r, const double* ad, const double* x, const double* y,
                             int gridsize, const double* grid, const double* d, const double* w,
                             double* e)
{
    for (int i = 0; i < gridsize; ++i)
        e[i] = w[i] * (d[i] - ComputeA(grid[i], r, ad, x, y));
}

void CRemezFilter::Search(int r, int* ext, int gridsize, const double* e, int numbands,
                          const int* bandStart)
{
    // Every local extremum of the error within a band, band edges included;
    // unset entries stay -1 so that too few extrema show up as a broken set.
    std::vector<int> found;
    found.reserve(2 * r + 2);
    int bands = bandStart ? numbands : 1;
    for (int b = 0; b < bands; ++b) {
        int lo = bandStart ? bandStart[b] : 0;
        int hi = (bandStart && b + 1 < bands) ? bandStart[b + 1] - 1 : gridsize - 1;
        if (hi >= gridsize)
            hi = gridsize - 1;
        for (int i = lo; i <= hi; ++i) {
            double left = i > lo ? e[i - 1] : e[i];
            double right = i < hi ? e[i + 1] : e[i];
            bool atEdge = i == lo || i == hi;
            if (lo == hi) {
                if (e[i] != 0.0)
                    found.push_back(i);
                continue;
            }
            bool up = e[i] > 0.0 && e[i] >= left && e[i] >= right && (atEdge || e[i] > right);
            bool down = e[i] < 0.0 && e[i] <= left && e[i] <= right && (atEdge || e[i] < right);
            if (up || down)
                found.push_back(i);
        }
    }
    // Too few extrema (an error curve flatter than the reference set): the
    // largest remaining errors fill the set so the exchange can go on.
    if ((int)found.size() < r + 1 && gridsize >= r + 1) {
        std::vector<char> taken(gridsize, 0);
        for (int i : found)
            taken[i] = 1;
        while ((int)found.size() < r + 1) {
            int best = -1;
            for (int i = 0; i < gridsize; ++i)
                if (!taken[i] && (best < 0 || std::fabs(e[i]) > std::fabs(e[best])))
                    best = i;
            taken[best] = 1;
            found.insert(std::upper_bound(found.begin(), found.end(), best), best);
        }
    }

    // The reference set should alternate in sign: while there are extras, a
    // run of one sign gives up its smallest error first.
    auto mag = [&](size_t i) { return std::fabs(e[found[i]]); };
    auto sameSign = [&](size_t a, size_t b) { return (e[found[a]] > 0.0) == (e[found[b]] > 0.0); };
    while ((int)found.size() > r + 1) {
        size_t drop = found.size();
        for (size_t i = 1; i < found.size(); ++i) {
            if (!sameSign(i, i - 1))
                continue;
            size_t smaller = mag(i) < mag(i - 1) ? i : i - 1;
            if (drop == found.size() || mag(smaller) < mag(drop))
                drop = smaller;
        }
        if (drop == found.size())
            break;
        found.erase(found.begin() + (long)drop);
    }
    // Too many: one extra goes at the smaller end; otherwise the smallest
    // goes, and its two neighbours (now of one sign) keep the larger.
    while ((int)found.size() > r + 1) {
        size_t k = found.size();
        if ((int)k == r + 2) {
            found.erase(found.begin() + (long)(mag(k - 1) < mag(0) ? k - 1 : 0));
            continue;
        }
        size_t small = 0;
        for (size_t i = 1; i < k; ++i)
            if (mag(i) < mag(small))
                small = i;
        found.erase(found.begin() + (long)small);
        if (small > 0 && small < k - 1)
            found.erase(found.begin() + (long)(mag(small) < mag(small - 1) ? small : small - 1));
    }
    for (int i = 0; i <= r; ++i)
        ext[i] = i < (int)found.size() ? found[i] : -1;
}

int CRemezFilter::IsDone(int r, const int* ext, const double* e, int gridsize)
{
    for (int i = 0; i <= r; ++i)
        if (ext[i] < 0 || ext[i] >= gridsize)
            return -1;
    double mn = std::fabs(e[ext[0]]), mx = mn;
    for (int i = 1; i <= r; ++i) {
        double c = std::fabs(e[ext[i]]);
        if (c < mn)
            mn = c;
        if (c > mx)
            mx = c;
    }
    // An error of zero at every extremum is an exact fit.
    return (mx == 0.0 || (mx - mn) / mx < 0.0001) ? 1 : 0;
}

void CRemezFilter::FreqSample(int n, const double* a, double* h, bool antisymmetric)
{
    double m = (n - 1.0) / 2.0;
    for (int t = 0; t < n; ++t) {
        double x = kTwoPi * (t - m) / n;
        double val;
        if (!antisymmetric) {
            val = a[0];
            int top = (n % 2) ? (int)m : n / 2 - 1;
            for (int k = 1; k <= top; ++k)
                val += 2.0 * a[k] * std::cos(x * k);
        } else if (n % 2) {
            val = 0.0;
            for (int k = 1; k <= (int)m; ++k)
                val += 2.0 * a[k] * std::sin(x * k);
        } else {
            val = a[n / 2] * std::sin(kPi * (t - m));
            for (int k = 1; k <= n / 2 - 1; ++k)
                val += 2.0 * a[k] * std::sin(x * k);
        }
        h[t] = val / n;
    }
}

int CRemezFilter::Remez(double* taps, int numtaps, int numbands, double* bands, double rate,
                        const double* desired, const double* weights, int type, Outcome* outcome)
{
    if (outcome)
        *outcome = BROKEN;
    if (numtaps < 1 || numbands < 1 || rate <= 0.0)
        return -1;
    for (int i = 0; i < 2 * numbands; ++i)
        bands[i] /= rate;
    // Edges must ascend within 0 .. 0.5.
    for (int i = 0; i < 2 * numbands; ++i) {
        if (bands[i] < 0.0 || bands[i] > 0.5 || (i > 0 && bands[i] < bands[i - 1]))
            return -1;
    }
    bool antisymmetric = type != BANDPASS;
    int r = numtaps / 2;
    if (!antisymmetric && (numtaps % 2))
        ++r;
    if (r < 1)
        return -1;

    int gridsize = 0;
    for (int b = 0; b < numbands; ++b)
        gridsize += (int)(2 * r * kGridDensity * (bands[2 * b + 1] - bands[2 * b]) + 0.5);
    if (antisymmetric)
        --gridsize;
    if (gridsize < r + 1)
        return -1;

    std::vector<double> grid(gridsize), d(gridsize), w(gridsize);
    std::vector<int> bandStart(numbands, 0);
    CreateDenseGrid(r, numtaps, numbands, bands, desired, weights, gridsize, grid.data(),
                    d.data(), w.data(), antisymmetric, bandStart.data());

    if (type == DIFFERENTIATOR) {
        for (int i = 0; i < gridsize; ++i)
            if (d[i] > 0.0001 && grid[i] > 0.0)
                w[i] /= grid[i];
    }
    // Fold the fixed factor of each symmetry type into the desired response
    // and the weight.
    for (int i = 0; i < gridsize; ++i) {
        double c = 1.0;
        if (!antisymmetric) {
            if (numtaps % 2 == 0)
                c = std::cos(kPi * grid[i]);
        } else {
            c = (numtaps % 2) ? std::sin(kTwoPi * grid[i]) : std::sin(kPi * grid[i]);
        }
        if (c != 1.0) {
            d[i] /= c;
            w[i] *= c;
        }
    }

    std::vector<double> h(numtaps);
    int done = Exchange(r, numtaps, type, gridsize, numbands, bandStart.data(), grid.data(),
                        d.data(), w.data(), h.data());
    if (done < 0)
        return -1;
    if (outcome)
        *outcome = done == 1 ? CONVERGED : NOT_CONVERGED;
    if (done != 1)
        return -1;
    for (int i = 0; i < numtaps; ++i)
        taps[i] = h[i];
    return 0;
}

int CRemezFilter::Exchange(int r, int numtaps, int type, int gridsize, int numbands,
                           const int* bandStart, const double* grid,
                           const double* d, const double* w, double* h)
{
    bool antisymmetric = type != BANDPASS;
    std::vector<int> ext(r + 1);
    std::vector<double> ad(r + 1), x(r + 1), y(r + 1), e(gridsize);
    InitialGuess(r, ext.data(), gridsize);
    int done = 0;
    for (int iter = 0; iter < kMaxIterations; ++iter) {
        CalcParms(r, ext.data(), grid, d, w, ad.data(), x.data(), y.data());
        CalcError(r, ad.data(), x.data(), y.data(), gridsize, grid, d, w, e.data());
        Search(r, ext.data(), gridsize, e.data(), numbands, bandStart);
        done = IsDone(r, ext.data(), e.data(), gridsize);
        if (done != 0)
            break;
    }
    if (done < 0)
        return -1;

    // Response at numtaps/2 + 1 equally spaced frequencies, then the taps by
    // frequency sampling.
    CalcParms(r, ext.data(), grid, d, w, ad.data(), x.data(), y.data());
    std::vector<double> a(numtaps / 2 + 2, 0.0);
    for (int i = 0; i <= numtaps / 2; ++i) {
        double f = (double)i / numtaps;
        double c;
        if (!antisymmetric)
            c = (numtaps % 2) ? 1.0 : std::cos(kPi * f);
        else
            c = (numtaps % 2) ? std::sin(kTwoPi * f) : std::sin(kPi * f);
        a[i] = ComputeA(f, r, ad.data(), x.data(), y.data()) * c;
    }
    FreqSample(numtaps, a.data(), h, antisymmetric);
    if (type == DIFFERENTIATOR)
        for (int i = 0; i < numtaps; ++i)
            h[i] = -h[i];
    return done;
}

int CRemezFilter::Design(float* taps, int numtaps, int numbands, double* bands, double rate,
                         const double* desired, const double* weights, int type, Outcome* outcome)
{
    if (numtaps < 1)
        return -1;
    std::vector<double> t(numtaps);
    int result = Remez(t.data(), numtaps, numbands, bands, rate, desired, weights, type, outcome);
    if (result == 0)
        for (int i = 0; i < numtaps; ++i)
            taps[i] = (float)t[i];
    return result;
}
