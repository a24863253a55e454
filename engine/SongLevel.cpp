#include "SongLevel.h"

#include <cmath>
#include <limits>

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

float GainFor(float peak)
{
    const double target = std::pow(10.0, -1.0 / 20.0);
    const double floor = std::pow(10.0, -90.0 / 20.0);
    if (!(peak < target) || peak < floor)
        return 1.0f;
    return (float)(target / peak);
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

} // namespace SongLevel
