#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/AnalysisResults.h"
#include "shared/FloatMatrix.h"

namespace {

// A rows x cols matrix filled with -1 (the engine's "none"), then columns set.
CFloatMatrix Make(int rows, int cols) { CFloatMatrix m; m.Create(rows, cols, -1.0f); return m; }

void SetCol(CFloatMatrix& m, int c, const std::vector<float>& v)
{
    for (int r = 0; r < (int)v.size(); ++r)
        *m.At(r, c) = v[r];
}

struct Matrices {
    CFloatMatrix chords = Make(10, 2), bass = Make(7, 1), tones = Make(7, 1), pairs = Make(3, 1);
    bool Convert(AnalysisResults& out) { return ConvertAnalysisMatrices(&chords, &bass, &tones, &pairs, out); }
};

} // namespace

TEST(AnalysisResults, ChordColumnsBecomeEntries)
{
    Matrices m;
    //            root score major 2nd  sc  mj  time    type bass conf
    SetCol(m.chords, 0, {3.7f, 0.5f, 1.0f, 0, 0, 0, 1500.9f, 7.0f, 10.0f, 0.875f});
    SetCol(m.chords, 1, {11.0f, 0.5f, 0.99f, 0, 0, 0, 3000.0f, 11.0f, -1.0f, 0.999f});
    AnalysisResults out;
    ASSERT_TRUE(m.Convert(out));
    ASSERT_EQ(out.chords.size(), 2u);
    const ChordEntry& a = out.chords[0];
    EXPECT_EQ(a.root, 3);
    EXPECT_EQ(a.time, 1500);
    EXPECT_EQ(a.bass, 10);
    EXPECT_TRUE(a.major);
    EXPECT_STREQ(a.suffix, "7");
    EXPECT_EQ(a.confidence, 87);
    EXPECT_EQ(a.visible, 1);
    EXPECT_TRUE(a.name.IsEmpty());
    const ChordEntry& b = out.chords[1];
    EXPECT_FALSE(b.major); // 0.99 is not above 0.99
    EXPECT_STREQ(b.suffix, ""); // code 11 has no suffix
    EXPECT_EQ(b.bass, -1);
    EXPECT_EQ(b.confidence, 99);
}

TEST(AnalysisResults, SuffixTable)
{
    const char* expect[] = {"", "", "", "", "sus4", "5", "6", "7", "maj7", "9", "add9", ""};
    for (int code = 0; code < 12; ++code)
        EXPECT_STREQ(ChordSuffixFromCode(code), expect[code]) << code;
    EXPECT_STREQ(ChordSuffixFromCode(-1), "");
}

TEST(AnalysisResults, BassColumnsBecomeNotes)
{
    Matrices m;
    m.bass = Make(7, 2);
    SetCol(m.bass, 0, {5.0f, 0.3f, 7.0f, 0.1f, 250.5f, 2.0f, 0.8f});
    SetCol(m.bass, 1, {0.0f, 0.3f, 7.0f, 0.1f, 0.0f, 1.0f, 1.0f});
    AnalysisResults out;
    ASSERT_TRUE(m.Convert(out));
    ASSERT_EQ(out.bassNotes.size(), 2u);
    EXPECT_EQ(out.bassNotes[0].pitch, 5);
    EXPECT_EQ(out.bassNotes[0].time, 250);
    EXPECT_EQ(out.bassNotes[0].octave, 2);
    EXPECT_EQ(out.bassNotes[0].placement, -1);
    EXPECT_EQ(out.bassNotes[0].level, 80);
    EXPECT_EQ(out.bassNotes[0].visible, 1);
    EXPECT_EQ(out.bassNotes[1].pitch, 0); // A at time 0 is a real note
    EXPECT_EQ(out.bassNotes[1].level, 100);
}

TEST(AnalysisResults, PitchCodesArePackedWithTwelveForNone)
{
    Matrices m;
    m.tones = Make(7, 2);
    SetCol(m.tones, 0, {0.0f, 3.0f, 7.9f, -1.0f, 12.0f, 12.0f, 1000.0f});
    SetCol(m.tones, 1, {11.0f, -1.0f, -1.0f, -1.0f, -1.0f, 12.0f, 2000.0f});
    SetCol(m.pairs, 0, {9.0f, -1.0f, 1234.0f});
    AnalysisResults out;
    ASSERT_TRUE(m.Convert(out));
    ASSERT_EQ(out.pitchSetCodes.size(), 2u);
    EXPECT_EQ(out.pitchSetCodes[0], 0x0 | 3 << 4 | 7 << 8 | 12 << 12 | 12 << 16 | 12 << 20);
    EXPECT_EQ(out.pitchSetCodes[1], 11 | 12 << 4 | 12 << 8 | 12 << 12 | 12 << 16 | 12 << 20);
    EXPECT_EQ(out.pitchSetTimes, (std::vector<int>{1000, 2000}));
    ASSERT_EQ(out.pitchPairCodes.size(), 1u);
    EXPECT_EQ(out.pitchPairCodes[0], 9 | 12 << 4);
    EXPECT_EQ(out.pitchPairTimes[0], 1234);
    EXPECT_EQ(PitchField(-0.5f), 0);
    EXPECT_EQ(PitchField(11.99f), 11);
    EXPECT_EQ(PitchField(NAN), 12);
}

TEST(AnalysisResults, NonePlaceholdersGiveNoRecords)
{
    // A result with chords but no bass notes and no pitch sets: the engine
    // leaves one column of -1 in each.
    Matrices m;
    m.chords = Make(10, 1);
    SetCol(m.chords, 0, {2.0f, 0.5f, 1.0f, 0, 0, 0, 0.0f, 0.0f, -1.0f, 0.5f});
    AnalysisResults out;
    out.bassNotes.resize(3); // stale lists are replaced
    ASSERT_TRUE(m.Convert(out));
    EXPECT_EQ(out.chords.size(), 1u);
    EXPECT_TRUE(out.bassNotes.empty());
    EXPECT_TRUE(out.pitchSetCodes.empty());
    EXPECT_TRUE(out.pitchSetTimes.empty());
    EXPECT_TRUE(out.pitchPairCodes.empty());
    EXPECT_TRUE(out.pitchPairTimes.empty());
}

TEST(AnalysisResults, OneByOneChordMatrixIsAStoppedRun)
{
    Matrices m;
    m.chords.Allocate(1, 1); // unfilled: its element is never read
    *m.chords.At(0, 0) = NAN;
    SetCol(m.bass, 0, {5.0f, 0, 0, 0, 100.0f, 2.0f, 1.0f});
    AnalysisResults out;
    out.chords.resize(2);
    EXPECT_FALSE(m.Convert(out));
    EXPECT_TRUE(out.chords.empty());
    EXPECT_TRUE(out.bassNotes.empty());
    EXPECT_TRUE(IsStoppedRun(nullptr));
    EXPECT_FALSE(ConvertAnalysisMatrices(nullptr, &m.bass, &m.tones, &m.pairs, out));
}

TEST(AnalysisResults, ShortOrMissingMatricesAreSkippedNotRead)
{
    Matrices m;
    SetCol(m.chords, 0, {1.0f, 0, 1.0f, 0, 0, 0, 10.0f, 0, -1.0f, 1.0f});
    CFloatMatrix narrowBass = Make(3, 4);
    AnalysisResults out;
    ASSERT_TRUE(ConvertAnalysisMatrices(&m.chords, &narrowBass, nullptr, nullptr, out));
    EXPECT_EQ(out.chords.size(), 1u); // the second column is all -1
    EXPECT_TRUE(out.bassNotes.empty());
    EXPECT_TRUE(out.pitchSetCodes.empty());
}

TEST(AnalysisResults, HugeValuesDoNotTrap)
{
    EXPECT_EQ(TruncateResult(3e10f), 0);
    EXPECT_EQ(TruncateResult(-3e10f), 0);
    EXPECT_EQ(TruncateResult(INFINITY), 0);
    EXPECT_EQ(TruncateResult(-2.9f), -2);
}
