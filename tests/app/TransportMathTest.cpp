#include <gtest/gtest.h>

#include "app/TransportMath.h"

namespace {
// The panel's own geometry with knobs of the skin's sizes.
constexpr int VolTop = 7, VolBottom = 62, VolKnobH = 9;
constexpr int TimeLeft = 94, TimeRight = 284, TimeKnobW = 10;
} // namespace

TEST(TransportMath, VolumeLevelFromKnobEnds)
{
    KnobSpan top = PlaceVolumeKnob(0, VolTop, VolBottom, VolKnobH);
    EXPECT_EQ(top.lo, VolTop);
    EXPECT_EQ(top.hi, VolTop + VolKnobH);
    KnobSpan bottom = PlaceVolumeKnob(500, VolTop, VolBottom, VolKnobH);
    EXPECT_EQ(bottom.hi, VolBottom);
    // An odd knob height puts the lowest centre half a pixel above the zero point.
    EXPECT_LT(VolumeLevelFromKnob(bottom.centre, VolTop, VolBottom, VolKnobH), 0xFFFF / 46 + 1);
    EXPECT_EQ(VolumeLevelFromKnob(VolBottom - VolKnobH / 2, VolTop, VolBottom, VolKnobH), 0);
    EXPECT_EQ(VolumeLevelFromKnob(top.centre, VolTop, VolBottom, VolKnobH), 0xFFFF);
    // Beyond the ends the level is clamped.
    EXPECT_EQ(VolumeLevelFromKnob(-100, VolTop, VolBottom, VolKnobH), 0xFFFF);
    EXPECT_EQ(VolumeLevelFromKnob(500, VolTop, VolBottom, VolKnobH), 0);
}

TEST(TransportMath, VolumeKnobFromLevelInvertsTheLevel)
{
    for (int level : {0, 0x1000, 0x8000, 0xC000, 0xFFFF}) {
        int c = VolumeKnobCentreFromLevel(level, VolTop, VolBottom, VolKnobH);
        EXPECT_GE(c, VolTop + VolKnobH / 2);
        EXPECT_LE(c, VolBottom - VolKnobH / 2);
        int back = VolumeLevelFromKnob(c, VolTop, VolBottom, VolKnobH);
        // One pixel of travel is 0xFFFF / 46 levels.
        EXPECT_NEAR(back, level, 0xFFFF / 46 + 1) << level;
    }
    EXPECT_EQ(VolumeKnobCentreFromLevel(0xFFFF, VolTop, VolBottom, VolKnobH), VolBottom - VolKnobH / 2 - 46);
    EXPECT_EQ(VolumeKnobCentreFromLevel(0, VolTop, VolBottom, VolKnobH), VolBottom - VolKnobH / 2);
}

TEST(TransportMath, OversizedKnobsDoNotDivideByZero)
{
    // Knob exactly as long as the track, and longer.
    for (int h : {55, 80}) {
        EXPECT_EQ(VolumeLevelFromKnob(30, VolTop, VolBottom, h), 0xFFFF);
        EXPECT_EQ(VolumeKnobCentreFromLevel(0x8000, VolTop, VolBottom, h), VolTop + h / 2);
    }
    for (int w : {190, 300}) {
        EXPECT_EQ(SeekPositionFromKnob(150, TimeLeft, TimeRight, w, 60000), 0);
        EXPECT_EQ(TimeKnobCentreFromPosition(30000, 60000, TimeLeft, TimeRight, w), TimeLeft + w / 2);
        KnobSpan s = PlaceTimeKnob(200, TimeLeft, TimeRight, w);
        EXPECT_LE(s.lo, s.hi);
    }
}

TEST(TransportMath, NoSongSeeksToStartAndParksTheKnob)
{
    EXPECT_EQ(SeekPositionFromKnob(200, TimeLeft, TimeRight, TimeKnobW, 0), 0);
    EXPECT_EQ(TimeKnobCentreFromPosition(5000, 0, TimeLeft, TimeRight, TimeKnobW), TimeLeft + 5);
}

TEST(TransportMath, SeekAndKnobPositionsAgree)
{
    const int len = 180000; // 3 minutes over 180 pixels of travel: 1 s per pixel
    EXPECT_EQ(SeekPositionFromKnob(TimeLeft + 5, TimeLeft, TimeRight, TimeKnobW, len), 0);
    EXPECT_EQ(SeekPositionFromKnob(TimeLeft + 5 + 90, TimeLeft, TimeRight, TimeKnobW, len), 90000);
    EXPECT_EQ(TimeKnobCentreFromPosition(90000, len, TimeLeft, TimeRight, TimeKnobW), TimeLeft + 95);
    EXPECT_EQ(TimeKnobCentreFromPosition(89999, len, TimeLeft, TimeRight, TimeKnobW), TimeLeft + 94);
    EXPECT_EQ(TimeKnobCentreFromPosition(len * 2, len, TimeLeft, TimeRight, TimeKnobW), TimeRight - 5);
    EXPECT_EQ(TimeKnobCentreFromPosition(-10, len, TimeLeft, TimeRight, TimeKnobW), TimeLeft + 5);
    // Long songs do not overflow.
    EXPECT_EQ(SeekPositionFromKnob(TimeRight - 5, TimeLeft, TimeRight, TimeKnobW, 2000000000), 2000000000);
}

TEST(TransportMath, TimeKnobAtTheFarRightNarrowsAndSeeksPastTheEnd)
{
    KnobSpan mid = PlaceTimeKnob(150, TimeLeft, TimeRight, TimeKnobW);
    EXPECT_EQ(mid.lo, 145);
    EXPECT_EQ(mid.hi, 155);
    EXPECT_EQ(mid.centre, 150);
    KnobSpan left = PlaceTimeKnob(0, TimeLeft, TimeRight, TimeKnobW);
    EXPECT_EQ(left.lo, TimeLeft);
    EXPECT_EQ(left.centre, TimeLeft + 5);
    KnobSpan right = PlaceTimeKnob(TimeRight, TimeLeft, TimeRight, TimeKnobW);
    EXPECT_EQ(right.hi, TimeRight);
    EXPECT_EQ(right.centre, (TimeRight - 5 + TimeRight) / 2);
    // The document clamps what lies past the end.
    EXPECT_GT(SeekPositionFromKnob(right.centre, TimeLeft, TimeRight, TimeKnobW, 180000), 180000);
}

TEST(TransportMath, TimeText)
{
    EXPECT_STREQ(FormatTimeText(187400), "03:07:4");
    EXPECT_STREQ(FormatTimeText(65430), "01:05:4");
    EXPECT_STREQ(FormatTimeText(600000), "10:00:0");
    EXPECT_STREQ(FormatTimeText(0), "00:00:0");
    EXPECT_STREQ(FormatTimeText(59999), "00:59:9");
    EXPECT_STREQ(FormatTimeText(6000000), "100:00:0");
    EXPECT_STREQ(FormatTimeText(-500), "00:00:0");
}
