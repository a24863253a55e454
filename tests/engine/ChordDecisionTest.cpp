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

// Chordness 0 1 4 10 4 1 0 0 0 (one peak at frame 3, 120 ms): the core and
// wide segments are frames 2 and 3, which hold half of `profile` each.
CFloatMatrix DecideOne(const V& profile, const CFloatMatrix& bass, const CFloatMatrix& keyTones, int key)
{
    CFloatMatrix curve = Rows({{0, 1, 4, 10, 4, 1, 0, 0, 0}, {0, 40, 80, 120, 160, 200, 240, 280, 320}});
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
