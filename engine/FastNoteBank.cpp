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
const int kExps = 36;
const int kTables = 2 * kExps; // cosine and sine rows of each exponential

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
            __m128 a00 = _mm_setzero_ps(), a01 = a00, a02 = a00, a10 = a00, a11 = a00, a12 = a00;
            if (j0 > 0) {
                a00 = _mm_loadu_ps(q0), a01 = _mm_loadu_ps(q0 + 8), a02 = _mm_loadu_ps(q0 + 16);
                if (f0 + 1 < frames)
                    a10 = _mm_loadu_ps(q1), a11 = _mm_loadu_ps(q1 + 8), a12 = _mm_loadu_ps(q1 + 16);
            }
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
                    a[r][c] = j0 > 0 && f0 + r < frames ? _mm256_loadu_ps(q[r] + 8 * c) : _mm256_setzero_ps();
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
// out[i] = the lanes of partial[i] added in order in double, eight sums at
// a time: an 8 x 8 transpose puts lane l of eight sums in one register.
// Returns the number of sums done.
__attribute__((target("avx2,fma"))) size_t LaneSumsAvx2(const float* partial, size_t count, double* out)
{
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const float* p = partial + i * kLanes;
        __m256 r[8];
        for (int k = 0; k < 8; ++k)
            r[k] = _mm256_loadu_ps(p + 8 * k);
        const __m256 t0 = _mm256_unpacklo_ps(r[0], r[1]), t1 = _mm256_unpackhi_ps(r[0], r[1]);
        const __m256 t2 = _mm256_unpacklo_ps(r[2], r[3]), t3 = _mm256_unpackhi_ps(r[2], r[3]);
        const __m256 t4 = _mm256_unpacklo_ps(r[4], r[5]), t5 = _mm256_unpackhi_ps(r[4], r[5]);
        const __m256 t6 = _mm256_unpacklo_ps(r[6], r[7]), t7 = _mm256_unpackhi_ps(r[6], r[7]);
        const __m256 u0 = _mm256_shuffle_ps(t0, t2, 0x44), u1 = _mm256_shuffle_ps(t0, t2, 0xEE);
        const __m256 u2 = _mm256_shuffle_ps(t1, t3, 0x44), u3 = _mm256_shuffle_ps(t1, t3, 0xEE);
        const __m256 u4 = _mm256_shuffle_ps(t4, t6, 0x44), u5 = _mm256_shuffle_ps(t4, t6, 0xEE);
        const __m256 u6 = _mm256_shuffle_ps(t5, t7, 0x44), u7 = _mm256_shuffle_ps(t5, t7, 0xEE);
        // lane[l] holds lane l of sums i .. i + 7.
        const __m256 lane[8] = {
            _mm256_permute2f128_ps(u0, u4, 0x20), _mm256_permute2f128_ps(u1, u5, 0x20),
            _mm256_permute2f128_ps(u2, u6, 0x20), _mm256_permute2f128_ps(u3, u7, 0x20),
            _mm256_permute2f128_ps(u0, u4, 0x31), _mm256_permute2f128_ps(u1, u5, 0x31),
            _mm256_permute2f128_ps(u2, u6, 0x31), _mm256_permute2f128_ps(u3, u7, 0x31)};
        __m256d lo = _mm256_setzero_pd(), hi = _mm256_setzero_pd();
        for (int l = 0; l < kLanes; ++l) {
            lo = _mm256_add_pd(lo, _mm256_cvtps_pd(_mm256_castps256_ps128(lane[l])));
            hi = _mm256_add_pd(hi, _mm256_cvtps_pd(_mm256_extractf128_ps(lane[l], 1)));
        }
        _mm256_storeu_pd(out + i, lo);
        _mm256_storeu_pd(out + i + 4, hi);
    }
    _mm256_zeroupper();
    return i;
}
} // namespace

float* CFastNoteBank::Tables::Row(int t)
{
    // 32-byte alignment for the aligned table loads.
    float* base = data.data();
    size_t mis = ((size_t)base / sizeof(float)) % kLanes;
    if (mis)
        base += kLanes - mis;
    return base + (size_t)t * padded;
}

namespace {
// Exponential e of note k: the note, then one window frequency above and below.
const double kHannWeight[3] = {0.5, -0.25, -0.25};
const int kHannShift[3] = {0, 1, -1};
} // namespace

void CFastNoteBank::Prepare(const float freqs[12], int len, int hop, int rate)
{
    m_len = len;
    m_hop = hop;
    m_whole = hop > 0 ? len / hop : 0;
    m_rest = hop > 0 ? len % hop : 0;
    double alpha[kExps];
    for (int k = 0; k < 12; ++k)
        for (int e = 0; e < 3; ++e)
            alpha[3 * k + e] = kTwoPi * freqs[k] / rate + kHannShift[e] * kTwoPi / len;
    // Segment sums with their phase origin at the segment's first sample.
    auto fill = [&](Tables& tab, int from, int n) {
        tab.len = n;
        // Rows padded to whole lanes only: the last chunk is shorter.
        tab.padded = (n + kLanes - 1) / kLanes * kLanes;
        tab.data.assign((size_t)(kTables + 1) * tab.padded, 0.0f);
        for (int a = 0; a < kExps; ++a) {
            float* ct = tab.Row(2 * a);
            float* st = tab.Row(2 * a + 1);
            // A rotation in double: drifts far below float rounding over a hop.
            double cr = std::cos(alpha[a] * from), sr = std::sin(alpha[a] * from);
            const double sc = std::cos(alpha[a]), ss = std::sin(alpha[a]);
            for (int j = 0; j < n; ++j) {
                ct[j] = (float)cr;
                st[j] = (float)sr;
                const double nc = cr * sc - sr * ss;
                sr = sr * sc + cr * ss;
                cr = nc;
            }
        }
    };
    fill(m_head, 0, m_rest);
    fill(m_tail, m_rest, hop - m_rest);
    m_rotRe.assign((size_t)kExps * (m_whole + 1), 0.0);
    m_rotIm.assign((size_t)kExps * (m_whole + 1), 0.0);
    for (int a = 0; a < kExps; ++a)
        for (int q = 0; q <= m_whole; ++q) {
            m_rotRe[(size_t)q * kExps + a] = std::cos(alpha[a] * q * hop);
            m_rotIm[(size_t)q * kExps + a] = std::sin(alpha[a] * q * hop);
        }
}

void CFastNoteBank::Sums(Tables& tab, const float* x, const std::vector<int>& starts, std::vector<float>& partial,
                         std::vector<double>& out)
{
    const int n = (int)starts.size();
    if (tab.len == 0 || n == 0) {
        out.assign((size_t)n * kTables, 0.0);
        return;
    }
    out.resize((size_t)n * kTables);
    // The first chunk starts the sums: no clearing needed.
    partial.resize((size_t)(n + 4) * kTables * kLanes);
    const float* tables = tab.Row(0);
    const bool avx = CpuHasAvx2Fma();
    for (int j0 = 0; j0 < tab.padded; j0 += kChunk) {
        const int j1 = j0 + kChunk < tab.padded ? j0 + kChunk : tab.padded;
        if (avx)
            ChunkAvx2(x, starts.data(), n, tables, tab.padded, partial.data(), j0, j1);
        else
            ChunkSse2(x, starts.data(), n, tables, tab.padded, partial.data(), j0, j1);
    }
    const size_t count = (size_t)n * kTables;
    for (size_t i = avx ? LaneSumsAvx2(partial.data(), count, out.data()) : 0; i < count; ++i) {
        const float* p = &partial[i * kLanes];
        double sum = 0.0;
        for (int l = 0; l < kLanes; ++l)
            sum += p[l];
        out[i] = sum;
    }
}

void CFastNoteBank::Compute(const float* x, int first, int frames, Scratch& scratch, float* mags)
{
    if (frames <= 0 || m_hop <= 0)
        return;
    // Segment m starts at first + m x hop; frame i spans segments i to
    // i + whole - 1 and the head of segment i + whole.
    const int segments = frames + m_whole;
    std::vector<int>& starts = scratch.starts;
    starts.resize(segments);
    for (int m = 0; m < segments; ++m)
        starts[m] = first + m * m_hop;
    Sums(m_head, x, starts, scratch.partial, scratch.head);
    for (int m = 0; m < segments; ++m)
        starts[m] += m_rest;
    Sums(m_tail, x, starts, scratch.partial, scratch.tail);
    const std::vector<double>& headSum = scratch.head;
    const std::vector<double>& tailSum = scratch.tail;

    // Each segment's sums, cosine and sine rows apart: the head alone (a
    // frame's last segment) and head plus tail (its whole segments), added
    // once per segment for all frames that share it.
    const int W = m_whole;
    const size_t cells = (size_t)segments * kExps;
    scratch.headRe.resize(cells);
    scratch.headIm.resize(cells);
    scratch.wholeRe.resize(cells);
    scratch.wholeIm.resize(cells);
    for (size_t m = 0; m < (size_t)segments; ++m)
        for (int a = 0; a < kExps; ++a) {
            const size_t from = m * kTables + 2 * a, to = m * kExps + a;
            scratch.headRe[to] = headSum[from];
            scratch.headIm[to] = headSum[from + 1];
            scratch.wholeRe[to] = headSum[from] + tailSum[from];
            scratch.wholeIm[to] = headSum[from + 1] + tailSum[from + 1];
        }

    // The exponentials side by side, each with its own running sum: the
    // loops over them vectorise, and every sum takes its terms in order.
    for (int i = 0; i < frames; ++i) {
        double dr[kExps] = {}, di[kExps] = {};
        for (int q = 0; q <= W; ++q) {
            const size_t m = (size_t)(i + q) * kExps;
            const double* gr = (q < W ? scratch.wholeRe.data() : scratch.headRe.data()) + m;
            const double* gi = (q < W ? scratch.wholeIm.data() : scratch.headIm.data()) + m;
            const double* cr = &m_rotRe[(size_t)q * kExps];
            const double* ci = &m_rotIm[(size_t)q * kExps];
            for (int a = 0; a < kExps; ++a) {
                dr[a] += cr[a] * gr[a] - ci[a] * gi[a];
                di[a] += cr[a] * gi[a] + ci[a] * gr[a];
            }
        }
        for (int k = 0; k < 12; ++k) {
            double re = 0.0, im = 0.0;
            for (int e = 0; e < 3; ++e) {
                re += kHannWeight[e] * dr[3 * k + e];
                im += kHannWeight[e] * di[3 * k + e];
            }
            mags[12 * i + k] = (float)std::sqrt(re * re + im * im);
        }
    }
}
