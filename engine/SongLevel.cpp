#include "SongLevel.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "../shared/FloatMatrix.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace SongLevel {

float Peak(const float* x, int count)
{
    // Magnitudes at or above infinity (and NaN, which compares false) count
    // as silence. Written with SSE2 because the compiler will not vectorise
    // a float maximum without fast-math, and this runs over every sample.
    int i = 0;
    float best = 0.0f;
#if defined(__SSE2__)
    const __m128 absMask = _mm_castsi128_ps(_mm_set1_epi32(0x7fffffff));
    const __m128 infinity = _mm_castsi128_ps(_mm_set1_epi32(0x7f800000));
    __m128 best4 = _mm_setzero_ps();
    for (; i + 4 <= count; i += 4) {
        __m128 a = _mm_and_ps(_mm_loadu_ps(x + i), absMask);
        a = _mm_and_ps(a, _mm_cmplt_ps(a, infinity));
        best4 = _mm_max_ps(best4, a);
    }
    float lanes[4];
    _mm_storeu_ps(lanes, best4);
    for (float v : lanes)
        best = v > best ? v : best;
#endif
    for (; i < count; ++i) {
        const float a = std::fabs(x[i]);
        if (a < std::numeric_limits<float>::infinity() && a > best)
            best = a;
    }
    return best;
}

CMeter::CMeter(int chunk)
    : m_chunk(chunk > 1 ? chunk : 1), m_filled(0), m_current(0.0f), m_peak(0.0f), m_chunks(0)
{
    m_loudest.fill(0.0f);
}

void CMeter::Add(const float* x, long long count)
{
    while (count > 0) {
        const long long take = count < m_chunk - m_filled ? count : m_chunk - m_filled;
        const float p = Peak(x, (int)take);
        if (p > m_current)
            m_current = p;
        m_filled += take;
        x += take;
        count -= take;
        if (m_filled == m_chunk)
            EndChunk();
    }
}

void CMeter::EndChunk()
{
    if (m_current > m_peak)
        m_peak = m_current;
    ++m_chunks;
    if (m_current > m_loudest[0]) {
        int i = 0;
        for (; i + 1 < kLoudest && m_loudest[i + 1] < m_current; ++i)
            m_loudest[i] = m_loudest[i + 1];
        m_loudest[i] = m_current;
    }
    m_filled = 0;
    m_current = 0.0f;
}

float CMeter::Level()
{
    if (m_filled > 0)
        EndChunk();
    // Too short to tell a click from the song.
    if (m_chunks <= kLoudest)
        return m_peak;
    // A moment more than twice (6 dB) as loud as the 16th loudest is a
    // click: the level is the loudest moment that is not.
    const float robust = m_loudest[0];
    int i = kLoudest - 1;
    while (i > 0 && m_loudest[i] > 2.0f * robust)
        --i;
    return m_loudest[i];
}

float GainFor(float level)
{
    const double target = std::pow(10.0, -1.0 / 20.0);
    const double floor = std::pow(10.0, -90.0 / 20.0);
    if (!(level < target) || level < floor)
        return 1.0f;
    return (float)(target / level);
}

int ReferenceRate(int analysedRate)
{
    const int lowest = 22050, highest = 24000;
    return analysedRate < lowest ? lowest : (analysedRate > highest ? highest : analysedRate);
}

float WindowGain(int window)
{
    const int shortest = 7717; // 0.35 s at 22050 Hz
    const int longest = 8400;  // 0.35 s at 24000 Hz
    if (window < 1)
        return 1.0f;
    if (window < shortest)
        return (float)shortest / (float)window;
    if (window > longest)
        return (float)longest / (float)window;
    return 1.0f;
}

bool IsNoise(const CFloatMatrix& S)
{
    // Summed over stretches of 5 s, noise spreads nearly evenly over the
    // semitones of an octave: the strongest lies within 1.8 times the
    // octave's median on pink, white and brown noise at any level. Notes
    // stand out: 3.8 times and far more on every recording measured, a dense
    // mix included. A short last stretch joins the one before it, since a
    // few frames of noise may stand out by chance.
    const double tonal = 2.5;
    const int stretch = 125;
    const int n = S.GetCols();
    const int octaves = S.GetRows() / 12 < 6 ? S.GetRows() / 12 : 6;
    for (int first = 0; first < n; first += stretch) {
        int end = first + stretch;
        if (n - end < stretch)
            end = n;
        for (int o = 0; o < octaves; ++o) {
            double sums[12];
            for (int k = 0; k < 12; ++k) {
                const float* row = S.At(12 * o + k, 0);
                double sum = 0.0;
                for (int c = first; c < end; ++c)
                    sum += row[c];
                sums[k] = sum;
            }
            std::sort(sums, sums + 12);
            const double median = (sums[5] + sums[6]) / 2;
            if (sums[11] > tonal * median)
                return false;
        }
        if (end == n)
            break;
    }
    return true;
}

} // namespace SongLevel
