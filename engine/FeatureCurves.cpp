#include "FeatureCurves.h"

#include <array>
#include <cmath>
#include <vector>

#include "ChordDecision.h"
#include "StageMath.h"

namespace Stages {

float SafeRatio(float a, float b)
{
    if (b != 0.0f)
        return a / b;
    return a == 0.0f ? 1.0f : INFINITY;
}

int HalfWidth(double seconds, double hop) { return (int)std::floor(seconds / hop / 2); }

void SmoothRows(const CFloatMatrix& in, CFloatMatrix& out, int firstRow, int rowCount, int h)
{
    const int n = in.GetCols();
    for (int r = firstRow; r < firstRow + rowCount; ++r) {
        const float* src = in.At(r, 0);
        float* dst = out.At(r, 0);
        for (int s = 0; s < n; ++s) {
            double sum = 0.0;
            int taken = 0;
            for (int k = -h; k <= h; ++k) {
                int f = s + k;
                if (f >= 1 && f < n) {
                    sum += src[f];
                    ++taken;
                }
            }
            dst[s] = taken > 0 ? (float)(sum / taken) : 0.0f;
        }
    }
}

// Copies the rows that a smoothing leaves alone and smooths rows 0-11.
static void SmoothPitchRows(const CFloatMatrix& in, CFloatMatrix& out, double seconds, double hop)
{
    out = in;
    SmoothRows(in, out, 0, 12, HalfWidth(seconds, hop));
}

void SmoothChordChroma(CFloatMatrix& result, CFloatMatrix& chroma, int rate, double hop)
{
    (void)rate;
    CFloatMatrix wide, narrow;
    SmoothPitchRows(chroma, wide, 0.33, hop);
    SmoothPitchRows(chroma, narrow, 0.21, hop);
    chroma = wide;
    ComputeChordness(result, narrow, hop);
}

void ComputeChordness(CFloatMatrix& result, const CFloatMatrix& chroma, double hop)
{
    const int n = chroma.GetCols();
    CFloatMatrix scores;
    scores.Create(24, n, 0.0f);
    for (int s = 0; s < n; ++s) {
        float p[12];
        for (int k = 0; k < 12; ++k)
            p[k] = El(chroma, k, s);
        std::array<float, 24> sc = ScoreTriads(p, 1.2, false);
        for (int i = 0; i < 24; ++i)
            El(scores, i, s) = sc[i];
    }
    CFloatMatrix smoothed(scores);
    SmoothRows(scores, smoothed, 0, 24, HalfWidth(0.09, hop));

    CFloatMatrix curve;
    curve.Create(2, n, 0.0f);
    for (int s = 0; s < n; ++s) {
        float best = 0.0f;
        for (int i = 0; i < 24; ++i)
            if (El(smoothed, i, s) > best)
                best = El(smoothed, i, s);
        El(curve, 0, s) = best;
        El(curve, 1, s) = El(chroma, 12, s);
    }
    result = curve;
    SmoothRows(curve, result, 0, 1, HalfWidth(0.25, hop));
}

void SmoothToneChroma(CFloatMatrix& result, CFloatMatrix& chroma, double hop)
{
    CFloatMatrix smoothed;
    SmoothPitchRows(chroma, smoothed, 0.09, hop);
    chroma = smoothed;
    ChromaVariance(result, chroma);
}

void ChromaVariance(CFloatMatrix& result, const CFloatMatrix& chroma)
{
    const int n = chroma.GetCols();
    result.Create(2, n, 0.0f);
    for (int s = 0; s < n; ++s) {
        double sum = 0.0, squares = 0.0;
        for (int k = 0; k < 12; ++k) {
            double v = El(chroma, k, s);
            sum += v;
            squares += v * v;
        }
        El(result, 0, s) = (float)((squares - sum * sum / 12) / 11);
        El(result, 1, s) = El(chroma, 12, s);
    }
}

void SmoothBassChroma(CFloatMatrix& result, CFloatMatrix& bassChroma, double hop)
{
    const int n = bassChroma.GetCols();
    CFloatMatrix narrow, wide;
    SmoothPitchRows(bassChroma, narrow, 0.08, hop);
    SmoothPitchRows(bassChroma, wide, 0.2, hop);
    bassChroma = wide;

    CFloatMatrix curve;
    curve.Create(2, n, 0.0f);
    for (int s = 0; s < n; ++s) {
        // First pick of the per-frame ranking: strictly greater, lowest index wins.
        float best = -100000.0f;
        for (int k = 0; k < 12; ++k)
            if (El(narrow, k, s) > best)
                best = El(narrow, k, s);
        El(curve, 0, s) = best;
        El(curve, 1, s) = El(narrow, 12, s);
    }
    result = curve;
    SmoothRows(curve, result, 0, 1, HalfWidth(0.121, hop));
}

// A local maximum of row `row` at frame i (1 to n-2). Frame 0 enters no
// average, so the smoothed curve there only echoes the first frames: a song
// that sounds from its first sample makes the curve fall from frame 1 on,
// and that start is the peak of its first stretch. Silence does not fall.
static bool IsPeak(const CFloatMatrix& m, int row, int i)
{
    const float v = El(m, row, i), next = El(m, row, i + 1);
    return (v > El(m, row, i - 1) && v >= next) || (i == 1 && v > next);
}

int FindPeaksAndValleys(CFloatMatrix& result, const CFloatMatrix& curve)
{
    const int n = curve.GetCols();
    std::vector<int> at;
    std::vector<float> kind;
    for (int i = 1; i + 1 < n; ++i) {
        float v = El(curve, 0, i), prev = El(curve, 0, i - 1), next = El(curve, 0, i + 1);
        if (IsPeak(curve, 0, i)) {
            at.push_back(i);
            kind.push_back(1.0f);
        } else if (v < prev && v <= next) {
            at.push_back(i);
            kind.push_back(0.0f);
        }
    }
    if (at.empty()) {
        result.Create(3, 1, -1.0f);
        return 0;
    }
    const int count = (int)at.size();
    result.Create(3, count, 0.0f);
    for (int c = 0; c < count; ++c) {
        El(result, 0, c) = El(curve, 0, at[c]);
        El(result, 1, c) = El(curve, 1, at[c]);
        El(result, 2, c) = kind[c];
    }
    return count;
}

int FindPeakColumns(CFloatMatrix& result, const CFloatMatrix& m, int row)
{
    const int n = m.GetCols(), rows = m.GetRows();
    std::vector<int> at;
    for (int i = 1; i + 1 < n; ++i)
        if (IsPeak(m, row, i))
            at.push_back(i);
    if (at.empty()) {
        result.Create(rows, 1, -1.0f);
        return 0;
    }
    const int count = (int)at.size();
    result.Create(rows, count, 0.0f);
    for (int c = 0; c < count; ++c)
        for (int r = 0; r < rows; ++r)
            El(result, r, c) = El(m, r, at[c]);
    return count;
}

} // namespace Stages
