#include <gtest/gtest.h>

#include <cstring>

#include "sound/CdTrack.h"

TEST(CdTrackNumber, TwoCharactersBeforeTheFirstDot)
{
    EXPECT_EQ(CdTrackNumberFromPath("E:\\Track07.cda"), 7);
    EXPECT_EQ(CdTrackNumberFromPath("E:\\Track12.cda"), 12);
    EXPECT_EQ(CdTrackNumberFromPath("e:\\track99.CDA"), 99);
    EXPECT_EQ(CdTrackNumberFromPath("..E:\\Track03.cda"), 3);  // leading dots skipped
    EXPECT_EQ(CdTrackNumberFromPath("E:\\Track 5.cda"), 5);
    EXPECT_EQ(CdTrackNumberFromPath("E:\\Track5x.cda"), 5);
    EXPECT_EQ(CdTrackNumberFromPath("E:\\Trackx5.cda"), 0);   // not a number
    EXPECT_EQ(CdTrackNumberFromPath("E:\\Track100.cda"), 0);
    EXPECT_EQ(CdTrackNumberFromPath("E:\\A.B\\Track04.cda"), 0); // the first dot counts
    EXPECT_EQ(CdTrackNumberFromPath("7.cda"), 7);
    EXPECT_EQ(CdTrackNumberFromPath("Track08"), 8);
    EXPECT_EQ(CdTrackNumberFromPath(""), 0);
    EXPECT_EQ(CdTrackNumberFromPath(nullptr), 0);
}

namespace {

void PutEntry(TOC& toc, int index, uint32_t address)
{
    uint8_t* p = toc.tracks[index].addr;
    p[0] = (uint8_t)(address >> 24);
    p[1] = (uint8_t)(address >> 16);
    p[2] = (uint8_t)(address >> 8);
    p[3] = (uint8_t)address;
}

TOC ThreeTracks()
{
    TOC toc;
    memset(&toc, 0, sizeof toc);
    toc.firstTrack = 1;
    toc.lastTrack = 3;
    PutEntry(toc, 0, 0);
    PutEntry(toc, 1, 0x00010203);
    PutEntry(toc, 2, 0x00020000);
    PutEntry(toc, 3, 0x00030000); // lead-out
    return toc;
}

} // namespace

TEST(CdTrackFrames, RangeUpToTheNextEntryOrTheLeadOut)
{
    TOC toc = ThreeTracks();
    uint32_t start = 1, count = 1;
    ASSERT_TRUE(CdTrackFrames(toc, 1, start, count));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(count, 0x00010203u);
    ASSERT_TRUE(CdTrackFrames(toc, 2, start, count));
    EXPECT_EQ(start, 0x00010203u);
    EXPECT_EQ(count, 0x00020000u - 0x00010203u);
    ASSERT_TRUE(CdTrackFrames(toc, 3, start, count));
    EXPECT_EQ(start, 0x00020000u);
    EXPECT_EQ(count, 0x00010000u);
}

TEST(CdTrackFrames, RejectsTracksOffTheDiscAndFallingRanges)
{
    TOC toc = ThreeTracks();
    uint32_t start = 0, count = 0;
    EXPECT_FALSE(CdTrackFrames(toc, 0, start, count));
    EXPECT_FALSE(CdTrackFrames(toc, 4, start, count));
    EXPECT_FALSE(CdTrackFrames(toc, -1, start, count));
    EXPECT_FALSE(CdTrackFrames(toc, 100, start, count));
    toc.firstTrack = 2;
    EXPECT_FALSE(CdTrackFrames(toc, 1, start, count));
    EXPECT_TRUE(CdTrackFrames(toc, 2, start, count));
    PutEntry(toc, 3, 0x00020000); // lead-out at the track's start: empty
    EXPECT_FALSE(CdTrackFrames(toc, 3, start, count));
    PutEntry(toc, 3, 0x00010000); // before it: would wrap
    EXPECT_FALSE(CdTrackFrames(toc, 3, start, count));
    toc.lastTrack = 99;
    PutEntry(toc, 98, 5);
    PutEntry(toc, 99, 9);
    ASSERT_TRUE(CdTrackFrames(toc, 99, start, count));
    EXPECT_EQ(count, 4u);
}

TEST(CdRipPercent, TruncatesAndStaysInRangeForLongTracks)
{
    EXPECT_EQ(CdRipPercent(131, 131), 0);
    EXPECT_EQ(CdRipPercent(1, 131), 99);
    EXPECT_EQ(CdRipPercent(65, 130), 50);
    EXPECT_EQ(CdRipPercent(0, 131), 100);
    // 80 minutes of frames and beyond: no 32-bit product in the way.
    EXPECT_EQ(CdRipPercent(180000, 360000), 50);
    EXPECT_EQ(CdRipPercent(1, 0xFFFFFFFFu), 99);
    EXPECT_EQ(CdRipPercent(0x7FFFFFFFu, 0xFFFFFFFFu), 50);
    EXPECT_EQ(CdRipPercent(5, 0), 0);
}
