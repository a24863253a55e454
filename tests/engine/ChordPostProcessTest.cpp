#include <gtest/gtest.h>

#include "StageTestUtil.h"
#include "engine/ChordPostProcess.h"

using namespace Stages;
using V = std::vector<float>;

namespace {

struct C {
    float root, score, major, time, type, bass, confidence;
};

CFloatMatrix Chords(std::initializer_list<C> list)
{
    CFloatMatrix m;
    m.Create(10, (int)list.size(), 0.0f);
    int i = 0;
    for (const C& c : list) {
        *m.At(0, i) = c.root;
        *m.At(1, i) = c.score;
        *m.At(2, i) = c.major;
        *m.At(6, i) = c.time;
        *m.At(7, i) = c.type;
        *m.At(8, i) = c.bass;
        *m.At(9, i) = c.confidence;
        ++i;
    }
    return m;
}

void ExpectNoChord(const CFloatMatrix& m)
{
    ASSERT_EQ(10, m.GetRows());
    ASSERT_EQ(1, m.GetCols());
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(-1.0f, m.GetAt(r, 0));
}

CFloatMatrix BassNotes(std::initializer_list<std::pair<float, float>> pitchTime)
{
    CFloatMatrix b;
    b.Create(7, (int)pitchTime.size(), 0.0f);
    int i = 0;
    for (auto& p : pitchTime) {
        *b.At(0, i) = p.first;
        *b.At(4, i) = p.second;
        ++i;
    }
    return b;
}

} // namespace

TEST(ChordPostProcess, FastBassRemovesUnconfidentChords)
{
    // Alternating bass 0, 5, 0, 5 every 200 ms from 1000 ms: one run whose
    // recorded end is its last but one note (0 at 1400).
    CFloatMatrix bass = BassNotes({{0, 1000}, {5, 1200}, {0, 1400}, {5, 1600}, {9, 5000}});
    CFloatMatrix chords = Chords({
        {7, 300, 1, 1100, 0, -1, 0.6f}, // inside, foreign root, unsure: dropped
        {7, 300, 1, 1150, 0, -1, 0.8f}, // confident: kept
        {0, 300, 1, 1200, 0, -1, 0.4f}, // root is the run's first pitch: kept
        {7, 300, 1, 1500, 0, -1, 0.4f}, // after the recorded end: kept
        {7, 300, 1, 900, 0, -1, 0.4f},  // before the run: kept
    });
    DropChordsOnFastBass(chords, bass);
    EXPECT_EQ((V{1150, 1200, 1500, 900}), Row(chords, 6));

    CFloatMatrix one = Chords({{7, 300, 1, 1100, 0, -1, 0.6f}});
    DropChordsOnFastBass(one, bass);
    ExpectNoChord(one);
}

TEST(ChordPostProcess, RunTypesAndPowerChords)
{
    CFloatMatrix c = Chords({{2, 300, 1, 0, 5, -1, 1}, {2, 300, 1, 1, 7, -1, 1}, {3, 300, 1, 2, 5, -1, 1},
                             {4, 300, 1, 3, 5, -1, 1}, {4, 300, 1, 4, 0, -1, 1}});
    PropagateRunType(c);
    EXPECT_EQ((V{7, 7, 5, 0, 0}), Row(c, 7));

    // Mostly power chords: everything becomes one but confident triads.
    CFloatMatrix many = Chords({{0, 300, 1, 0, 5, -1, 1}, {0, 300, 1, 1, 5, -1, 1}, {0, 300, 1, 2, 5, -1, 1},
                                {0, 300, 1, 3, 0, -1, 1}, {0, 300, 1, 4, 7, -1, 0.4f}});
    // Share of type 5 is 3 / 5 = 0.6: not enough; confident share 0.8.
    FixPowerChordsByKey(many, 0);
    EXPECT_EQ((V{0, 0, 0, 0, 7}), Row(many, 7));
    // 4 / 5 power chords: all but the confident triad become power chords.
    CFloatMatrix most = Chords({{0, 300, 1, 0, 5, -1, 1}, {0, 300, 1, 1, 5, -1, 1}, {0, 300, 1, 2, 5, -1, 1},
                                {0, 300, 1, 3, 0, -1, 1}, {0, 300, 1, 4, 5, -1, 0.6f}});
    FixPowerChordsByKey(most, 0);
    EXPECT_EQ((V{5, 5, 5, 0, 5}), Row(most, 7));
    // Too few confident chords has the same effect.
    CFloatMatrix unsure = Chords({{0, 300, 1, 0, 7, -1, 0.6f}, {0, 300, 1, 1, 0, -1, 0.4f}});
    FixPowerChordsByKey(unsure, 0);
    EXPECT_EQ((V{5, 5}), Row(unsure, 7));

    // Otherwise power chords become triads of the key's quality: on E (2) in
    // D major the triad is minor.
    CFloatMatrix fix = Chords({{2, 300, 1, 0, 5, -1, 1}, {0, 300, 1, 1, 0, -1, 1}, {5, 300, 0, 2, 0, -1, 1}});
    FixPowerChordsByKey(fix, 0);
    EXPECT_EQ((V{0, 0, 0}), Row(fix, 7));
    EXPECT_EQ((V{0, 1, 0}), Row(fix, 2));
}

TEST(ChordPostProcess, StrongestOfRun)
{
    // Equal chords separated only by weak ones merge at the first one's time.
    CFloatMatrix c = Chords({{0, 250, 1, 100, 0, -1, 1}, {5, 150, 1, 300, 0, -1, 1}, {0, 400, 1, 600, 0, -1, 0.8f},
                             {7, 200.5f, 1, 900, 0, -1, 1}, {9, 200, 1, 1200, 0, -1, 1}});
    KeepStrongestOfRun(c);
    // The run 0, 5, 0 keeps its best (score 400) at 100 ms; 200.5 survives;
    // the 200 joins the previous run (it scores at most 200).
    ASSERT_EQ(2, c.GetCols());
    EXPECT_EQ((V{0, 7}), Row(c, 0));
    EXPECT_EQ((V{400, 200.5f}), Row(c, 1));
    EXPECT_EQ((V{100, 900}), Row(c, 6));
    EXPECT_EQ((V{0.8f, 1}), Row(c, 9));

    CFloatMatrix weak = Chords({{0, 200, 1, 100, 0, -1, 1}});
    KeepStrongestOfRun(weak);
    ExpectNoChord(weak);
}

TEST(ChordPostProcess, CloseChords)
{
    // 329 ms apart: an unsure first chord goes; a sure one stays and removes
    // an unsure second; 330 ms apart both stay.
    CFloatMatrix a = Chords({{0, 300, 1, 0, 0, -1, 0.6f}, {5, 300, 1, 329, 0, -1, 1}, {7, 300, 1, 2000, 0, -1, 1}});
    DropCloseChords(a);
    EXPECT_EQ((V{5, 7}), Row(a, 0));
    CFloatMatrix b = Chords({{0, 300, 1, 0, 0, -1, 1}, {5, 300, 1, 329, 0, -1, 0.6f}, {7, 300, 1, 2000, 0, -1, 1}});
    DropCloseChords(b);
    EXPECT_EQ((V{0, 7}), Row(b, 0));
    CFloatMatrix c = Chords({{0, 300, 1, 0, 0, -1, 0.6f}, {5, 300, 1, 330, 0, -1, 0.6f}, {7, 300, 1, 2000, 0, -1, 1}});
    DropCloseChords(c);
    EXPECT_EQ((V{0, 5, 7}), Row(c, 0));
    // The last chord stays even when it was passed over.
    CFloatMatrix d = Chords({{0, 300, 1, 0, 0, -1, 1}, {5, 300, 1, 100, 0, -1, 0.4f}});
    DropCloseChords(d);
    EXPECT_EQ((V{0, 5}), Row(d, 0));
    // A lone chord is kept.
    CFloatMatrix lone = Chords({{3, 300, 0, 500, 0, -1, 0.4f}});
    DropCloseChords(lone);
    EXPECT_EQ((V{3}), Row(lone, 0));
}

TEST(ChordPostProcess, WholeChainAndNoChord)
{
    CFloatMatrix none;
    none.Create(10, 1, -1.0f);
    CFloatMatrix noBass;
    noBass.Create(7, 1, -1.0f);
    PostProcessChords(none, 0, noBass);
    ExpectNoChord(none);

    CFloatMatrix song = Chords({{0, 500, 1, 0, 0, -1, 1},  {0, 450, 1, 2000, 0, -1, 1},
                                {5, 600, 1, 4000, 0, -1, 1}, {5, 100, 1, 4100, 0, -1, 0.4f},
                                {7, 700, 1, 6000, 5, -1, 0.8f}});
    PostProcessChords(song, 0, noBass);
    // The two D chords merge (best 500 kept at 0 ms), the weak G goes, the A
    // power chord becomes a major triad.
    EXPECT_EQ((V{0, 5, 7}), Row(song, 0));
    EXPECT_EQ((V{0, 4000, 6000}), Row(song, 6));
    EXPECT_EQ((V{0, 0, 0}), Row(song, 7));
    EXPECT_EQ((V{1, 1, 1}), Row(song, 2));
}
