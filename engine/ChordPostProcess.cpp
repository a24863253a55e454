#include "ChordPostProcess.h"

#include <vector>

#include "ChordDecision.h"
#include "StageMath.h"

namespace Stages {

namespace {

enum { kRoot = 0, kScore = 1, kMajor = 2, kTime = 6, kType = 7, kBass = 8, kConfidence = 9 };

// Keeps the listed columns in order; nothing kept gives one column of -1.
void KeepColumns(CFloatMatrix& chord, const std::vector<int>& keep)
{
    CFloatMatrix out;
    if (keep.empty()) {
        out.Create(10, 1, -1.0f);
    } else {
        out.Create(10, (int)keep.size(), 0.0f);
        for (int c = 0; c < (int)keep.size(); ++c)
            for (int r = 0; r < 10; ++r)
                El(out, r, c) = El(chord, r, keep[c]);
    }
    chord = out;
}

bool IsNoChord(const CFloatMatrix& chord)
{
    return chord.GetCols() == 1 && El(chord, kRoot, 0) < 0;
}

struct FastRun {
    float start, end, firstPitch, endPitch;
};

} // namespace

void DropChordsOnFastBass(CFloatMatrix& chord, const CFloatMatrix& bassNotes)
{
    const int notes = bassNotes.GetCols();
    std::vector<FastRun> runs;
    int s = 0;
    while (s < notes - 1) {
        int e = s;
        while (e + 1 < notes && El(bassNotes, 4, e + 1) - El(bassNotes, 4, e) < 330 &&
               El(bassNotes, 0, e + 1) != El(bassNotes, 0, e))
            ++e;
        if (e == s) {
            ++s;
            continue;
        }
        // The run's recorded end is its last but one note.
        runs.push_back({El(bassNotes, 4, s), El(bassNotes, 4, e - 1), El(bassNotes, 0, s), El(bassNotes, 0, e - 1)});
        s = e;
    }
    std::vector<int> keep;
    for (int c = 0; c < chord.GetCols(); ++c) {
        const float time = El(chord, kTime, c), root = El(chord, kRoot, c);
        bool drop = false;
        for (const FastRun& run : runs)
            if (run.end >= time) {
                drop = run.start <= time && root != run.firstPitch && root != run.endPitch &&
                       El(chord, kConfidence, c) < 0.8;
                break;
            }
        if (!drop)
            keep.push_back(c);
    }
    KeepColumns(chord, keep);
}

void PropagateRunType(CFloatMatrix& chord)
{
    const int n = chord.GetCols();
    int start = 0;
    while (start < n) {
        int end = start + 1;
        while (end < n && El(chord, kRoot, end) == El(chord, kRoot, start))
            ++end;
        if (end - start >= 2) {
            float value = El(chord, kType, end - 1);
            for (int c = start; c < end; ++c)
                if (El(chord, kType, c) == 0.0f)
                    value = 0.0f;
            for (int c = start; c < end; ++c)
                if (El(chord, kType, c) == 5.0f)
                    El(chord, kType, c) = value;
        }
        start = end;
    }
}

void FixPowerChordsByKey(CFloatMatrix& chord, int key)
{
    const int n = chord.GetCols();
    if (n == 0)
        return;
    int power = 0, strong = 0;
    for (int c = 0; c < n; ++c) {
        if (El(chord, kType, c) == 5.0f)
            ++power;
        if (El(chord, kConfidence, c) >= 0.8)
            ++strong;
    }
    const double share5 = (double)power / n, shareStrong = (double)strong / n;
    if (share5 > 0.7 || shareStrong < 0.15) {
        for (int c = 0; c < n; ++c)
            if (!(El(chord, kType, c) == 0.0f && El(chord, kConfidence, c) >= 0.8))
                El(chord, kType, c) = 5.0f;
        return;
    }
    for (int c = 0; c < n; ++c) {
        if (El(chord, kType, c) != 5.0f)
            continue;
        const int root = (int)El(chord, kRoot, c);
        const bool major = El(chord, kMajor, c) != 0.0f;
        if (!IsDiatonicQuality(root, major, key) && IsDiatonicQuality(root, !major, key))
            El(chord, kMajor, c) = major ? 0.0f : 1.0f;
        El(chord, kType, c) = 0.0f;
    }
}

void KeepStrongestOfRun(CFloatMatrix& chord)
{
    const int n = chord.GetCols();
    std::vector<int> keep;
    std::vector<float> times;
    int start = 0;
    while (start < n) {
        int end = start + 1;
        while (end < n && ((El(chord, kRoot, end) == El(chord, kRoot, start) &&
                            El(chord, kType, end) == El(chord, kType, start) &&
                            El(chord, kBass, end) == El(chord, kBass, start)) ||
                           El(chord, kScore, end) <= 200))
            ++end;
        int best = start;
        for (int c = start + 1; c < end; ++c)
            if (El(chord, kScore, c) > El(chord, kScore, best))
                best = c;
        if (El(chord, kScore, best) > 200) {
            keep.push_back(best);
            times.push_back(El(chord, kTime, start));
        }
        start = end;
    }
    KeepColumns(chord, keep);
    for (int c = 0; c < (int)times.size(); ++c)
        El(chord, kTime, c) = times[c];
}

void DropCloseChords(CFloatMatrix& chord)
{
    const int n = chord.GetCols();
    std::vector<bool> kept(n, false);
    for (int i = 0; i + 1 < n; ++i) {
        const int gap = TruncToInt(El(chord, kTime, i + 1) - El(chord, kTime, i));
        const float ci = El(chord, kConfidence, i), next = El(chord, kConfidence, i + 1);
        if (gap >= 330) {
            kept[i] = true;
        } else if (ci > next && ci >= 0.8) {
            kept[i] = true;
            if (next < 0.8)
                ++i; // the close, weaker neighbour goes without being examined
        } else if (ci >= 0.8) {
            kept[i] = true;
        }
    }
    // The last chord always stays; so does a lone chord.
    if (n >= 1)
        kept[n - 1] = true;
    std::vector<int> keep;
    for (int c = 0; c < n; ++c)
        if (kept[c])
            keep.push_back(c);
    KeepColumns(chord, keep);
}

void PostProcessChords(CFloatMatrix& chord, int key, const CFloatMatrix& bassNotes)
{
    // Once nothing is left the -1 column must not be taken for a chord.
    if (IsNoChord(chord))
        return;
    DropChordsOnFastBass(chord, bassNotes);
    if (IsNoChord(chord))
        return;
    PropagateRunType(chord);
    FixPowerChordsByKey(chord, key);
    KeepStrongestOfRun(chord);
    if (IsNoChord(chord))
        return;
    DropCloseChords(chord);
    KeepStrongestOfRun(chord);
}

} // namespace Stages
