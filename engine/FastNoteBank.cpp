#include "FastNoteBank.h"

#include <emmintrin.h>
#include <immintrin.h>

#include <cmath>

#include "CpuFeatures.h"

namespace {
const double kTwoPi = 6.28318530717958;
// Table samples per cache block: 24 tables of it stay in the first-level cache.
const int kChunk = 256;
const int kLanes = 8;
const int kTables = 24;

// Frames are taken four at a time (AVX2) or two at a time (SSE2); the short
// last group repeats its last frame.
inline const float* FramePtr(const float* x, const int* starts, int frames, int i)
{
    return x + starts[i < frames ? i : frames - 1];
}

// One chunk [j0, j1) for frames [f0, f0 + 2): 2 frames x 3 tables per pass,
// four lanes each (eight xmm registers on 32-bit targets).
void ChunkSse2(const float* x, const int* starts, int frames, const float* tables, int padded,
               float* partial, int j0, int j1)
{
    for (int f0 = 0; f0 < frames; f0 += 2) {
        const float* p0 = FramePtr(x, starts, frames, f0);
        const float* p1 = FramePtr(x, starts, frames, f0 + 1);
        for (int t0 = 0; t0 < kTables; t0 += 3) {
            const float* c0 = tables + (size_t)t0 * padded;
            const float* c1 = c0 + padded;
            const float* c2 = c1 + padded;
            float* q0 = partial + ((size_t)f0 * kTables + t0) * kLanes;
            float* q1 = q0 + kTables * kLanes;
            __m128 a00 = _mm_loadu_ps(q0), a01 = _mm_loadu_ps(q0 + 8), a02 = _mm_loadu_ps(q0 + 16);
            __m128 a10 = _mm_loadu_ps(q1), a11 = _mm_loadu_ps(q1 + 8), a12 = _mm_loadu_ps(q1 + 16);
            for (int j = j0; j < j1; j += 4) {
                const __m128 x0 = _mm_loadu_ps(p0 + j);
                const __m128 x1 = _mm_loadu_ps(p1 + j);
                __m128 t = _mm_load_ps(c0 + j);
                a00 = _mm_add_ps(a00, _mm_mul_ps(x0, t));
                a10 = _mm_add_ps(a10, _mm_mul_ps(x1, t));
                t = _mm_load_ps(c1 + j);
                a01 = _mm_add_ps(a01, _mm_mul_ps(x0, t));
                a11 = _mm_add_ps(a11, _mm_mul_ps(x1, t));
                t = _mm_load_ps(c2 + j);
                a02 = _mm_add_ps(a02, _mm_mul_ps(x0, t));
                a12 = _mm_add_ps(a12, _mm_mul_ps(x1, t));
            }
            _mm_storeu_ps(q0, a00);
            _mm_storeu_ps(q0 + 8, a01);
            _mm_storeu_ps(q0 + 16, a02);
            if (f0 + 1 < frames) {
                _mm_storeu_ps(q1, a10);
                _mm_storeu_ps(q1 + 8, a11);
                _mm_storeu_ps(q1 + 16, a12);
            }
        }
    }
}

// Same for AVX2 with FMA: 4 frames x 3 tables per pass, eight lanes each.
__attribute__((target("avx2,fma"))) void ChunkAvx2(const float* x, const int* starts, int frames,
                                                   const float* tables, int padded, float* partial,
                                                   int j0, int j1)
{
    for (int f0 = 0; f0 < frames; f0 += 4) {
        const float* p0 = FramePtr(x, starts, frames, f0);
        const float* p1 = FramePtr(x, starts, frames, f0 + 1);
        const float* p2 = FramePtr(x, starts, frames, f0 + 2);
        const float* p3 = FramePtr(x, starts, frames, f0 + 3);
        for (int t0 = 0; t0 < kTables; t0 += 3) {
            const float* c0 = tables + (size_t)t0 * padded;
            const float* c1 = c0 + padded;
            const float* c2 = c1 + padded;
            float* q[4];
            for (int r = 0; r < 4; ++r)
                q[r] = partial + ((size_t)(f0 + r) * kTables + t0) * kLanes;
            __m256 a[4][3];
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 3; ++c)
                    a[r][c] = _mm256_loadu_ps(q[r] + 8 * c);
            for (int j = j0; j < j1; j += 8) {
                const __m256 t0v = _mm256_load_ps(c0 + j);
                const __m256 t1v = _mm256_load_ps(c1 + j);
                const __m256 t2v = _mm256_load_ps(c2 + j);
                __m256 xv = _mm256_loadu_ps(p0 + j);
                a[0][0] = _mm256_fmadd_ps(xv, t0v, a[0][0]);
                a[0][1] = _mm256_fmadd_ps(xv, t1v, a[0][1]);
                a[0][2] = _mm256_fmadd_ps(xv, t2v, a[0][2]);
                xv = _mm256_loadu_ps(p1 + j);
                a[1][0] = _mm256_fmadd_ps(xv, t0v, a[1][0]);
                a[1][1] = _mm256_fmadd_ps(xv, t1v, a[1][1]);
                a[1][2] = _mm256_fmadd_ps(xv, t2v, a[1][2]);
                xv = _mm256_loadu_ps(p2 + j);
                a[2][0] = _mm256_fmadd_ps(xv, t0v, a[2][0]);
                a[2][1] = _mm256_fmadd_ps(xv, t1v, a[2][1]);
                a[2][2] = _mm256_fmadd_ps(xv, t2v, a[2][2]);
                xv = _mm256_loadu_ps(p3 + j);
                a[3][0] = _mm256_fmadd_ps(xv, t0v, a[3][0]);
                a[3][1] = _mm256_fmadd_ps(xv, t1v, a[3][1]);
                a[3][2] = _mm256_fmadd_ps(xv, t2v, a[3][2]);
            }
            for (int r = 0; r < 4 && f0 + r < frames; ++r)
                for (int c = 0; c < 3; ++c)
                    _mm256_storeu_ps(q[r] + 8 * c, a[r][c]);
        }
    }
    _mm256_zeroupper();
}
} // namespace

void CFastNoteBank::Prepare(const float freqs[12], const float* window, int len, int rate)
{
    m_len = len;
    m_padded = (len + kChunk - 1) / kChunk * kChunk;
    // One spare row so the first table row can be aligned to 32 bytes.
    m_tables.assign((size_t)(kTables + 1) * m_padded, 0.0f);
    for (int k = 0; k < 12; ++k) {
        float* ct = Table(2 * k);
        float* st = Table(2 * k + 1);
        const double theta = kTwoPi * freqs[k] / rate;
        const double sh = std::sin(theta / 2.0);
        const double a = -2.0 * sh * sh;
        const double b = std::sin(theta);
        double cr = 1.0, sr = 0.0;
        for (int j = 0; j < len; ++j) {
            ct[j] = (float)cr * window[j];
            st[j] = (float)sr * window[j];
            const double nc = cr + (a * cr - b * sr);
            const double ns = sr + (b * cr + a * sr);
            cr = nc;
            sr = ns;
        }
    }
}

float* CFastNoteBank::Table(int t)
{
    // 32-byte alignment for the aligned table loads.
    float* base = m_tables.data();
    size_t mis = ((size_t)base / sizeof(float)) % kLanes;
    if (mis)
        base += kLanes - mis;
    return base + (size_t)t * m_padded;
}

void CFastNoteBank::Compute(const float* x, const int* starts, int frames, float* mags)
{
    if (frames <= 0)
        return;
    m_partial.assign((size_t)(frames + 4) * kTables * kLanes, 0.0f);
    const float* tables = Table(0);
    const bool avx = CpuHasAvx2Fma();
    for (int j0 = 0; j0 < m_padded; j0 += kChunk) {
        if (avx)
            ChunkAvx2(x, starts, frames, tables, m_padded, m_partial.data(), j0, j0 + kChunk);
        else
            ChunkSse2(x, starts, frames, tables, m_padded, m_partial.data(), j0, j0 + kChunk);
    }
    for (int i = 0; i < frames; ++i) {
        for (int k = 0; k < 12; ++k) {
            const float* pc = &m_partial[((size_t)i * kTables + 2 * k) * kLanes];
            const float* ps = pc + kLanes;
            double c = 0.0, s = 0.0;
            for (int l = 0; l < kLanes; ++l) {
                c += pc[l];
                s += ps[l];
            }
            // The float sums, as the analyser's cached-table path keeps them.
            c = (float)c;
            s = (float)s;
            mags[12 * i + k] = (float)std::sqrt(c * c + s * s);
        }
    }
}
