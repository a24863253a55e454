// Chroma folding and thresholds, and the key template.
#include <gtest/gtest.h>

#include <vector>

#include "engine/KeyEstimate.h"

namespace {
CFloatMatrix KeyTones(std::initializer_list<int> classes)
{
    CFloatMatrix g;
    g.Create(1, 7, 0.0f);
    int i = 0;
    for (int c : classes)
        *g.At(0, i++) = (float)c;
    return g;
}

// A spectrogram of n columns with one steady value in one row.
CFloatMatrix Spectrogram(int n, int row, float value)
{
    CFloatMatrix s;
    s.Create(73, n, 0.0f);
    for (int c = 0; c < n; ++c) {
        *s.At(row, c) = value;
        *s.At(72, c) = 40.0f * c;
    }
    return s;
}

struct Chroma {
    CFloatMatrix F, E, W;
    explicit Chroma(CFloatMatrix& S, const CFloatMatrix& G)
    {
        int n = S.GetCols();
        F.Create(13, n, 0.0f);
        E.Create(13, n, 0.0f);
        W.Create(2, n, 0.0f);
        CAnalysisEngine::ComputeChroma(S, F, E, W, G, 0.04);
    }
};
} // namespace

TEST(ComputeChroma, StrongNoteKeepsItsValueAndFoldsIntoBothChromas)
{
    // Row 30 = octave 2, class 6 (G#); a key tone.
    CFloatMatrix G = KeyTones({6, 1, 2, 3, 4, 5, 0});
    CFloatMatrix S = Spectrogram(10, 30, 60.0f);
    Chroma c(S, G);
    for (int j = 1; j < 10; ++j) {
        EXPECT_FLOAT_EQ(60.0f, *S.At(30, j)) << j;
        EXPECT_FLOAT_EQ(60.0f, *c.F.At(6, j)) << j;
        EXPECT_FLOAT_EQ(60.0f, *c.E.At(6, j)) << j;
        EXPECT_EQ(2.0f, *c.W.At(0, j)) << j;
        EXPECT_EQ(40.0f * j, *c.F.At(12, j));
        EXPECT_EQ(40.0f * j, *c.E.At(12, j));
        EXPECT_EQ(40.0f * j, *c.W.At(1, j));
    }
}

TEST(ComputeChroma, WeakComponentsGiveWayToTheirHeight)
{
    // 40 in the third octave is below 50: replaced by 40 - floor(neighbours
    // 20 and 10) = 40 - (10 + 20) / 2 = 25.
    CFloatMatrix G = KeyTones({6, 1, 2, 3, 4, 5, 0});
    CFloatMatrix S;
    S.Create(73, 8, 0.0f);
    for (int c = 0; c < 8; ++c) {
        *S.At(28, c) = 10.0f;
        *S.At(29, c) = 20.0f;
        *S.At(30, c) = 40.0f;
        *S.At(31, c) = 20.0f;
    }
    Chroma c(S, G);
    EXPECT_FLOAT_EQ(25.0f, *S.At(30, 4));
    // Row 31 (class 7, not a key tone: 80 needed): floor (20 + 0) / 2, 10 left.
    EXPECT_FLOAT_EQ(10.0f, *S.At(31, 4));
    // Rows 28 and 29 are no peak above their floors: nothing left.
    EXPECT_FLOAT_EQ(0.0f, *S.At(28, 4));
    EXPECT_FLOAT_EQ(0.0f, *S.At(29, 4));
    EXPECT_FLOAT_EQ(25.0f, *c.F.At(6, 4));
    EXPECT_FLOAT_EQ(10.0f, *c.E.At(7, 4));
    EXPECT_FLOAT_EQ(0.0f, *c.E.At(4, 4));
    EXPECT_EQ(2.0f, *c.W.At(0, 4));
}

TEST(ComputeChroma, NonKeyTonesNeedMoreInTheLowRegisters)
{
    // Class 6 is not among the key tones: 100 in the lowest octave (row 6) is
    // below 110 and 70 in the second (row 18) below 80.
    CFloatMatrix G = KeyTones({0, 1, 2, 3, 4, 5, 7});
    CFloatMatrix S = Spectrogram(6, 18, 70.0f);
    Chroma c(S, G);
    EXPECT_FLOAT_EQ(70.0f, *S.At(18, 3)); // floor 0: height = value
    CFloatMatrix S2 = Spectrogram(6, 6, 100.0f);
    *S2.At(5, 3) = 30.0f; // smoothed over columns 1..5 to 6
    *S2.At(7, 3) = 30.0f;
    Chroma c2(S2, G);
    // Floor (min(0, 6, 100) + 6) / 2 = 3: a height of 97 is below 110.
    EXPECT_FLOAT_EQ(97.0f, *S2.At(6, 3));
    CFloatMatrix S3 = Spectrogram(6, 6, 100.0f);
    *S3.At(5, 3) = 30.0f;
    *S3.At(7, 3) = 30.0f;
    CFloatMatrix keyG = KeyTones({6, 1, 2, 3, 4, 5, 7});
    Chroma c3(S3, keyG);
    EXPECT_FLOAT_EQ(100.0f, *S3.At(6, 3)); // a key tone needs only 80
}

TEST(ComputeChroma, SilentColumnAndSingleColumn)
{
    CFloatMatrix G = KeyTones({0, 1, 2, 3, 4, 5, 6});
    CFloatMatrix S = Spectrogram(4, 0, 0.0f);
    Chroma c(S, G);
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(0.0f, *c.W.At(0, j));
        for (int k = 0; k < 12; ++k)
            EXPECT_EQ(0.0f, *c.F.At(k, j));
    }
    CFloatMatrix one = Spectrogram(1, 40, 90.0f);
    Chroma c1(one, G);
    EXPECT_EQ(0.0f, *one.At(40, 0)); // no neighbour: the mean is 0
}

TEST(EstimateKey, MajorScaleAndKeyTones)
{
    // G major (internal 5): G A B C D E F#, tonic strongest.
    double profile[12] = {};
    const int scale[7] = {5, 7, 9, 10, 0, 2, 4};
    const double weight[7] = {9, 5, 6, 4, 8, 3, 2};
    for (int i = 0; i < 7; ++i)
        profile[scale[i]] = weight[i];
    profile[1] = 1.0; // a chromatic stray
    CFloatMatrix none;
    none.Create(1, 1, 0.0f);
    int key = -5;
    CFloatMatrix tones = CAnalysisEngine::EstimateKey(profile, key, none);
    EXPECT_EQ(5, key);
    ASSERT_EQ(1, tones.GetRows());
    ASSERT_EQ(7, tones.GetCols());
    const int want[7] = {5, 0, 9, 7, 10, 2, 4};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ((float)want[i], *tones.At(0, i)) << i;
    for (int c : scale)
        EXPECT_EQ(0.0, profile[c]); // picked entries are zeroed
    EXPECT_EQ(1.0, profile[1]);
}

TEST(EstimateKey, FewEntriesRepeatAnIndex)
{
    double profile[12] = {};
    profile[3] = 2.0;
    profile[8] = 5.0;
    CFloatMatrix none;
    none.Create(1, 1, 0.0f);
    int key = 0;
    CFloatMatrix tones = CAnalysisEngine::EstimateKey(profile, key, none);
    const float want[7] = {8, 3, 3, 3, 3, 3, 3};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(want[i], *tones.At(0, i)) << i;
}

TEST(EstimateKey, WeightedPairsAndTheCloseCall)
{
    // The profile says D major; the pairs (A major material) decide: A
    // scores 39, E major 36, D major 35.
    double profile[12] = {9, 0, 5, 0, 5, 6, 0, 8, 0, 4, 0, 4};
    CFloatMatrix pairs;
    const float pc[] = {7, 9, 11, 0, 2, 4, 6};
    const float w[] = {10, 5, 5, 3, 8, 4, 4};
    pairs.Create(2, 7, 0.0f);
    for (int i = 0; i < 7; ++i) {
        *pairs.At(0, i) = pc[i];
        *pairs.At(1, i) = w[i];
    }
    int key = 0;
    CFloatMatrix tones = CAnalysisEngine::EstimateKey(profile, key, pairs);
    EXPECT_EQ(7, key);
    EXPECT_EQ(0.0f, *tones.At(0, 0)); // key tones still come from the profile

    // Two keys within 5 %: the one whose own tonic is stronger wins.
    // E major (2): E F# G# A B C# D#; B major (9): B C# D# E F# G# A#.
    double hist[12] = {};
    hist[2] = 10; hist[4] = 10; hist[6] = 10; hist[7] = 10; hist[9] = 30;
    hist[11] = 10; hist[1] = 9.6; hist[8] = 0.0;
    // E: 10+10+10+10+30+10+9.6 = 89.6; B: 30+10+9.6+10+10+10+0 = 79.6 (A# = 8)
    hist[8] = 9.0; // B: 88.6, within 5 % of E's 89.6; tonic B (30) > E (10)
    int closeKey = 0;
    CFloatMatrix none;
    none.Create(1, 1, 0.0f);
    CAnalysisEngine::EstimateKey(hist, closeKey, none);
    EXPECT_EQ(9, closeKey);
}

TEST(EstimateKey, UndecidedHistogramAsksForTheFallback)
{
    double profile[12] = {};
    CFloatMatrix none;
    none.Create(1, 1, 0.0f);
    int key = 0;
    CAnalysisEngine::EstimateKey(profile, key, none);
    EXPECT_GE(key, 12); // every tonic scored alike
    // Pairs outside 0..11 are skipped; only rows 0 and 1 are read.
    CFloatMatrix pairs;
    pairs.Create(3, 2, 0.0f);
    *pairs.At(0, 0) = 12.0f;
    *pairs.At(1, 0) = 50.0f;
    *pairs.At(0, 1) = -1.0f;
    *pairs.At(1, 1) = 50.0f;
    double p2[12] = {3, 0, 2, 0, 0, 1, 0, 1, 0, 0, 0, 0};
    CAnalysisEngine::EstimateKey(p2, key, pairs);
    EXPECT_GE(key, 12);
}
