#include <gtest/gtest.h>

#include "StageTestUtil.h"
#include "engine/ChordDecision.h"
#include "engine/FeatureCurves.h"

using namespace Stages;
using V = std::vector<float>;

namespace {

const CFloatMatrix kDMajorTones = Rows({{0, 2, 4, 5, 7, 9, 11}});

V Profile(std::initializer_list<std::pair<int, float>> set, float rest)
{
    V p(12, rest);
    for (auto& e : set)
        p[e.first] = e.second;
    return p;
}

CFloatMatrix NoBass()
{
    CFloatMatrix b;
    b.Create(7, 1, -1.0f);
    return b;
}

CFloatMatrix OneBassNote(int pitch, float strength, float second, float time)
{
    return Rows({{(float)pitch}, {strength}, {0}, {second}, {time}, {1}, {1}});
}

struct Note {
    int pitch;
    float strength, second, time;
};

// Bass notes in time order; dominance = strength / second.
CFloatMatrix BassNotes(std::initializer_list<Note> notes)
{
    CFloatMatrix b;
    b.Create(7, (int)notes.size(), 1.0f);
    int c = 0;
    for (const Note& n : notes) {
        *b.At(0, c) = (float)n.pitch;
        *b.At(1, c) = n.strength;
        *b.At(3, c) = n.second;
        *b.At(4, c) = n.time;
        ++c;
    }
    return b;
}

// Chordness 0 1 4 10 4 1 0 0 0 (one peak at frame 3, 120 ms), times `scale`:
// the core and wide segments are frames 2 and 3, which hold half of
// `profile` each.
CFloatMatrix DecideOne(const V& profile, const CFloatMatrix& bass, const CFloatMatrix& keyTones, int key,
                       float scale = 1.0f)
{
    V values = {0, 1, 4, 10, 4, 1, 0, 0, 0};
    for (float& v : values)
        v *= scale;
    CFloatMatrix curve = Rows({values, {0, 40, 80, 120, 160, 200, 240, 280, 320}});
    std::vector<V> frames(9, V(12, 0.0f));
    for (int k = 0; k < 12; ++k)
        frames[2][k] = frames[3][k] = profile[k] / 2;
    CFloatMatrix chroma = Chroma(frames);
    CFloatMatrix bassChroma = Chroma(std::vector<V>(9, V(12, 0.0f)));
    CFloatMatrix chord;
    FindPeaksAndValleys(chord, curve);
    DecideChords(chord, curve, bass, bassChroma, chroma, 22050, keyTones, key);
    return chord;
}

// A peak at frame k of `curve` (40 ms frames) between valleys of 0 in the
// first and last frames; every frame's chroma is `frame`, so the score tells
// how many frames the core segment holds. Key D major.
CFloatMatrix DecidePeak(const V& curve, int k, const V& frame, const CFloatMatrix& bass,
                        std::vector<V> bassFrames = {})
{
    const int n = (int)curve.size();
    V times(n);
    for (int i = 0; i < n; ++i)
        times[i] = 40.0f * i;
    if (bassFrames.empty())
        bassFrames.assign(n, V(12, 0.0f));
    CFloatMatrix chordness = Rows({curve, times});
    CFloatMatrix chroma = Chroma(std::vector<V>(n, frame));
    CFloatMatrix bassChroma = Chroma(bassFrames);
    CFloatMatrix chord = Rows({{0, curve[k], 0}, {0, times[k], times[n - 1]}, {0, 1, 0}});
    DecideChords(chord, chordness, bass, bassChroma, chroma, 22050, kDMajorTones, 0);
    return chord;
}

// D major per frame: the triad's score is 56 per core frame.
const V kDMajorFrame = Profile({{0, 60}, {4, 40}, {7, 50}}, 2);

void ExpectNoChord(const CFloatMatrix& c)
{
    ASSERT_EQ(10, c.GetRows());
    ASSERT_EQ(1, c.GetCols());
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(-1.0f, c.GetAt(r, 0)) << "row " << r;
}

} // namespace

TEST(ChordHelpers, TriadScoresAndRanking)
{
    float p[12] = {3, 0, 0, 0, 6, 0, 0, 9, 0, 0, 7, 0};
    std::array<float, 24> s = ScoreTriads(p, 1.0, false);
    EXPECT_EQ(6.0f, s[0]);
    EXPECT_EQ(4.0f, s[12]);
    EXPECT_FLOAT_EQ(25.0f / 7, ScoreTriads(p, 1.0, true)[0]);
    EXPECT_FLOAT_EQ((1.3f * 3 + 6 + 9) / 3, ScoreTriads(p, 1.3, false)[0]);

    float scores[24] = {};
    scores[3] = 5;
    scores[15] = 5; // tie: the lower index (major) wins
    scores[20] = 2;
    std::array<float, 15> r = TopFiveTriads(scores);
    EXPECT_EQ((std::array<float, 15>{3, 5, 1, 3, 5, 0, 8, 2, 0, 0, 0, 1, 0, 0, 1}), r);
    EXPECT_EQ(0.0f, scores[15]);

    float v[12] = {1, 9, 9, 4, 0, 0, 0, 0, 0, 0, 0, 0};
    int at = -1;
    EXPECT_EQ(9.0f, NthStrongest(1, v, &at));
    EXPECT_EQ(2, at);
    EXPECT_EQ(0.0f, NthStrongest(6, v, &at));
    EXPECT_EQ(0, at);
    EXPECT_EQ(9.0f, v[1]); // the caller's values are untouched
}

TEST(ChordHelpers, KeyMembership)
{
    EXPECT_TRUE(IsInKeyScale(11, 0));
    EXPECT_FALSE(IsInKeyScale(1, 0));
    EXPECT_TRUE(IsInKeyScale(1, 2));
    EXPECT_FALSE(IsInKeyScale(-1, 1));
    // D major: D, G, A only major; B, E, F# only minor; others either.
    EXPECT_TRUE(IsDiatonicQuality(5, true, 0));
    EXPECT_FALSE(IsDiatonicQuality(5, false, 0));
    EXPECT_TRUE(IsDiatonicQuality(9, false, 0));
    EXPECT_FALSE(IsDiatonicQuality(4, true, 0));
    EXPECT_TRUE(IsDiatonicQuality(10, false, 0));
    EXPECT_TRUE(IsAmongStrongest(11, kDMajorTones));
    EXPECT_FALSE(IsAmongStrongest(3, kDMajorTones));
}

TEST(ChordHelpers, QualityDecisionWithoutThirds)
{
    // Neither third sounds: the quality stays undecided instead of turning
    // into a NaN comparison.
    float p[12] = {10, 0, 0, 0, 0, 0, 0, 10, 0, 0, 0, 0};
    float record[9] = {0, 10, 1, 0, 9, 0, 5, 1, 1};
    EXPECT_EQ(1, DecideQuality(record, p, kDMajorTones, 0, {0}, -1));
    EXPECT_EQ(0.0f, record[2]);
    // s3 = 0 counts as a clear lead over the third triad.
    float lead[9] = {0, 10, 1, 0, 9, 0, 5, 0, 1};
    EXPECT_EQ(1, DecideQuality(lead, p, kDMajorTones, 0, {0}, -1));
    // All scores zero: the lead is nil and the chord is rejected.
    float zero[12] = {};
    float none[9] = {0, 0, 1, 0, 0, 0, 0, 0, 1};
    EXPECT_EQ(-1, DecideQuality(none, zero, kDMajorTones, 0, {0}, -1));

    // A heard major third on a major/minor tie of one root.
    float q[12] = {600, 20, 20, 20, 400, 20, 20, 500, 20, 20, 20, 20};
    float rec[9] = {0, 560, 0, 0, 433, 1, 4, 300, 0};
    EXPECT_EQ(0, DecideQuality(rec, q, kDMajorTones, 0, {0}, -1));
    EXPECT_EQ(1.0f, rec[2]);
    // Different roots: decided, flag untouched.
    float other[9] = {0, 560, 0, 7, 433, 1, 4, 300, 0};
    EXPECT_EQ(0, DecideQuality(other, q, kDMajorTones, 0, {0}, -1));
    EXPECT_EQ(0.0f, other[2]);
}

TEST(ChordHelpers, ExtensionCodes)
{
    const V base = Profile({{0, 600}, {4, 400}, {7, 500}}, 20);
    auto classify = [](V p, bool major, int bass = -1, int mean = 0) {
        float level = 0;
        return ClassifyExtension(0, major, 0, false, p.data(), level, bass, mean);
    };
    auto with = [&](std::initializer_list<std::pair<int, float>> add) {
        V p = base;
        for (auto& e : add)
            p[e.first] = e.second;
        return p;
    };
    EXPECT_EQ(0, classify(base, true));
    EXPECT_EQ(7, classify(with({{10, 440}}), true));
    EXPECT_EQ(8, classify(with({{11, 440}}), true));
    EXPECT_EQ(10, classify(with({{2, 440}}), true));
    EXPECT_EQ(9, classify(with({{2, 440}, {10, 440}}), true));
    EXPECT_EQ(0, classify(with({{10, 440}, {11, 440}}), true));
    EXPECT_EQ(4, classify(with({{5, 440}}), true));
    EXPECT_EQ(6, classify(with({{9, 440}}), true));
    // Minor: the minor third (20) is missing.
    EXPECT_EQ(5, classify(base, false));
    // Level: the value of the last extension found.
    float level = 0;
    V sev = with({{10, 440}});
    ClassifyExtension(0, true, 0, false, sev.data(), level, -1, 0);
    EXPECT_EQ(440.0f, level);

    // Rejections: flat profile, a louder semitone neighbour of a weak root,
    // chordness above the profile, a root below the third-strongest.
    EXPECT_EQ(-1, classify(Profile({{0, 110}}, 100), true));
    EXPECT_EQ(-1, classify(Profile({{0, 600}, {1, 550}, {7, 300}}, 20), true));
    EXPECT_EQ(-1, classify(base, true, -1, 601));
    EXPECT_EQ(-1, classify(Profile({{0, 300}, {4, 600}, {7, 500}, {9, 400}}, 20), true, 4));
}

TEST(ChordDecision, ClearWinners)
{
    CFloatMatrix c = DecideOne(Profile({{0, 600}, {4, 400}, {7, 500}}, 20), NoBass(), kDMajorTones, 0);
    ASSERT_EQ(10, c.GetRows());
    ASSERT_EQ(1, c.GetCols());
    EXPECT_EQ(0.0f, c.GetAt(0, 0));
    EXPECT_FLOAT_EQ(560.0f, c.GetAt(1, 0));
    EXPECT_EQ(1.0f, c.GetAt(2, 0));
    EXPECT_EQ(0.0f, c.GetAt(3, 0)); // D minor second
    EXPECT_EQ(0.0f, c.GetAt(5, 0));
    EXPECT_EQ(120.0f, c.GetAt(6, 0));
    EXPECT_EQ(0.0f, c.GetAt(7, 0));
    EXPECT_EQ(-1.0f, c.GetAt(8, 0));
    EXPECT_EQ(1.0f, c.GetAt(9, 0));

    // A seventh: type 7, the level added to the score.
    c = DecideOne(Profile({{0, 600}, {4, 400}, {7, 500}, {10, 440}}, 20), NoBass(), kDMajorTones, 0);
    ASSERT_EQ(1, c.GetCols());
    EXPECT_EQ(7.0f, c.GetAt(7, 0));
    EXPECT_FLOAT_EQ(1000.0f, c.GetAt(1, 0));

    // A dominant bass on the third makes a slash chord of type 0.
    c = DecideOne(Profile({{0, 600}, {4, 400}, {7, 500}}, 20), OneBassNote(4, 100, 50, 120), kDMajorTones, 0);
    ASSERT_EQ(1, c.GetCols());
    EXPECT_EQ(0.0f, c.GetAt(0, 0));
    EXPECT_EQ(4.0f, c.GetAt(8, 0));
    EXPECT_EQ(0.0f, c.GetAt(7, 0));
    EXPECT_EQ(1.0f, c.GetAt(9, 0));
    // Not dominant enough (d = 1.25): no slash.
    c = DecideOne(Profile({{0, 600}, {4, 400}, {7, 500}}, 20), OneBassNote(4, 100, 80, 120), kDMajorTones, 0);
    ASSERT_EQ(1, c.GetCols());
    EXPECT_EQ(-1.0f, c.GetAt(8, 0));

    // A bass outside the triad only stays out of row 8.
    c = DecideOne(Profile({{0, 600}, {4, 400}, {7, 500}}, 20), OneBassNote(2, 100, 50, 120), kDMajorTones, 0);
    ASSERT_EQ(1, c.GetCols());
    EXPECT_EQ(0.0f, c.GetAt(0, 0));
    EXPECT_EQ(-1.0f, c.GetAt(8, 0));
}

TEST(ChordDecision, CloseContests)
{
    // Equal thirds: a tie of D major and D minor, settled by the key tones.
    const V tie = Profile({{0, 600}, {3, 200}, {4, 200}, {7, 500}}, 20);
    CFloatMatrix c = DecideOne(tie, NoBass(), kDMajorTones, 0);
    ASSERT_EQ(1, c.GetCols());
    EXPECT_EQ(0.0f, c.GetAt(0, 0));
    EXPECT_EQ(1.0f, c.GetAt(2, 0));
    EXPECT_EQ(0.0f, c.GetAt(7, 0));
    EXPECT_FLOAT_EQ(0.4f, c.GetAt(9, 0));

    // Key tones holding neither third: undecided, a power chord.
    c = DecideOne(tie, NoBass(), Rows({{0, 7, 9, 11, 2, 5, 10}}), 0);
    ASSERT_EQ(1, c.GetCols());
    EXPECT_EQ(0.0f, c.GetAt(0, 0));
    EXPECT_EQ(5.0f, c.GetAt(7, 0));
    EXPECT_EQ(-1.0f, c.GetAt(8, 0));

    // A bass that belongs to neither triad drops the peak.
    c = DecideOne(tie, OneBassNote(2, 100, 50, 120), kDMajorTones, 0);
    ASSERT_EQ(1, c.GetCols());
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(-1.0f, c.GetAt(r, 0));
}

TEST(ChordDecision, NothingToDecide)
{
    CFloatMatrix curve = Rows({{0, 0, 0, 0}, {0, 40, 80, 120}});
    CFloatMatrix chroma = Chroma(std::vector<V>(4, V(12, 0.0f)));
    CFloatMatrix chord;
    EXPECT_EQ(0, FindPeaksAndValleys(chord, curve));
    DecideChords(chord, curve, NoBass(), chroma, chroma, 22050, kDMajorTones, 0);
    ASSERT_EQ(10, chord.GetRows());
    ASSERT_EQ(1, chord.GetCols());
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(-1.0f, chord.GetAt(r, 0));
}

TEST(ChordDecision, PeaksWithoutValleysBetweenThem)
{
    // Three peaks in a row (as a plateau before a rise leaves them) and one
    // whose time matches no frame: each real peak still gets its chord.
    CFloatMatrix curve = Rows({{0, 1, 10, 1, 0.5f, 12, 0.5f, 1, 11, 1, 0, 0, 0},
                               {0, 40, 80, 120, 160, 200, 240, 280, 320, 360, 400, 440, 480}});
    std::vector<V> frames(13, V(12, 0.0f));
    frames[1] = Profile({{0, 600}, {4, 400}, {7, 500}}, 20);            // D
    frames[4] = frames[5] = Profile({{5, 300}, {9, 200}, {0, 250}}, 10); // G
    frames[8] = Profile({{7, 600}, {11, 400}, {2, 500}}, 20);           // A
    CFloatMatrix chroma = Chroma(frames);
    CFloatMatrix bassChroma = Chroma(std::vector<V>(13, V(12, 0.0f)));
    CFloatMatrix chord = Rows({{10, 12, 11, 9}, {80, 200, 320, 999}, {1, 1, 1, 1}});
    DecideChords(chord, curve, NoBass(), bassChroma, chroma, 22050, kDMajorTones, 0);
    ASSERT_EQ(3, chord.GetCols());
    EXPECT_EQ((V{0, 5, 7}), Row(chord, 0));
    EXPECT_EQ((V{1, 1, 1}), Row(chord, 2));
    EXPECT_EQ((V{80, 200, 320}), Row(chord, 6));
}

TEST(ChordDecision, CloseContestSwapsToTheSecondCandidate)
{
    // D major just ahead of B minor; the first bass note is B, the strongest
    // D (whose profile entry becomes 1.2 x the largest).
    const V p = Profile({{0, 500}, {4, 500}, {7, 400}, {9, 400}}, 20);
    const CFloatMatrix bass = BassNotes({{9, 50, 40, 80}, {0, 100, 50, 120}});
    CFloatMatrix c = DecideOne(p, bass, kDMajorTones, 0);
    ASSERT_EQ(1, c.GetCols());
    EXPECT_EQ(9.0f, c.GetAt(0, 0)); // B minor, taken from the second place
    EXPECT_FLOAT_EQ(540.0f, c.GetAt(1, 0));
    EXPECT_EQ(0.0f, c.GetAt(2, 0));
    EXPECT_EQ(0.0f, c.GetAt(3, 0)); // D major now second
    EXPECT_FLOAT_EQ(560.0f, c.GetAt(4, 0));
    EXPECT_EQ(1.0f, c.GetAt(5, 0));
    EXPECT_EQ(0.0f, c.GetAt(7, 0));
    EXPECT_EQ(-1.0f, c.GetAt(8, 0));
    EXPECT_FLOAT_EQ(0.2f, c.GetAt(9, 0));

    // In B major B minor is not diatonic: the swapped chord is dropped (D,
    // outside that key's scale, is no candidate any more).
    ExpectNoChord(DecideOne(p, bass, kDMajorTones, 9));
}

TEST(ChordDecision, ConfidenceFollowsTheLeadOfTheBestTriad)
{
    // D major against D minor, no bass: only the thirds differ.
    auto confidence = [](float minorThird, float majorThird) {
        CFloatMatrix c =
            DecideOne(Profile({{0, 600}, {3, minorThird}, {4, majorThird}, {7, 500}}, 20), NoBass(), kDMajorTones, 0);
        EXPECT_EQ(1, c.GetCols());
        EXPECT_EQ(0.0f, c.GetAt(0, 0));
        EXPECT_EQ(1.0f, c.GetAt(2, 0));
        return c.GetAt(9, 0);
    };
    EXPECT_FLOAT_EQ(0.4f, confidence(200, 260)); // r2 1.04
    EXPECT_FLOAT_EQ(0.6f, confidence(200, 320)); // r2 1.08
    EXPECT_FLOAT_EQ(0.8f, confidence(200, 450)); // r2 1.17
    EXPECT_FLOAT_EQ(1.0f, confidence(20, 450));  // r2 1.33
}

TEST(ChordDecision, CloseContestSlashChords)
{
    // Bass on the fifth of a D major / D minor tie, dominant: a slash chord
    // of type 0; not dominant enough (1.25): the chord without bass.
    const V tie = Profile({{0, 600}, {3, 250}, {4, 250}, {7, 500}}, 20);
    CFloatMatrix c = DecideOne(tie, OneBassNote(7, 100, 50, 120), kDMajorTones, 0);
    ASSERT_EQ(1, c.GetCols());
    EXPECT_EQ(0.0f, c.GetAt(0, 0));
    EXPECT_EQ(1.0f, c.GetAt(2, 0));
    EXPECT_EQ(7.0f, c.GetAt(8, 0));
    EXPECT_EQ(0.0f, c.GetAt(7, 0));
    EXPECT_FLOAT_EQ(0.4f, c.GetAt(9, 0));
    c = DecideOne(tie, OneBassNote(7, 100, 80, 120), kDMajorTones, 0);
    ASSERT_EQ(1, c.GetCols());
    EXPECT_EQ(0.0f, c.GetAt(0, 0));
    EXPECT_EQ(-1.0f, c.GetAt(8, 0));

    // A dominant bass on the major third (D major just ahead of B minor, and
    // a sixth in the profile) or the major seventh (a tie, and a major
    // seventh in the profile): D with that bass, type still 0.
    auto slash = [](const V& profile, int bassPitch) {
        CFloatMatrix m = DecideOne(profile, OneBassNote(bassPitch, 100, 50, 120), kDMajorTones, 0);
        EXPECT_EQ(1, m.GetCols());
        EXPECT_EQ(0.0f, m.GetAt(0, 0));
        EXPECT_EQ(1.0f, m.GetAt(2, 0));
        EXPECT_EQ((float)bassPitch, m.GetAt(8, 0));
        EXPECT_EQ(0.0f, m.GetAt(7, 0));
        EXPECT_FLOAT_EQ(0.4f, m.GetAt(9, 0));
        return m;
    };
    EXPECT_EQ(9.0f, slash(Profile({{0, 600}, {4, 400}, {7, 500}, {9, 520}}, 20), 4).GetAt(3, 0));
    slash(Profile({{0, 600}, {3, 180}, {4, 180}, {7, 480}}, 20), 11);
}

TEST(ChordDecision, CloseContestDrops)
{
    const V tie = Profile({{0, 600}, {3, 200}, {4, 200}, {7, 500}}, 20);
    // The best score (493) against the mean chordness: 250 keeps, 500 drops
    // (still below the profile's largest value, which the extension check
    // holds against it too).
    CFloatMatrix c = DecideOne(tie, NoBass(), kDMajorTones, 0, 100.0f);
    ASSERT_EQ(1, c.GetCols());
    EXPECT_EQ(0.0f, c.GetAt(0, 0));
    ExpectNoChord(DecideOne(tie, NoBass(), kDMajorTones, 0, 200.0f));

    // No bass and the fourth triad (D minor behind Bm and G) within 10 % of
    // D major: dropped; with G out of the running the chord stays.
    ExpectNoChord(DecideOne(Profile({{0, 600}, {3, 260}, {4, 400}, {5, 400}, {7, 500}, {9, 420}}, 20), NoBass(),
                            kDMajorTones, 0));
    c = DecideOne(Profile({{0, 600}, {3, 260}, {4, 400}, {7, 500}, {9, 420}}, 20), NoBass(), kDMajorTones, 0);
    ASSERT_EQ(1, c.GetCols());
    EXPECT_EQ(0.0f, c.GetAt(0, 0));
    EXPECT_FLOAT_EQ(0.6f, c.GetAt(9, 0));
}

TEST(ChordDecision, BassCandidatesOutsideTheKeyScaleCountForNothing)
{
    // E, in D major's scale but in neither triad, drops a tied peak; D#,
    // outside the scale, is no candidate and the chord stays.
    const V tie = Profile({{0, 600}, {3, 200}, {4, 200}, {7, 500}}, 20);
    ExpectNoChord(DecideOne(tie, OneBassNote(2, 100, 50, 120), kDMajorTones, 0));
    CFloatMatrix c = DecideOne(tie, OneBassNote(1, 100, 50, 120), kDMajorTones, 0);
    ASSERT_EQ(1, c.GetCols());
    EXPECT_EQ(0.0f, c.GetAt(0, 0));
    EXPECT_EQ(-1.0f, c.GetAt(8, 0));
    EXPECT_FLOAT_EQ(0.4f, c.GetAt(9, 0));
}

TEST(ChordDecision, BassChromaFallbackFindsANoteBesideTheSegment)
{
    // Wide segment frames 2-3 (80-160 ms) without a bass note; the note at
    // 79.9 ms lies within 0.2 ms of frame 2, where bass-chroma row 1 peaks
    // (the larger values of other rows in frame 3 do not count).
    const V curve = {0, 0, 20, 100, 20, 0, 0, 0};
    const CFloatMatrix bass = BassNotes({{4, 100, 50, 79.9f}});
    std::vector<V> bassFrames(8, V(12, 0.0f));
    bassFrames[2][1] = 5;
    bassFrames[3][0] = 50;
    bassFrames[3][4] = 50;
    CFloatMatrix c = DecidePeak(curve, 3, kDMajorFrame, bass, bassFrames);
    ASSERT_EQ(1, c.GetCols());
    EXPECT_EQ(0.0f, c.GetAt(0, 0));
    EXPECT_EQ(4.0f, c.GetAt(8, 0)); // D/F#: the found note, dominant
    EXPECT_EQ(1.0f, c.GetAt(9, 0));

    // Row 1 peaking in frame 3 (120 ms) finds no note: no bass.
    bassFrames[3][1] = 6;
    c = DecidePeak(curve, 3, kDMajorFrame, bass, bassFrames);
    ASSERT_EQ(1, c.GetCols());
    EXPECT_EQ(0.0f, c.GetAt(0, 0));
    EXPECT_EQ(-1.0f, c.GetAt(8, 0));
}

TEST(ChordDecision, RootAmongLaterBassCandidatesIsTheChordsBass)
{
    // A D7 profile; with the root's note after another one the chord counts
    // as having a bass (the root): no bass in row 8 and the type stays 0.
    const V d7 = Profile({{0, 600}, {4, 400}, {7, 500}, {10, 440}}, 20);
    CFloatMatrix c = DecideOne(d7, BassNotes({{2, 50, 40, 80}, {0, 100, 50, 120}}), kDMajorTones, 0);
    ASSERT_EQ(1, c.GetCols());
    EXPECT_EQ(0.0f, c.GetAt(0, 0));
    EXPECT_EQ(-1.0f, c.GetAt(8, 0));
    EXPECT_EQ(0.0f, c.GetAt(7, 0));
    EXPECT_FLOAT_EQ(1052.0f, c.GetAt(1, 0)); // the seventh's level is still added
    EXPECT_EQ(1.0f, c.GetAt(9, 0));
    // The root's note alone: a plain D7.
    c = DecideOne(d7, OneBassNote(0, 100, 50, 120), kDMajorTones, 0);
    ASSERT_EQ(1, c.GetCols());
    EXPECT_EQ(7.0f, c.GetAt(7, 0));
    EXPECT_EQ(-1.0f, c.GetAt(8, 0));
}

TEST(ChordDecision, CoreSegmentEndsAtTheirFractionsOfThePeak)
{
    // Left of the peak 98.5 passes 98 % and 97.5 does not (the first frame
    // at or below the level still counts): frames 3-5, score 3 x 56.
    // At 99 % it would be 2 frames, at 97 % 4.
    CFloatMatrix c = DecidePeak({0, 20, 50, 97.5f, 98.5f, 100, 50, 20, 0, 0}, 5, kDMajorFrame, NoBass());
    ASSERT_EQ(1, c.GetCols());
    EXPECT_EQ(0.0f, c.GetAt(0, 0));
    EXPECT_FLOAT_EQ(168.0f, c.GetAt(1, 0));
    // Right of the peak 97.5 passes 97 % and 96.5 ends the core (excluded):
    // frames 2-4. At 98 % it would be 2 frames, at 96 % 4.
    c = DecidePeak({0, 20, 50, 100, 97.5f, 96.5f, 50, 20, 0, 0}, 3, kDMajorFrame, NoBass());
    ASSERT_EQ(1, c.GetCols());
    EXPECT_FLOAT_EQ(168.0f, c.GetAt(1, 0));
}

TEST(ChordDecision, WideSegmentEndsAtTheirFractionsOfThePeak)
{
    // A dominant F# bass note alone in the wide segment makes D/F#. It sits
    // on the wide segment's first frame, which 30 % reaches (29.5 is at or
    // below it, 30.5 above); an E note one frame further out stays outside.
    // At 31 % the F# would be outside (no bass), at 29 % the E inside (two
    // candidates, no slash).
    CFloatMatrix c = DecidePeak({0, 0, 29.5f, 30.5f, 80, 100, 50, 20, 0, 0}, 5, kDMajorFrame,
                                BassNotes({{2, 50, 40, 40}, {4, 100, 50, 80}}));
    ASSERT_EQ(1, c.GetCols());
    EXPECT_EQ(0.0f, c.GetAt(0, 0));
    EXPECT_EQ(4.0f, c.GetAt(8, 0));
    // The same on the right at 40 %: 40.5 above, 39.5 at or below.
    c = DecidePeak({0, 20, 50, 100, 80, 40.5f, 39.5f, 0, 0, 0}, 3, kDMajorFrame,
                   BassNotes({{4, 100, 50, 240}, {2, 50, 40, 280}}));
    ASSERT_EQ(1, c.GetCols());
    EXPECT_EQ(0.0f, c.GetAt(0, 0));
    EXPECT_EQ(4.0f, c.GetAt(8, 0));
}
