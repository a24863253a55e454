#include "SpectrumAnalyzer.h"

#include <cmath>
#include <utility>
#include <vector>
#ifdef __SSE2__
#include <emmintrin.h>
#include <immintrin.h>

#include "CpuFeatures.h"
#endif

namespace {
const double kTwoPi = 6.28318530717958;
const int kSlotSemitones[12] = {0, 1, 2, 3, 4, -7, -6, -5, -4, -3, -2, -1};
} // namespace

CSpectrumAnalyzer::CSpectrumAnalyzer(double ref) : m_ref(ref), m_tableLen(0)
{
    for (int i = 0; i < 12; ++i) {
        m_slots[i].cosTable = nullptr;
        m_slots[i].sinTable = nullptr;
        m_noteFreq[i] = 0.0;
    }
    if (ref > 0)
        SetReference(ref);
}

CSpectrumAnalyzer::~CSpectrumAnalyzer() { FreeBuffers(); }

void CSpectrumAnalyzer::SetReference(double ref)
{
    m_ref = ref;
    for (int i = 0; i < 12; ++i)
        m_noteFreq[i] = ref * std::pow(2.0, kSlotSemitones[i] / 12.0);
}

void CSpectrumAnalyzer::FreeBuffers()
{
    for (Slot& s : m_slots) {
        delete[] s.cosTable;
        delete[] s.sinTable;
        s.cosTable = nullptr;
        s.sinTable = nullptr;
    }
    m_tableLen = 0;
}

float CSpectrumAnalyzer::NoteMagnitude(float* phaseOut, float freq, const float* x, int start,
                                       int len, int rate, bool storeTables)
{
    const float* in = x + start;
    Slot* slot = nullptr;
    if (m_ref > 0) {
        long long whole = (long long)freq;
        for (Slot& s : m_slots) {
            if ((long long)m_noteFreq[&s - m_slots] == whole) {
                slot = &s;
                break;
            }
        }
    }
    // Tables of another frame length are never reused.
    if (slot && slot->cosTable && m_tableLen != len)
        slot = nullptr;

    float mag;
    double c, s;
    if (slot && slot->cosTable) {
        float fc = 0.0f, fs = 0.0f;
        const float* ct = slot->cosTable;
        const float* st = slot->sinTable;
        for (int j = 0; j < len; ++j) {
            fc += in[j] * ct[j];
            fs += in[j] * st[j];
        }
        c = fc;
        s = fs;
    } else {
        bool store = slot && storeTables;
        if (store) {
            slot->cosTable = new float[len];
            slot->sinTable = new float[len];
            m_tableLen = len;
        }
        double theta = kTwoPi * freq / rate;
        double sh = std::sin(theta / 2.0);
        double a = -2.0 * sh * sh;
        double b = std::sin(theta);
        double cr = 1.0, sr = 0.0;
        c = 0.0;
        s = 0.0;
        for (int j = 0; j < len; ++j) {
            if (store) {
                slot->cosTable[j] = (float)cr;
                slot->sinTable[j] = (float)sr;
            }
            c += in[j] * cr;
            s += in[j] * sr;
            double nc = cr + (a * cr - b * sr);
            double ns = sr + (b * cr + a * sr);
            cr = nc;
            sr = ns;
        }
    }
    mag = (float)std::sqrt(c * c + s * s);
    if (phaseOut)
        *phaseOut = (float)std::atan(s / c);
    return mag;
}

namespace {

// Every stage's twiddles for one length and direction, stage after stage
// (len 2, 4, ..., n; len/2 pairs each), from the same recurrence as ever so
// the sums stay bit for bit. Kept per thread: the tuning estimate takes
// dozens of transforms of one length.
const std::vector<double>& StageTwiddles(unsigned n, int sign)
{
    struct Cache {
        unsigned n = 0;
        int sign = 0;
        std::vector<double> tw;
    };
    thread_local Cache cache[2];
    Cache& c = cache[sign < 0 ? 0 : 1];
    if (c.n == n && c.sign == sign)
        return c.tw;
    c.tw.assign(n >= 2 ? 2 * (size_t)(n - 1) : 0, 0.0);
    double* tw = c.tw.data();
    for (unsigned len = 2; len <= n; len <<= 1) {
        double theta = sign * kTwoPi / len;
        double wpr = -2.0 * std::sin(0.5 * theta) * std::sin(0.5 * theta);
        double wpi = std::sin(theta);
        double wr = 1.0, wi = 0.0;
        unsigned half = len >> 1;
        for (unsigned k = 0; k < half; ++k) {
            tw[2 * k] = wr;
            tw[2 * k + 1] = wi;
            double t = wr;
            wr += t * wpr - wi * wpi;
            wi += wi * wpr + t * wpi;
        }
        tw += 2 * half;
    }
    c.n = n;
    c.sign = sign;
    return c.tw;
}

#ifdef __SSE2__
// One stage's butterflies for half >= 2, two complex values per register:
// the same products and sums as the scalar ones (no fused multiply-add).
__attribute__((target("avx2"))) void StageAvx(double* data, unsigned n, unsigned half, const double* tw)
{
    const unsigned len = half << 1;
    const __m256d flip = _mm256_set_pd(0.0, -0.0, 0.0, -0.0);
    for (unsigned b = 0; b < n; b += len) {
        double* lo = data + 2 * (size_t)b;
        double* hi = lo + 2 * (size_t)half;
        for (unsigned k = 0; k < half; k += 2) {
            const __m256d w = _mm256_loadu_pd(tw + 2 * k); // (wr, wi) of k and k + 1
            const __m256d q = _mm256_loadu_pd(hi + 2 * k);
            const __m256d a = _mm256_mul_pd(q, _mm256_movedup_pd(w));
            const __m256d c = _mm256_mul_pd(_mm256_permute_pd(q, 0x5), _mm256_permute_pd(w, 0xF));
            const __m256d t = _mm256_add_pd(a, _mm256_xor_pd(c, flip)); // (wr qr - wi qi, wr qi + wi qr)
            const __m256d x = _mm256_loadu_pd(lo + 2 * k);
            _mm256_storeu_pd(hi + 2 * k, _mm256_sub_pd(x, t));
            _mm256_storeu_pd(lo + 2 * k, _mm256_add_pd(x, t));
        }
    }
    _mm256_zeroupper();
}
#endif

} // namespace

void CSpectrumAnalyzer::ComplexFft(double* data, unsigned n, int sign)
{
    // Bit reversal.
    for (unsigned i = 1, j = 0; i < n; ++i) {
        unsigned bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j) {
            std::swap(data[2 * i], data[2 * j]);
            std::swap(data[2 * i + 1], data[2 * j + 1]);
        }
    }
    // Danielson-Lanczos butterflies, running through memory in order.
    const double* tw = StageTwiddles(n, sign).data();
#ifdef __SSE2__
    const bool avx = CpuHasAvx2Fma();
#endif
    for (unsigned len = 2; len <= n; len <<= 1) {
        unsigned half = len >> 1;
#ifdef __SSE2__
        if (avx && half >= 2) {
            StageAvx(data, n, half, tw);
            tw += 2 * half;
            continue;
        }
#endif
        for (unsigned b = 0; b < n; b += len) {
            double* lo = data + 2 * (size_t)b;
            double* hi = lo + 2 * (size_t)half;
#ifdef __SSE2__
            // One complex value per register; the products and sums are the
            // scalar ones (no fused multiply-add), so results do not change.
            const __m128d flip = _mm_set_pd(0.0, -0.0);
            for (unsigned k = 0; k < half; ++k) {
                __m128d q = _mm_loadu_pd(hi + 2 * k);
                __m128d a = _mm_mul_pd(q, _mm_set1_pd(tw[2 * k]));
                __m128d c = _mm_mul_pd(_mm_shuffle_pd(q, q, 1), _mm_set1_pd(tw[2 * k + 1]));
                __m128d t = _mm_add_pd(a, _mm_xor_pd(c, flip)); // (wr qr - wi qi, wr qi + wi qr)
                __m128d x = _mm_loadu_pd(lo + 2 * k);
                _mm_storeu_pd(hi + 2 * k, _mm_sub_pd(x, t));
                _mm_storeu_pd(lo + 2 * k, _mm_add_pd(x, t));
            }
#else
            for (unsigned k = 0; k < half; ++k) {
                double twr = tw[2 * k], twi = tw[2 * k + 1];
                double tr = twr * hi[2 * k] - twi * hi[2 * k + 1];
                double ti = twr * hi[2 * k + 1] + twi * hi[2 * k];
                hi[2 * k] = lo[2 * k] - tr;
                hi[2 * k + 1] = lo[2 * k + 1] - ti;
                lo[2 * k] += tr;
                lo[2 * k + 1] += ti;
            }
#endif
        }
        tw += 2 * half;
    }
}

void CSpectrumAnalyzer::MagnitudeSpectrum(double* data, unsigned n, unsigned firstBin, unsigned endBin)
{
    if (n < 2)
        return;
    // The n real inputs sit in data[1..n]; pack them as n/2 complex values.
    unsigned h = n / 2;
    // Scratch kept per thread: a fresh large block per spectrum costs a
    // mapping and its page faults on some heaps.
    thread_local std::vector<double> scratch;
    scratch.assign(data + 1, data + 1 + n);
    double* z = scratch.data();
    ComplexFft(z, h, -1);
    data[0] = z[0] + z[1];
    double nyquist = z[0] - z[1];
    // The split's twiddles, kept per thread for the next spectrum of the
    // same length (the tuning estimate takes dozens).
    thread_local std::vector<double> twiddle;
    if (twiddle.size() != 2 * (size_t)h) {
        twiddle.assign(2 * (size_t)h, 0.0);
        for (unsigned k = 1; k < h; ++k) {
            double ang = -kTwoPi * k / n;
            twiddle[2 * k] = std::cos(ang);
            twiddle[2 * k + 1] = std::sin(ang);
        }
    }
    const unsigned from = firstBin > 1 ? firstBin : 1, to = endBin < h ? endBin : h;
    for (unsigned k = from; k < to; ++k) {
        // Split the half-length transform into the real sequence's bins.
        double ar = z[2 * k], ai = z[2 * k + 1];
        double br = z[2 * (h - k)], bi = -z[2 * (h - k) + 1]; // conj(Z[h-k])
        double er = 0.5 * (ar + br), ei = 0.5 * (ai + bi);
        double orr = 0.5 * (ai - bi), oi = -0.5 * (ar - br); // (Z - conj)/(2i)
        double wr = twiddle[2 * k], wi = twiddle[2 * k + 1];
        double xr = er + (wr * orr - wi * oi);
        double xi = ei + (wr * oi + wi * orr);
        data[k] = std::sqrt(xr * xr + xi * xi);
    }
    data[h] = nyquist;
}
