#include <gtest/gtest.h>

#include "StageTestUtil.h"
#include "engine/BassNotes.h"
#include "engine/FeatureCurves.h"
#include "engine/PitchSets.h"

using namespace Stages;
using V = std::vector<float>;

TEST(PitchSets, RankingRepeatsZeroedEntries)
{
    float v[12] = {0, 5, 5, 2, 0, 0, 0, 0, 0, 0, 0, 0};
    std::array<float, 12> r = TopPitchClasses(v);
    EXPECT_EQ((std::array<float, 12>{1, 5, 2, 5, 3, 2, 0, 0, 0, 0, 0, 0}), r);
    // The first five picks are zeroed in the scratch copy.
    EXPECT_EQ(0.0f, v[1]);
    EXPECT_EQ(0.0f, v[3]);
}

TEST(PitchSets, TonesAtThePeaks)
{
    // Frame 0: only class 7 exceeds twice the sixth value; frame 2: six or
    // fewer non-zero values, so every positive one of the first five counts.
    V f0 = {1, 1, 1, 1, 1, 1, 1, 9, 1, 1, 1, 1};
    V f1(12, 0.0f);
    V f2 = {0, 0, 4, 0, 0, 0, 3, 0, 0, 0, 0, 2};
    CFloatMatrix chroma = Chroma({f0, f1, f2, f1});
    CFloatMatrix top;
    TopSixPerFrame(top, chroma);
    ASSERT_EQ(13, top.GetRows());
    EXPECT_EQ((V{7, 9, 0, 1, 1, 1, 2, 1, 3, 1, 4, 1, 0}), (V{top.GetAt(0, 0), top.GetAt(1, 0), top.GetAt(2, 0),
                                                         top.GetAt(3, 0), top.GetAt(4, 0), top.GetAt(5, 0),
                                                         top.GetAt(6, 0), top.GetAt(7, 0), top.GetAt(8, 0),
                                                         top.GetAt(9, 0), top.GetAt(10, 0), top.GetAt(11, 0),
                                                         top.GetAt(12, 0)}));

    CFloatMatrix peaks = Rows({{5, 6}, {0, 80}});
    CFloatMatrix cand, strongest;
    SelectTones(peaks, 2, top, cand, strongest);
    ASSERT_EQ(6, cand.GetRows());
    ASSERT_EQ(2, cand.GetCols());
    EXPECT_EQ((V{7, 12, 12, 12, 12, 0}), (V{cand.GetAt(0, 0), cand.GetAt(1, 0), cand.GetAt(2, 0), cand.GetAt(3, 0),
                                          cand.GetAt(4, 0), cand.GetAt(5, 0)}));
    EXPECT_EQ((V{2, 6, 11, 12, 12, 80}), (V{cand.GetAt(0, 1), cand.GetAt(1, 1), cand.GetAt(2, 1), cand.GetAt(3, 1),
                                          cand.GetAt(4, 1), cand.GetAt(5, 1)}));
    EXPECT_EQ((V{7, 2}), Row(strongest, 0));
    EXPECT_EQ((V{9, 4}), Row(strongest, 1));

    CFloatMatrix tone;
    BuildToneMatrix(tone, cand);
    ASSERT_EQ(7, tone.GetRows());
    // Engine A (7) is output 0, G# (6) is 11; none is -1; row 5 is 12.
    EXPECT_EQ((V{0, 7}), Row(tone, 0));
    EXPECT_EQ((V{-1, 11}), Row(tone, 1));
    EXPECT_EQ((V{-1, 4}), Row(tone, 2));
    EXPECT_EQ((V{-1, -1}), Row(tone, 4));
    EXPECT_EQ((V{12, 12}), Row(tone, 5));
    EXPECT_EQ((V{0, 80}), Row(tone, 6));
}

TEST(PitchSets, NoTonePeakGivesAnEmptySetAndNoList)
{
    CFloatMatrix chroma = Chroma({V(12, 0.0f), V(12, 0.0f)});
    CFloatMatrix top, peaks, cand, strongest, tone;
    TopSixPerFrame(top, chroma);
    EXPECT_EQ(0, FindPeakColumns(peaks, top, 1));
    SelectTones(peaks, 0, top, cand, strongest);
    EXPECT_EQ(1, strongest.GetRows());
    EXPECT_EQ(1, strongest.GetCols());
    BuildToneMatrix(tone, cand);
    ASSERT_EQ(1, tone.GetCols());
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(-1.0f, tone.GetAt(r, 0));
}

TEST(PitchSets, BassToneAndFinalConversionKeepPlaceholders)
{
    CFloatMatrix peaks = Rows({{7, -1}, {50, -1}, {6, -1}, {20, -1}, {0, -1}, {0, -1}, {40, 80}, {1, -1}});
    CFloatMatrix bt;
    BuildBassToneMatrix(bt, peaks);
    EXPECT_EQ((V{0, -1}), Row(bt, 0));
    EXPECT_EQ((V{11, -1}), Row(bt, 1));
    EXPECT_EQ((V{40, 80}), Row(bt, 2));
    CFloatMatrix none;
    none.Create(8, 0, 0.0f);
    BuildBassToneMatrix(bt, none);
    EXPECT_EQ(3, bt.GetRows());
    EXPECT_EQ((V{-1}), Row(bt, 0));
    EXPECT_EQ((V{-1}), Row(bt, 2));

    CFloatMatrix chord, bass;
    chord.Create(10, 1, -1.0f);
    bass.Create(7, 1, -1.0f);
    ConvertResultPitches(chord, bass);
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(-1.0f, chord.GetAt(r, 0));
    EXPECT_EQ(-1.0f, bass.GetAt(0, 0));
    EXPECT_EQ(-1.0f, bass.GetAt(2, 0));
    *chord.At(0, 0) = 7;
    *chord.At(3, 0) = 11.5f;
    *chord.At(8, 0) = 0;
    ConvertResultPitches(chord, bass);
    EXPECT_EQ(0.0f, chord.GetAt(0, 0));
    EXPECT_EQ(4.0f, chord.GetAt(3, 0));
    EXPECT_EQ(5.0f, chord.GetAt(8, 0));
}

TEST(BassNotes, PeakMatrixAndStrengthFilter)
{
    CFloatMatrix curvePeaks = Rows({{5, 6, 7}, {40, 80, 120}});
    CFloatMatrix octaves = Rows({{2, 1, 0, 2}, {0, 40, 80, 120}});
    // The last frame of the top-three matrix is never matched.
    CFloatMatrix top = Rows({{0, 3, 4, 9}, {1, 30, 2, 90}, {0, 5, 5, 5}, {0, 6, 1, 6}, {0, 8, 8, 8},
                             {0, 1, 0, 1}, {0, 40, 80, 120}});
    CFloatMatrix bass;
    BuildBassPeaks(bass, curvePeaks, 3, octaves, top);
    ASSERT_EQ(8, bass.GetRows());
    EXPECT_EQ((V{3, 4, -1}), Row(bass, 0));
    EXPECT_EQ((V{30, 2, -1}), Row(bass, 1));
    EXPECT_EQ((V{40, 80, 120}), Row(bass, 6));
    EXPECT_EQ((V{1, 0, 2}), Row(bass, 7));

    // mean (30 + 2 - 1) / 3 = 10.33, threshold trunc(3.1) = 3.
    FilterBassByStrength(bass);
    EXPECT_EQ((V{3}), Row(bass, 0));

    // A mean below 10/3 gives threshold 0: only positive values stay.
    CFloatMatrix weak = Rows({{1, 2, 3}, {1, 0, 2}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 1, 2}, {0, 0, 0}});
    FilterBassByStrength(weak);
    EXPECT_EQ((V{1, 3}), Row(weak, 0));

    // Nothing survives: no bass-tone event and no note.
    CFloatMatrix empty;
    empty.Create(8, 2, -1.0f);
    FilterBassByStrength(empty);
    EXPECT_EQ(0, empty.GetCols());
    CFloatMatrix bt, chroma = Chroma({V(12, 0.0f)});
    BuildBassToneMatrix(bt, empty);
    EXPECT_EQ(1, bt.GetCols());
    EXPECT_EQ(-1.0f, bt.GetAt(0, 0));
    RefineBassNotes(empty, chroma, octaves, Rows({{0, 2, 4, 5, 7, 9, 11}}), top);
    ASSERT_EQ(7, empty.GetRows());
    ASSERT_EQ(1, empty.GetCols());
    for (int r = 0; r < 7; ++r)
        EXPECT_EQ(-1.0f, empty.GetAt(r, 0));
}

namespace {

// One peak per frame of `frames`, octave 1, rows 0-3 as a marker.
CFloatMatrix PeaksAtFrames(int count)
{
    CFloatMatrix p;
    p.Create(8, count, 0.0f);
    for (int c = 0; c < count; ++c) {
        *p.At(0, c) = 100.0f + c;
        *p.At(6, c) = 40.0f * c;
        *p.At(7, c) = 1.0f;
    }
    return p;
}

CFloatMatrix TopWithLevel(int frames, float level)
{
    CFloatMatrix t;
    t.Create(7, frames, 0.0f);
    for (int c = 0; c < frames; ++c)
        *t.At(1, c) = level;
    return t;
}

V Frame(int p1, float e1, int p2, float e2, float rest)
{
    V f(12, rest);
    f[p1] = e1;
    f[p2] = e2;
    return f;
}

} // namespace

TEST(BassNotes, RefineKeepsOnlyConfidentNotes)
{
    const CFloatMatrix keyTones = Rows({{0, 2, 4, 5, 7, 9, 11}}); // D major
    CFloatMatrix chroma = Chroma({
        Frame(0, 100, 7, 20, 10),  // ratio 10 / 10 = 10 > 3: 1.0
        Frame(0, 100, 7, 20, 40),  // ratio 2.5: 0.8
        Frame(0, 100, 7, 20, 50),  // ratio 2: dropped
        Frame(4, 90, 5, 20, 10),   // semitone clash below 100: dropped
        Frame(4, 120, 5, 20, 10),  // clash at 120 is fine
        Frame(1, 60, 7, 20, 0),    // key-foreign: 60 needs more than 65
        Frame(2, 90, 7, 20, 0),
    });
    CFloatMatrix bass = PeaksAtFrames(7);
    *bass.At(6, 6) = 241; // a peak whose time matches no frame is dropped
    CFloatMatrix octaves = Rows({{0}, {0}});
    RefineBassNotes(bass, chroma, octaves, keyTones, TopWithLevel(7, 50));
    ASSERT_EQ(7, bass.GetRows());
    EXPECT_EQ((V{100, 101, 104}), Row(bass, 0));
    EXPECT_EQ((V{0, 40, 160}), Row(bass, 4));
    EXPECT_EQ((V{1, 1, 1}), Row(bass, 5));
    EXPECT_EQ((V{1.0f, 0.8f, 1.0f}), Row(bass, 6));

    // The level is capped at 130 before the key factor: 130 x 1.3 = 169.
    CFloatMatrix loud = Chroma({Frame(1, 160, 7, 20, 1), Frame(1, 170, 7, 20, 1), Frame(0, 131, 7, 20, 1)});
    CFloatMatrix p2 = PeaksAtFrames(3);
    RefineBassNotes(p2, loud, octaves, keyTones, TopWithLevel(3, 500));
    EXPECT_EQ((V{101, 102}), Row(p2, 0));

    // Level 30 with the floor of 40, and an unknown octave drops the note.
    CFloatMatrix soft = Chroma({Frame(0, 41, 7, 1, 0), Frame(0, 39, 7, 1, 0), Frame(0, 80, 7, 1, 0)});
    CFloatMatrix p3 = PeaksAtFrames(3);
    *p3.At(7, 2) = -1;
    RefineBassNotes(p3, soft, octaves, keyTones, TopWithLevel(3, 30));
    EXPECT_EQ((V{100}), Row(p3, 0));
}

TEST(BassNotes, MergeKeepsTheLowestOctaveOfARun)
{
    CFloatMatrix b = Rows({{5, 5, 5, 3, 3}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 1, 2, 3, 4},
                           {2, 1, 2, 2, 0}, {1, 1, 1, 1, 1}});
    MergeEqualBassNotes(b);
    EXPECT_EQ((V{2, 1, 1, 2, 0}), Row(b, 5));
}
