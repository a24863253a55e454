#include <gtest/gtest.h>

#include "StageTestUtil.h"
#include "engine/FeatureCurves.h"

using namespace Stages;
using V = std::vector<float>;

TEST(FeatureCurves, HalfWidthsAtTheEngineHop)
{
    EXPECT_EQ(4, HalfWidth(0.33, 0.04));
    EXPECT_EQ(2, HalfWidth(0.21, 0.04));
    EXPECT_EQ(1, HalfWidth(0.09, 0.04));
    EXPECT_EQ(3, HalfWidth(0.25, 0.04));
    EXPECT_EQ(1, HalfWidth(0.08, 0.04));
    EXPECT_EQ(2, HalfWidth(0.2, 0.04));
    EXPECT_EQ(1, HalfWidth(0.121, 0.04));
}

TEST(FeatureCurves, MovingAverageSkipsFrameZeroAndTheEnds)
{
    CFloatMatrix in = Rows({{10, 1, 2, 3, 4, 5}, {0, 40, 80, 120, 160, 200}});
    CFloatMatrix out(in);
    SmoothRows(in, out, 0, 1, 1);
    EXPECT_EQ((V{1, 1.5f, 2, 3, 4, 4.5f}), Row(out, 0));
    EXPECT_EQ(Row(in, 1), Row(out, 1));

    // Nine frames in the interior at 0.33 s.
    CFloatMatrix wide = Rows({{0, 9, 9, 9, 9, 0, 9, 9, 9, 9, 9}});
    CFloatMatrix w(wide);
    SmoothRows(wide, w, 0, 1, HalfWidth(0.33, 0.04));
    EXPECT_EQ(8.0f, w.GetAt(0, 5));

    // A single frame has no neighbour at all.
    CFloatMatrix one = Rows({{7}});
    CFloatMatrix o(one);
    SmoothRows(one, o, 0, 1, 2);
    EXPECT_EQ(0.0f, o.GetAt(0, 0));
}

TEST(FeatureCurves, PeaksAndValleys)
{
    CFloatMatrix out;
    // Plateau at the top: one peak at its first frame; at the bottom: one valley.
    EXPECT_EQ(2, FindPeaksAndValleys(out, Rows({{0, 2, 2, 1, 1, 3}, {0, 1, 2, 3, 4, 5}})));
    EXPECT_EQ((V{2, 1}), Row(out, 0));
    EXPECT_EQ((V{1, 3}), Row(out, 1));
    EXPECT_EQ((V{1, 0}), Row(out, 2));

    // A plateau followed by a rise gives two peaks in a row.
    EXPECT_EQ(2, FindPeaksAndValleys(out, Rows({{1, 3, 3, 5, 4}, {0, 40, 80, 120, 160}})));
    EXPECT_EQ((V{1, 1}), Row(out, 2));
    EXPECT_EQ((V{40, 120}), Row(out, 1));

    // A curve that falls from its first frame (a song sounding from its
    // first sample; frame 0 only echoes the first frames' mean) has its
    // peak there, in both pickers; a silent start has none.
    const CFloatMatrix falling = Rows({{5, 4, 3, 1, 2, 3}, {0, 40, 80, 120, 160, 200}});
    EXPECT_EQ(2, FindPeaksAndValleys(out, falling));
    EXPECT_EQ((V{40, 120}), Row(out, 1));
    EXPECT_EQ((V{1, 0}), Row(out, 2));
    EXPECT_EQ(1, FindPeakColumns(out, falling, 0));
    EXPECT_EQ((V{40}), Row(out, 1));
    EXPECT_EQ(1, FindPeaksAndValleys(out, Rows({{0, 0, 0, 1, 0}, {0, 40, 80, 120, 160}})));
    EXPECT_EQ((V{120}), Row(out, 1));

    // Two frames: nothing, one column of -1.
    EXPECT_EQ(0, FindPeaksAndValleys(out, Rows({{1, 2}, {0, 40}})));
    ASSERT_EQ(1, out.GetCols());
    ASSERT_EQ(3, out.GetRows());
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(-1.0f, out.GetAt(r, 0));
}

TEST(FeatureCurves, PeakColumnsCopyWholeColumns)
{
    CFloatMatrix m = Rows({{0, 5, 5, 1, 2, 1}, {7, 8, 9, 10, 11, 12}, {0, 40, 80, 120, 160, 200}});
    CFloatMatrix out;
    EXPECT_EQ(2, FindPeakColumns(out, m, 0));
    EXPECT_EQ((V{5, 2}), Row(out, 0));
    EXPECT_EQ((V{8, 11}), Row(out, 1));
    EXPECT_EQ((V{40, 160}), Row(out, 2));
    // Peaks of another row.
    EXPECT_EQ(0, FindPeakColumns(out, m, 1));
    ASSERT_EQ(3, out.GetRows());
    ASSERT_EQ(1, out.GetCols());
    EXPECT_EQ((V{-1}), Row(out, 2));
}

TEST(FeatureCurves, ToneChromaSmoothingAndVariance)
{
    V frame(12, 0.0f);
    frame[3] = 12;
    CFloatMatrix chroma = Chroma({frame, frame, frame, frame});
    CFloatMatrix curve;
    SmoothToneChroma(curve, chroma, 0.04);
    // (144 - 144 / 12) / 11 = 12 for a single class of 12.
    EXPECT_EQ((V{12, 12, 12, 12}), Row(curve, 0));
    EXPECT_EQ((V{0, 40, 80, 120}), Row(curve, 1));
    EXPECT_EQ(12.0f, chroma.GetAt(3, 0));

    V rise(12, 0.0f);
    CFloatMatrix steps = Chroma({rise, rise, frame, frame});
    SmoothToneChroma(curve, steps, 0.04);
    // 0.09 s smoothing: frame 1 is the mean of frames 1 and 2.
    EXPECT_EQ(6.0f, steps.GetAt(3, 1));
    EXPECT_EQ(12.0f, steps.GetAt(3, 3));
}

TEST(FeatureCurves, BassChromaAndStrengthCurve)
{
    V a(12, 0.0f), b(12, 0.0f);
    a[5] = 10;
    b[5] = 10;
    b[2] = 30;
    CFloatMatrix bass = Chroma({a, a, a, b, a, a, a});
    CFloatMatrix curve;
    SmoothBassChroma(curve, bass, 0.04);
    // The bass chroma itself is replaced by the 0.2 s (h = 2) smoothing.
    EXPECT_EQ(10.0f, bass.GetAt(5, 3));
    EXPECT_EQ(6.0f, bass.GetAt(2, 3));
    // Strength: max of the h = 1 smoothing (10, 10, 10, 10, 10, 10, 10 for
    // class 5; class 2 reaches 10 at frames 2-4), then smoothed with h = 1.
    EXPECT_EQ((V{10, 10, 10, 10, 10, 10, 10}), Row(curve, 0));
    EXPECT_EQ(240.0f, curve.GetAt(1, 6));
}

TEST(FeatureCurves, ChordnessFollowsTheTriads)
{
    V triad(12, 0.0f);
    triad[0] = 3;
    triad[4] = 3;
    triad[7] = 3;
    V quiet(12, 0.0f);
    CFloatMatrix chroma = Chroma({quiet, quiet, quiet, triad, triad, triad, triad, triad, quiet, quiet, quiet});
    CFloatMatrix keep(chroma);
    CFloatMatrix curve;
    SmoothChordChroma(curve, chroma, 22050, 0.04);
    ASSERT_EQ(2, curve.GetRows());
    ASSERT_EQ(11, curve.GetCols());
    // The 0.33 s smoothing replaces the chroma: frame 5 averages frames 1-9.
    EXPECT_FLOAT_EQ(3.0f * 5 / 9, chroma.GetAt(0, 5));
    EXPECT_EQ(keep.GetAt(12, 7), chroma.GetAt(12, 7));
    // The curve rises towards the chord's middle and falls after it.
    EXPECT_GT(curve.GetAt(0, 5), curve.GetAt(0, 1));
    EXPECT_GT(curve.GetAt(0, 5), curve.GetAt(0, 10));
    EXPECT_EQ(200.0f, curve.GetAt(1, 5));
    CFloatMatrix pv;
    ASSERT_GE(FindPeaksAndValleys(pv, curve), 1);
    bool peakInside = false;
    for (int c = 0; c < pv.GetCols(); ++c)
        if (pv.GetAt(2, c) == 1.0f && pv.GetAt(1, c) >= 120 && pv.GetAt(1, c) <= 280)
            peakInside = true;
    EXPECT_TRUE(peakInside);
}
