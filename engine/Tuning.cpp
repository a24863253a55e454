// The song's concert pitch from comb sums over one-second spectra.
#include <cmath>

#include "AnalysisEngine.h"
#include "SongLevel.h"
#include "SpectrumAnalyzer.h"

namespace {

// The comb counts bins kCombFirstBin <= bin < kCombEndBin.
const unsigned kCombFirstBin = 1001, kCombEndBin = 3000;

// WindowedSpectrum into buf, whose storage is reused from call to call;
// only bins firstBin <= k < endBin get their magnitudes.
void FillWindowedSpectrum(std::vector<double>& buf, const float* x, int centre, double seconds, int rate,
                          double* binsPerHz, unsigned firstBin = 1, unsigned endBin = ~0u)
{
    double len = rate * seconds;
    int fade = (int)std::floor(rate * 0.008);
    unsigned n = 1;
    while (n < len)
        n <<= 1;
    *binsPerHz = n / len;
    int count = (int)len;
    buf.assign(n + 2, 0.0);
    int first = centre - (int)std::floor(len / 2);
    for (int j = 0; j < count && j < (int)n + 2; ++j)
        buf[j] = SongLevel::Finite(x[first + j]);
    for (int j = 0; j < fade && j < count; ++j) {
        double g = (double)j / fade;
        buf[j] *= g;
        buf[count - 1 - j] *= g;
    }
    CSpectrumAnalyzer::MagnitudeSpectrum(buf.data(), n, firstBin, endBin);
}

} // namespace

std::vector<double> CAnalysisEngine::WindowedSpectrum(const float* x, int centre, double seconds,
                                                      int rate, double* binsPerHz)
{
    std::vector<double> buf;
    FillWindowedSpectrum(buf, x, centre, seconds, rate, binsPerHz);
    return buf;
}

float CAnalysisEngine::EstimateTuning(const float* samples, int rate, int count)
{
    const int lo = (int)std::floor(880.0 - (880.0 - 880.0 * std::pow(2.0, -1.0 / 12)) * 0.55);
    const int hi = (int)std::floor(880.0 + (880.0 * std::pow(2.0, 1.0 / 12) - 880.0) * 0.55);
    const int cands = hi - lo + 1;
    if (!samples || rate <= 0 || count <= 0 || cands < 2)
        return 440.0f;

    CFloatMatrix score, lines;
    score.Create(2, cands, 0.0f);
    lines.Create(1, cands, 0.0f);
    double comb[73];
    // The comb's semitone ratios, the same for every candidate and segment.
    double ratio[73];
    for (int k = -24; k <= 48; ++k)
        ratio[k + 24] = std::pow(2.0, k / 12.0);
    std::vector<double> spec;
    // A step of at least one sample, so tiny inputs cannot stall the scan.
    int step = count / 70 > 0 ? count / 70 : 1;
    for (int p = rate; p < count - rate; p += step) {
        double binsPerHz = 0.0;
        FillWindowedSpectrum(spec, samples, p, 1.0, rate, &binsPerHz, kCombFirstBin, kCombEndBin);
        // Bins from n/2 up are the signed Nyquist value or lie beyond the
        // magnitudes: only bins below it are counted.
        long long magnitudeEnd = (long long)(spec.size() - 2) / 2;
        for (int ci = 0; ci < cands; ++ci) {
            int c = lo + ci;
            for (int k = -24; k <= 48; ++k)
                comb[k + 24] = c * ratio[k + 24];
            for (double f : comb) {
                long long bin = (long long)std::floor(f * binsPerHz + 0.5);
                if (bin >= kCombFirstBin && bin < kCombEndBin && bin < magnitudeEnd) {
                    *score.At(0, ci) += (float)spec[(size_t)bin];
                    *lines.At(0, ci) += 1.0f;
                }
            }
            *score.At(1, ci) = (float)c;
        }
    }

    // Mean over the neighbours 1..cands-2; the two end columns never serve.
    auto quotient = [&](int j) -> float {
        float n = *lines.At(0, j);
        return n > 0.0f ? *score.At(0, j) / n : 0.0f;
    };
    float best = 0.0f;
    float freq = 880.0f;
    for (int j = 0; j < cands - 1; ++j) {
        float sum = 0.0f;
        int used = 0;
        for (int i = j - 1; i <= j + 1; ++i) {
            if (i > 0 && i < cands - 1) {
                sum += quotient(i);
                ++used;
            }
        }
        float smoothed = used ? sum / used : 0.0f;
        if (smoothed > best) {
            best = smoothed;
            freq = *score.At(1, j);
        }
    }
    return freq / 2.0f;
}
