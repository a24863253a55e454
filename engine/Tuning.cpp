// The song's concert pitch from comb sums over one-second spectra.
#include <cmath>

#include "AnalysisEngine.h"
#include "SongLevel.h"
#include "SpectrumAnalyzer.h"

namespace {

// Points of the spectrum of len samples: the next power of two.
unsigned SpectrumPoints(double len)
{
    unsigned n = 1;
    while (n < len)
        n <<= 1;
    return n;
}

// Bins per Hz of the one-second segment spectra of a song at rate.
double SegmentBinsPerHz(int rate)
{
    return SpectrumPoints(rate) / (double)rate;
}

// How the comb reads the segment spectra of a song at one rate. Its lines
// are taken in the bins of a song at the reference rate of the song's
// analysed rate (SongLevel::ReferenceRate): a line at f Hz counts when its
// bin there, floor(f x binsPerHz + 0.5), is 1001 to 2999 (about 673 to 2019
// Hz at 22050 Hz, 732 to 2197 Hz at 24000 Hz). A song analysed at its
// reference rate, or whose spectra have the reference's bins (11025 Hz),
// reads those bins of its own spectra. Elsewhere its bins lie at other
// frequencies, and close calls between two tunings went the other way: the
// spectra are zero-padded to at least twice the reference's bins per Hz and
// each reference bin is read at its frequency, between the two nearest.
class CCombReader {
public:
    explicit CCombReader(int rate)
    {
        CAnalysisEngine::FrameLayout lay;
        CAnalysisEngine::ComputeFrameLayout(0, rate, lay);
        const int reference = SongLevel::ReferenceRate(lay.rate);
        m_points = SpectrumPoints(rate);
        m_direct = reference == lay.rate || SegmentBinsPerHz(rate) == SegmentBinsPerHz(reference);
        m_lineBinsPerHz = m_direct ? SegmentBinsPerHz(rate) : SegmentBinsPerHz(reference);
        while (!m_direct && m_points < kMostPoints && m_points / (double)rate < 2.0 * m_lineBinsPerHz)
            m_points <<= 1;
        // The magnitudes the lines may read.
        const double scale = m_direct ? 1.0 : m_points / (double)rate / m_lineBinsPerHz;
        firstBin = (unsigned)std::floor(kFirst * scale);
        endBin = m_direct ? kEnd : (unsigned)std::floor((kEnd - 1) * scale) + 2;
    }

    // Points of each segment spectrum.
    unsigned Points() const { return m_points; }

    // The magnitude of the line at f Hz in spec (binsPerHz of it), or false
    // when the line does not count. Only bins below spec's Nyquist bin are
    // magnitudes.
    bool Read(const std::vector<double>& spec, double binsPerHz, double f, double* magnitude) const
    {
        const long long bin = (long long)std::floor(f * m_lineBinsPerHz + 0.5);
        const long long magnitudeEnd = (long long)(spec.size() - 2) / 2;
        if (bin < kFirst || bin >= kEnd)
            return false;
        if (m_direct) {
            if (bin >= magnitudeEnd)
                return false;
            *magnitude = spec[(size_t)bin];
            return true;
        }
        const double at = bin / m_lineBinsPerHz * binsPerHz;
        const long long k = (long long)at;
        if (k + 1 >= magnitudeEnd)
            return false;
        const double w = at - (double)k;
        *magnitude = spec[(size_t)k] * (1.0 - w) + spec[(size_t)k + 1] * w;
        return true;
    }

    unsigned firstBin, endBin;

private:
    static constexpr unsigned kFirst = 1001, kEnd = 3000;
    // Padding stops there (32 MiB a spectrum), whatever the rate.
    static constexpr unsigned kMostPoints = 1u << 22;
    unsigned m_points;
    bool m_direct;
    double m_lineBinsPerHz;
};

// WindowedSpectrum into buf, whose storage is reused from call to call,
// zero-padded to points when that is given; only bins firstBin <= k <
// endBin get their magnitudes.
void FillWindowedSpectrum(std::vector<double>& buf, const float* x, int centre, double seconds, int rate,
                          double* binsPerHz, unsigned firstBin = 1, unsigned endBin = ~0u, unsigned points = 0)
{
    double len = rate * seconds;
    int fade = (int)std::floor(rate * 0.008);
    unsigned n = points ? points : SpectrumPoints(len);
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
    const CCombReader reader(rate);
    std::vector<double> spec;
    // A step of at least one sample, so tiny inputs cannot stall the scan.
    int step = count / 70 > 0 ? count / 70 : 1;
    for (int p = rate; p < count - rate; p += step) {
        double binsPerHz = 0.0;
        FillWindowedSpectrum(spec, samples, p, 1.0, rate, &binsPerHz, reader.firstBin, reader.endBin,
                             reader.Points());
        for (int ci = 0; ci < cands; ++ci) {
            int c = lo + ci;
            for (int k = -24; k <= 48; ++k)
                comb[k + 24] = c * ratio[k + 24];
            for (double f : comb) {
                double magnitude;
                if (reader.Read(spec, binsPerHz, f, &magnitude)) {
                    *score.At(0, ci) += (float)magnitude;
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
