#include "ChordDecision.h"

#include <cmath>

#include "StageMath.h"

namespace Stages {

std::array<float, 24> ScoreTriads(const float p[12], double rootWeight, bool sevenNoteForm)
{
    std::array<float, 24> s{};
    for (int r = 0; r < 12; ++r) {
        const float root = (float)(rootWeight * p[r]);
        float major = root + p[Mod12(r + 4)] + p[Mod12(r + 7)];
        float minor = root + p[Mod12(r + 3)] + p[Mod12(r + 7)];
        if (sevenNoteForm) {
            const float extra = p[Mod12(r + 10)] + p[Mod12(r + 2)] + p[Mod12(r + 5)] + p[Mod12(r + 11)];
            s[r] = (major + extra) / 7;
            s[r + 12] = (minor + extra) / 7;
        } else {
            s[r] = major / 3;
            s[r + 12] = minor / 3;
        }
    }
    return s;
}

std::array<float, 15> TopFiveTriads(float scores[24])
{
    std::array<float, 15> out{};
    for (int pass = 0; pass < 5; ++pass) {
        float best = 0.0f;
        int at = 0;
        for (int i = 0; i < 24; ++i)
            if (scores[i] > best) {
                best = scores[i];
                at = i;
            }
        out[3 * pass] = (float)(at % 12);
        out[3 * pass + 1] = best;
        out[3 * pass + 2] = at < 12 ? 1.0f : 0.0f;
        scores[at] = 0.0f;
    }
    return out;
}

float NthStrongest(int n, const float values[12], int* index)
{
    float v[12];
    for (int k = 0; k < 12; ++k)
        v[k] = values[k];
    float best = 0.0f;
    int at = 0;
    for (int pass = 0; pass <= n; ++pass) {
        best = 0.0f;
        at = 0;
        for (int k = 0; k < 12; ++k)
            if (v[k] > best) {
                best = v[k];
                at = k;
            }
        v[at] = 0.0f;
    }
    if (index)
        *index = at;
    return best;
}

bool IsInKeyScale(int pitch, int key)
{
    static const int steps[] = {0, 2, 4, 5, 7, 9, 11};
    for (int s : steps)
        if (pitch == Mod12(key + s))
            return true;
    return false;
}

bool IsDiatonicQuality(int pitch, bool major, int key)
{
    if (pitch == Mod12(key) || pitch == Mod12(key + 5) || pitch == Mod12(key + 7))
        return major;
    if (pitch == Mod12(key + 9) || pitch == Mod12(key + 2) || pitch == Mod12(key + 4))
        return !major;
    return true;
}

bool IsAmongStrongest(int pitch, const CFloatMatrix& keyTones)
{
    const int n = keyTones.GetCols() < 7 ? keyTones.GetCols() : 7;
    for (int i = 0; i < n; ++i)
        if ((float)pitch == El(keyTones, 0, i))
            return true;
    return false;
}

int DecideQuality(float record[9], const float profile[12], const CFloatMatrix& keyTones, int key,
                  const std::vector<int>& candidates, int chordBass)
{
    const int r = (int)record[0];
    const bool major1 = record[2] != 0.0f;
    const float ma = profile[Mod12(r + 4)], mi = profile[Mod12(r + 3)];
    float larger, ratio;
    bool thirdsMajor;
    if (ma > mi) {
        larger = ma;
        ratio = SafeRatio(ma, mi);
        thirdsMajor = true;
    } else {
        larger = mi;
        ratio = SafeRatio(mi, ma);
        thirdsMajor = false;
    }
    const float base = (profile[r] + profile[Mod12(r + 7)]) / 2;
    const bool sameRoot = record[0] == record[3];

    int result = 0;
    if (sameRoot && (ratio < 2 || larger < 0.4 * base)) {
        result = -1;
        for (int c : candidates) {
            if (c != r && c != Mod12(r + 7) && c != chordBass)
                continue;
            const bool hasMajor = IsAmongStrongest(Mod12(r + 4), keyTones);
            const bool hasMinor = IsAmongStrongest(Mod12(r + 3), keyTones);
            if (hasMajor != hasMinor && (ratio > 1.2 || larger > 0.3 * base)) {
                thirdsMajor = hasMajor;
                result = 0;
                break;
            }
            result = 1;
        }
    }
    if (sameRoot && ratio < 2) {
        if (!IsDiatonicQuality(r, major1, key) && IsDiatonicQuality(r, !major1, key)) {
            thirdsMajor = !major1;
            if (result > 0)
                result = 1;
        }
    }
    if (result == 1 && SafeRatio(record[1], record[7]) < 1.06)
        result = -1;
    if (sameRoot)
        record[2] = thirdsMajor ? 1.0f : 0.0f;
    return result;
}

int ClassifyExtension(int root, bool major, int secondRoot, bool secondMajor, const float profile[12],
                      float& level, int chordBass, int meanChordness)
{
    (void)secondRoot;
    (void)secondMajor;
    int i1 = 0, i2 = 0, unused = 0;
    const float l1 = NthStrongest(0, profile, &i1);
    const float l2 = NthStrongest(1, profile, &i2);
    const float l3 = NthStrongest(2, profile, &unused);
    const float l4 = NthStrongest(3, profile, &unused);
    const float l7 = NthStrongest(6, profile, &unused);

    if (l2 < 1.5 * l7)
        return -1;
    if ((i2 - i1 == 1 || i2 - i1 == -11) && root == i1 && l1 < 1200)
        return -1;
    if (profile[root] < l4 && chordBass == -1)
        return -1;
    if (meanChordness > l1)
        return -1;
    if (profile[root] < l3)
        return -1;

    const double hi = l7 + 0.8 * (l2 - l7);
    const double lo = l7 + 0.22 * (l2 - l7);
    bool seventh = false, majorSeventh = false, ninth = false, fourth = false, sixth = false;
    const bool missingThird = major ? profile[Mod12(root + 4)] < lo : profile[Mod12(root + 3)] < lo;
    if (missingThird && profile[Mod12(root + 7)] <= l4)
        return 5;

    auto test = [&](int step, bool& flag) {
        const float v = profile[Mod12(root + step)];
        if (v > hi) {
            flag = true;
            level = v;
        }
    };
    test(10, seventh);
    if (major && profile[Mod12(root + 11)] > hi && profile[Mod12(root + 1)] < l4) {
        majorSeventh = true;
        level = profile[Mod12(root + 11)];
    }
    test(2, ninth);
    test(5, fourth);
    test(9, sixth);

    if (seventh && majorSeventh) return 0;
    if (majorSeventh && ninth) return 0;
    if (seventh && ninth) return 9;
    if (seventh) return 7;
    if (majorSeventh) return 8;
    if (ninth) return 10;
    if (fourth) return 4;
    if (sixth) return 6;
    if (missingThird) return 5;
    return 0;
}

namespace {

// Is p the third of root1's quality, its fifth or its major seventh?
bool IsChordToneForBass(int p, int root1, bool major1)
{
    return (p == Mod12(root1 + 4) && major1) || (p == Mod12(root1 + 3) && !major1) ||
           p == Mod12(root1 + 7) || p == Mod12(root1 + 11);
}

struct Segment {
    int coreStart, coreEnd, wideStart, wideEnd;
};

Segment FindSegment(const CFloatMatrix& list, int j, int k, const float* c, int n)
{
    const float peak = El(list, 0, j);
    Segment s{};
    auto stepDown = [&](double threshold) {
        int w = k;
        while (w > 0 && c[w] > threshold)
            --w;
        return w;
    };
    auto stepUp = [&](double threshold) {
        int w = k;
        while (w < n && c[w] > threshold)
            ++w;
        return w;
    };
    // The neighbour column is normally a valley; after a plateau it may be a
    // peak, whose value serves as the reference just the same.
    if (j > 0) {
        const float v = El(list, 0, j - 1);
        s.coreStart = stepDown(v + 0.98 * (peak - v));
        s.wideStart = stepDown(v + 0.3 * (peak - v));
    } else {
        s.coreStart = s.wideStart = stepDown((peak + c[1]) / 2);
    }
    if (j + 1 < list.GetCols()) {
        const float v = El(list, 0, j + 1);
        s.coreEnd = stepUp(v + 0.97 * (peak - v));
        s.wideEnd = stepUp(v + 0.4 * (peak - v));
    } else {
        s.coreEnd = s.wideEnd = stepUp((peak + c[n - 1]) / 2);
    }
    return s;
}

} // namespace

void DecideChords(CFloatMatrix& chord, const CFloatMatrix& chordness, const CFloatMatrix& bassNotes,
                  const CFloatMatrix& bassChroma, const CFloatMatrix& chroma, int rate,
                  CFloatMatrix keyTones, int key)
{
    (void)rate;
    const CFloatMatrix list(chord);
    const int n = chordness.GetCols();
    const float* curve = chordness.At(0, 0);
    const float* curveTime = chordness.At(1, 0);

    // Mean over all frames but the last; a one-frame curve has none.
    double mean = 0.0;
    for (int i = 0; i + 1 < n; ++i)
        mean += curve[i];
    if (n > 1)
        mean /= (n - 1);
    const int meanInt = TruncToInt(mean);

    int peaks = 0;
    for (int j = 0; j < list.GetCols(); ++j)
        if (El(list, 2, j) == 1.0f)
            ++peaks;
    // Sized by the actual number of peaks: two peaks may follow each other.
    CFloatMatrix work;
    work.Create(10, peaks > 0 ? peaks : 1, -1.0f);
    int t = 0;

    const int notes = bassNotes.GetCols();
    for (int j = 0; j < list.GetCols(); ++j) {
        if (El(list, 2, j) != 1.0f)
            continue;
        const float peakTime = El(list, 1, j);
        int k = -1;
        for (int f = 1; f < n; ++f)
            if (std::fabs(curveTime[f] - peakTime) < 0.0001) {
                k = f;
                break;
            }
        if (k < 0)
            continue;
        const Segment seg = FindSegment(list, j, k, curve, n);
        const float wideStartTime = curveTime[seg.wideStart < n ? seg.wideStart : n - 1];
        const float wideEndTime = curveTime[seg.wideEnd < n ? seg.wideEnd : n - 1];

        // Bass candidates.
        std::vector<int> cands;
        int segmentBass = -1;
        float d = 1.0f;
        bool weighted;
        float bestStrength = 0.0f;
        for (int b = 0; b < notes; ++b) {
            const float time = El(bassNotes, 4, b);
            if (time >= wideStartTime && time <= wideEndTime) {
                cands.push_back((int)El(bassNotes, 0, b));
                if (El(bassNotes, 1, b) > bestStrength) {
                    bestStrength = El(bassNotes, 1, b);
                    segmentBass = b;
                }
            }
        }
        if (!cands.empty()) {
            weighted = true;
            if (segmentBass >= 0)
                d = El(bassNotes, 1, segmentBass) / El(bassNotes, 3, segmentBass);
        } else {
            weighted = false;
            int f = 0;
            float best = 0.0f;
            for (int w = seg.wideStart; w < seg.wideEnd && w < bassChroma.GetCols(); ++w)
                if (El(bassChroma, 1, w) > best) {
                    best = El(bassChroma, 1, w);
                    f = w;
                }
            cands.push_back(-1);
            const float frameTime = El(bassChroma, 12, f);
            for (int b = 0; b < notes; ++b)
                if (std::fabs(El(bassNotes, 4, b) - frameTime) < 0.2) {
                    cands[0] = (int)El(bassNotes, 0, b);
                    d = El(bassNotes, 1, b) / El(bassNotes, 3, b);
                    break;
                }
        }
        for (int& c : cands)
            if (!IsInKeyScale(c, key))
                c = -1;

        // Profile and triads.
        float profile[12];
        for (int p = 0; p < 12; ++p) {
            double sum = 0.0;
            for (int w = seg.coreStart; w < seg.coreEnd; ++w)
                sum += El(chroma, p, w);
            profile[p] = (float)sum;
        }
        float m = 0.0f;
        for (int p = 0; p < 12; ++p)
            if (profile[p] > m)
                m = profile[p];
        if (cands[0] >= 0) {
            if (weighted) {
                if (segmentBass >= 0)
                    profile[Mod12((int)El(bassNotes, 0, segmentBass))] = (float)(1.2 * m);
            } else {
                profile[cands[0]] = m;
            }
        }
        std::array<float, 24> scores = ScoreTriads(profile, 1.3, false);
        std::array<float, 15> rank = TopFiveTriads(scores.data());
        const float s1 = rank[1], s2 = rank[4], s4 = rank[10];
        float r2 = 0.0f, r4 = 0.0f;
        if (s2 != 0.0f) {
            r2 = s1 / s2;
            r4 = SafeRatio(s1, s4);
        }

        float* col[10];
        for (int r = 0; r < 10; ++r)
            col[r] = work.At(r, t);
        for (int r = 0; r < 6; ++r)
            *col[r] = rank[r];
        *col[6] = peakTime;
        *col[7] = 0.0f;
        *col[8] = -1.0f;
        *col[9] = 0.0f;

        const int root1 = (int)rank[0], root2 = (int)rank[3];
        const bool major1 = rank[2] != 0.0f;
        const int first = cands[0];
        int chordBass = -1;
        int q;
        if (r2 < 1.1) {
            *col[9] = r2 > 1.05 ? 0.6f : 0.4f;
            if ((first < 0 && r4 < 1.1) || s1 < mean)
                continue;
            bool matched = false, swapped = false;
            for (int c : cands) {
                if (c == root1) {
                    matched = true;
                    break;
                }
                if (c == root2) {
                    for (int r = 0; r < 3; ++r) {
                        *col[r] = rank[3 + r];
                        *col[3 + r] = rank[r];
                    }
                    *col[9] = 0.2f;
                    swapped = matched = true;
                    break;
                }
            }
            if (!matched && IsChordToneForBass(first, root1, major1)) {
                if (d > 1.3) {
                    *col[8] = (float)first;
                    chordBass = first;
                }
                matched = true;
            }
            if (!matched && first >= 0)
                continue;
            float record[9];
            for (int r = 0; r < 6; ++r)
                record[r] = *col[r];
            for (int r = 0; r < 3; ++r)
                record[6 + r] = rank[6 + r];
            q = DecideQuality(record, profile, keyTones, key, cands, chordBass);
            *col[2] = record[2];
            const int root = (int)*col[0];
            if (swapped && !IsDiatonicQuality(root, *col[2] != 0.0f, key)) {
                q = -1;
            } else {
                float level = 0.0f;
                const int e = ClassifyExtension(root, *col[2] != 0.0f, (int)*col[3], *col[5] != 0.0f, profile,
                                                level, chordBass, meanInt);
                *col[1] += level;
                if (chordBass < 0) {
                    *col[8] = -1.0f;
                    const float second = *col[3];
                    int type;
                    if ((second == Mod12(root + 9) && e == 7) || (second == Mod12(root + 5) && e == 10) ||
                        (second == Mod12(root + 5) && e == 9 && *col[1] == 2.0f))
                        type = e;
                    else
                        type = e == 5 ? 5 : 0;
                    *col[7] = (float)type;
                    if (type == 8 || type == 4 || type == 10)
                        *col[2] = 1.0f;
                }
                if (e == 5)
                    q = 1;
                else if (e == -1)
                    q = -1;
            }
        } else {
            *col[9] = r2 > 1.2 ? 1.0f : 0.8f;
            bool later = false;
            for (size_t i = 1; i < cands.size(); ++i)
                if (cands[i] == root1)
                    later = true;
            if (root1 != first && later) {
                chordBass = root1;
            } else if (root1 != first && cands.size() == 1 && IsChordToneForBass(first, root1, major1) &&
                       d > 1.3) {
                *col[8] = (float)first;
                chordBass = first;
            }
            q = DecideQuality(rank.data(), profile, keyTones, key, cands, chordBass);
            *col[2] = rank[2];
            float level = 0.0f;
            const int e = ClassifyExtension((int)*col[0], *col[2] != 0.0f, (int)*col[3], *col[5] != 0.0f,
                                            profile, level, chordBass, meanInt);
            *col[1] += level;
            if (chordBass < 0) {
                *col[8] = -1.0f;
                *col[7] = (float)e;
                if (e == 8 || e == 4 || e == 10)
                    *col[2] = 1.0f;
            }
            if (e == 5)
                q = 1;
            else if (e == -1)
                q = -1;
        }
        if (q == 1) {
            if (*col[8] >= 0)
                *col[0] = *col[8];
            *col[7] = 5.0f;
            *col[8] = -1.0f;
        } else if (q == -1) {
            continue;
        }
        ++t;
    }

    if (t == 0) {
        chord.Create(10, 1, -1.0f);
        return;
    }
    chord.Create(10, t, -1.0f);
    for (int c = 0; c < t; ++c)
        for (int r = 0; r < 10; ++r)
            El(chord, r, c) = El(work, r, c);
}

} // namespace Stages
