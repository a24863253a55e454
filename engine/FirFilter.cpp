#include "FirFilter.h"

#include <emmintrin.h>
#include <immintrin.h>

#include "CpuFeatures.h"

namespace {

// Outputs [from, to) one at a time, the straightforward way.
void FilterScalar(const float* block, float* out, int from, int to, const float* taps, int n)
{
    const int half = n / 2;
    for (int i = from; i < to; ++i) {
        const float* x = block + (i - half);
        float acc = 0.0f;
        for (int j = 0; j < n; ++j)
            acc += taps[j] * x[j];
        out[i] = acc;
    }
}

// Sixteen outputs per pass; returns the first output not done.
int FilterSse2(const float* block, float* out, int from, int to, const float* taps, int n)
{
    const int half = n / 2;
    int i = from;
    for (; i + 16 <= to; i += 16) {
        const float* x = block + (i - half);
        __m128 a0 = _mm_setzero_ps(), a1 = _mm_setzero_ps(), a2 = _mm_setzero_ps(), a3 = _mm_setzero_ps();
        for (int j = 0; j < n; ++j) {
            const __m128 t = _mm_set1_ps(taps[j]);
            a0 = _mm_add_ps(a0, _mm_mul_ps(t, _mm_loadu_ps(x + j)));
            a1 = _mm_add_ps(a1, _mm_mul_ps(t, _mm_loadu_ps(x + j + 4)));
            a2 = _mm_add_ps(a2, _mm_mul_ps(t, _mm_loadu_ps(x + j + 8)));
            a3 = _mm_add_ps(a3, _mm_mul_ps(t, _mm_loadu_ps(x + j + 12)));
        }
        _mm_storeu_ps(out + i, a0);
        _mm_storeu_ps(out + i + 4, a1);
        _mm_storeu_ps(out + i + 8, a2);
        _mm_storeu_ps(out + i + 12, a3);
    }
    return i;
}

__attribute__((target("avx2,fma"))) int FilterAvx2(const float* block, float* out, int from, int to,
                                                   const float* taps, int n)
{
    // 64 outputs per pass: eight accumulators share each broadcast tap.
    const int half = n / 2;
    int i = from;
    for (; i + 64 <= to; i += 64) {
        const float* x = block + (i - half);
        __m256 a[8];
        for (int q = 0; q < 8; ++q)
            a[q] = _mm256_setzero_ps();
        for (int j = 0; j < n; ++j) {
            const __m256 t = _mm256_broadcast_ss(taps + j);
            for (int q = 0; q < 8; ++q)
                a[q] = _mm256_fmadd_ps(t, _mm256_loadu_ps(x + j + 8 * q), a[q]);
        }
        for (int q = 0; q < 8; ++q)
            _mm256_storeu_ps(out + i + 8 * q, a[q]);
    }
    _mm256_zeroupper();
    return i;
}

} // namespace

void FirFilterBlock(const float* block, float* out, int len, const float* taps, int n)
{
    const int half = n / 2;
    for (int i = 0; i < half && i < len; ++i)
        out[i] = 0.0f;
    const int from = half, to = len - half; // outputs [from, to) are filtered
    if (to > from) {
        int i = CpuHasAvx2Fma() ? FilterAvx2(block, out, from, to, taps, n) : from;
        i = FilterSse2(block, out, i, to, taps, n);
        FilterScalar(block, out, i, to, taps, n);
    }
    for (int i = len - half; i < len; ++i)
        if (i >= 0)
            out[i] = block[i];
}
