#include "BassNotes.h"

#include <vector>

#include "ChordDecision.h"
#include "PitchSets.h"
#include "StageMath.h"

namespace Stages {

void BuildBassPeaks(CFloatMatrix& bass, const CFloatMatrix& peaks, int peakCount,
                    const CFloatMatrix& octaves, const CFloatMatrix& topThree)
{
    const int n = peaks.GetCols();
    bass.Create(8, n, -1.0f);
    if (peakCount == 0)
        return;
    for (int i = 0; i < n; ++i) {
        const float time = El(peaks, 1, i);
        El(bass, 6, i) = time;
        for (int a = 0; a < octaves.GetCols(); ++a)
            if (El(octaves, 1, a) == time) {
                El(bass, 7, i) = El(octaves, 0, a);
                break;
            }
        for (int a = 0; a + 1 < topThree.GetCols(); ++a)
            if (El(topThree, 6, a) == time) {
                for (int r = 0; r < 6; ++r)
                    El(bass, r, i) = El(topThree, r, a);
                break;
            }
    }
}

void FilterBassByStrength(CFloatMatrix& bass)
{
    const int n = bass.GetCols();
    if (n == 0)
        return;
    float sum = 0.0f;
    for (int i = 0; i < n; ++i)
        sum += El(bass, 1, i);
    const float mean = sum / n;
    const int threshold = TruncToInt(0.3 * mean);
    std::vector<int> keep;
    for (int i = 0; i < n; ++i)
        if (El(bass, 1, i) > threshold)
            keep.push_back(i);
    CFloatMatrix kept;
    kept.Create(bass.GetRows(), (int)keep.size(), 0.0f);
    for (int c = 0; c < (int)keep.size(); ++c)
        for (int r = 0; r < bass.GetRows(); ++r)
            El(kept, r, c) = El(bass, r, keep[c]);
    bass = kept;
}

void RefineBassNotes(CFloatMatrix& bass, const CFloatMatrix& bassChroma, const CFloatMatrix& octaves,
                     const CFloatMatrix& keyTones, const CFloatMatrix& topThree)
{
    (void)octaves;
    const int frames = topThree.GetCols();
    double level = 0.0;
    for (int f = 0; f < frames; ++f)
        level += El(topThree, 1, f);
    if (frames > 0)
        level /= frames;

    std::vector<int> keep;
    std::vector<float> confidence;
    for (int r = 0; r < bass.GetCols(); ++r) {
        const float time = El(bass, 6, r);
        int f = -1;
        for (int c = 0; c < bassChroma.GetCols(); ++c)
            if (El(bassChroma, 12, c) == time) {
                f = c;
                break;
            }
        if (f < 0)
            continue;
        float v[12];
        for (int k = 0; k < 12; ++k)
            v[k] = El(bassChroma, k, f);
        std::array<float, 12> rank = TopPitchClasses(v);
        const int p1 = (int)rank[0], p2 = (int)rank[2];
        const float e1 = rank[1], e6 = rank[11];
        const float ratio = e6 == 0.0f ? 10.0f : e1 / e6;
        const bool clash = (p1 - p2 == 1 || p2 - p1 == 1) && e1 < 100;
        double threshold = level < 130 ? level : 130;
        if (!IsAmongStrongest(p1, keyTones))
            threshold *= 1.3;
        if (threshold < 40)
            threshold = 40;
        if (ratio > 2 && e1 > threshold && El(bass, 7, r) >= 0 && !clash) {
            keep.push_back(r);
            confidence.push_back(ratio > 3 ? 1.0f : 0.8f);
        }
    }

    CFloatMatrix notes;
    if (keep.empty()) {
        notes.Create(7, 1, -1.0f);
    } else {
        notes.Create(7, (int)keep.size(), 0.0f);
        for (int c = 0; c < (int)keep.size(); ++c) {
            for (int row = 0; row < 4; ++row)
                El(notes, row, c) = El(bass, row, keep[c]);
            El(notes, 4, c) = El(bass, 6, keep[c]);
            El(notes, 5, c) = El(bass, 7, keep[c]);
            El(notes, 6, c) = confidence[c];
        }
    }
    bass = notes;
}

void MergeEqualBassNotes(CFloatMatrix& bass)
{
    const int n = bass.GetCols();
    int ref = 0;
    for (int i = 1; i < n; ++i) {
        if (El(bass, 0, i) != El(bass, 0, i - 1)) {
            ref = i;
            continue;
        }
        if (El(bass, 5, i) > El(bass, 5, ref))
            El(bass, 5, i) = El(bass, 5, ref);
        else
            ref = i;
    }
}

} // namespace Stages
