#include "PitchSets.h"

#include <cmath>

#include "StageMath.h"

namespace Stages {

std::array<float, 12> TopPitchClasses(float values[12])
{
    std::array<float, 12> out{};
    for (int pass = 0; pass < 6; ++pass) {
        float best = pass == 0 ? -100000.0f : -1000000.0f;
        int at = 0;
        for (int k = 0; k < 12; ++k)
            if (values[k] > best) {
                best = values[k];
                at = k;
            }
        out[2 * pass] = (float)at;
        out[2 * pass + 1] = best;
        if (pass < 5)
            values[at] = 0.0f;
    }
    return out;
}

static std::array<float, 12> RankFrame(const CFloatMatrix& m, int col)
{
    float v[12];
    for (int k = 0; k < 12; ++k)
        v[k] = El(m, k, col);
    return TopPitchClasses(v);
}

void TopSixPerFrame(CFloatMatrix& result, const CFloatMatrix& chroma)
{
    const int n = chroma.GetCols();
    result.Create(13, n, 0.0f);
    for (int s = 0; s < n; ++s) {
        std::array<float, 12> rank = RankFrame(chroma, s);
        for (int r = 0; r < 12; ++r)
            El(result, r, s) = rank[r];
        El(result, 12, s) = El(chroma, 12, s);
    }
}

void TopThreeBassPerFrame(CFloatMatrix& result, const CFloatMatrix& bassChroma, bool eightRows)
{
    const int n = bassChroma.GetCols();
    const bool extra = eightRows && bassChroma.GetRows() > 13;
    result.Create(extra ? 8 : 7, n, 0.0f);
    for (int s = 0; s < n; ++s) {
        std::array<float, 12> rank = RankFrame(bassChroma, s);
        for (int r = 0; r < 6; ++r)
            El(result, r, s) = rank[r];
        El(result, 6, s) = El(bassChroma, 12, s);
        if (extra)
            El(result, 7, s) = El(bassChroma, 13, s);
    }
}

void SelectTones(const CFloatMatrix& peaks, int peakCount, const CFloatMatrix& topSix,
                 CFloatMatrix& candidates, CFloatMatrix& strongest)
{
    const int cols = peakCount > 0 ? peakCount : 1;
    candidates.Create(6, cols, 12.0f);
    if (peakCount == 0) {
        El(candidates, 5, 0) = El(peaks, 1, 0);
        strongest.Create(1, 1, 0.0f);
        return;
    }
    strongest.Create(2, cols, 0.0f);
    const int frames = topSix.GetCols();
    int a = 0;
    for (int x = 0; x < peakCount; ++x) {
        const float time = El(peaks, 1, x);
        // The peaks come from the same frames in time order: the scan goes on
        // from the previous peak's frame.
        while (a < frames - 1 && !(std::fabs(El(topSix, 12, a) - time) < 0.0001))
            ++a;
        El(strongest, 0, x) = El(topSix, 0, a);
        El(strongest, 1, x) = El(topSix, 1, a);
        const float threshold = 2 * El(topSix, 11, a);
        for (int r = 0; r < 5; ++r)
            if (El(topSix, 2 * r + 1, a) > threshold)
                El(candidates, r, x) = El(topSix, 2 * r, a);
        El(candidates, 5, x) = time;
    }
}

float OutputPitch(float x) { return (float)(((int)x + 5) % 12); }

void BuildToneMatrix(CFloatMatrix& result, const CFloatMatrix& candidates)
{
    const int n = candidates.GetCols();
    result.Create(7, n, -1.0f);
    for (int c = 0; c < n; ++c) {
        for (int r = 0; r < 5; ++r) {
            float p = El(candidates, r, c);
            if (p < 12)
                El(result, r, c) = OutputPitch(p);
        }
        El(result, 5, c) = 12.0f;
        El(result, 6, c) = El(candidates, 5, c);
    }
}

void BuildBassToneMatrix(CFloatMatrix& result, const CFloatMatrix& bassPeaks)
{
    const int n = bassPeaks.GetCols();
    if (n == 0) {
        result.Create(3, 1, -1.0f);
        return;
    }
    result.Create(3, n, -1.0f);
    for (int c = 0; c < n; ++c) {
        float first = El(bassPeaks, 0, c), second = El(bassPeaks, 2, c);
        // A peak without a ranked frame keeps its -1 placeholders.
        if (first < 12 && first >= 0)
            El(result, 0, c) = OutputPitch(first);
        if (second < 12 && second >= 0)
            El(result, 1, c) = OutputPitch(second);
        El(result, 2, c) = El(bassPeaks, 6, c);
    }
}

void ConvertResultPitches(CFloatMatrix& chord, CFloatMatrix& bass)
{
    static const int chordRows[] = {0, 3, 8};
    static const int bassRows[] = {0, 2};
    for (int c = 0; c < chord.GetCols(); ++c)
        for (int r : chordRows)
            if (r < chord.GetRows() && El(chord, r, c) >= 0)
                El(chord, r, c) = OutputPitch(El(chord, r, c));
    for (int c = 0; c < bass.GetCols(); ++c)
        for (int r : bassRows)
            if (r < bass.GetRows() && El(bass, r, c) >= 0)
                El(bass, r, c) = OutputPitch(El(bass, r, c));
}

} // namespace Stages
