#include <gtest/gtest.h>

#include "akrip/CueSheet.h"

namespace {

bool Parse(const std::string& text, CueSheet& sheet)
{
    std::string error;
    bool ok = ParseCueSheet(text, sheet, error);
    EXPECT_EQ(ok, error.empty()) << error;
    return ok;
}

bool Parses(const std::string& text)
{
    CueSheet sheet;
    return Parse(text, sheet);
}

} // namespace

TEST(CueSheet, ReadsTracksWithPregapsCommentsAndCrLf)
{
    CueSheet sheet;
    ASSERT_TRUE(Parse("\xEF\xBB\xBFREM made for a test\r\n"
                      "PERFORMER \"Nobody\"\r\n"
                      "FILE \"my disc.bin\" BINARY\r\n"
                      "  TRACK 01 AUDIO\r\n"
                      "    TITLE \"One\"\r\n"
                      "    INDEX 01 00:00:00\r\n"
                      "  track 02 audio\r\n"
                      "    FLAGS DCP\r\n"
                      "    INDEX 00 00:02:10\r\n"
                      "    INDEX 01 00:04:00\r\n"
                      "  TRACK 3 AUDIO\r\n"
                      "    INDEX 01 01:00:74\r\n",
                      sheet));
    EXPECT_EQ(sheet.file, "my disc.bin");
    ASSERT_EQ(sheet.trackStarts.size(), 3u);
    EXPECT_EQ(sheet.trackStarts[0], 0u);
    EXPECT_EQ(sheet.trackStarts[1], 4u * 75);
    EXPECT_EQ(sheet.trackStarts[2], 60u * 75 + 74);
}

TEST(CueSheet, RejectsMalformedSheets)
{
    const std::string file = "FILE a.bin BINARY\n";
    const std::string one = "TRACK 01 AUDIO\nINDEX 01 00:00:00\n";
    EXPECT_TRUE(Parses(file + one));
    EXPECT_FALSE(Parses(""));
    EXPECT_FALSE(Parses(file));                                           // no track
    EXPECT_FALSE(Parses(one));                                            // no file
    EXPECT_FALSE(Parses("FILE \"a.bin BINARY\n" + one));                  // open quote
    EXPECT_FALSE(Parses("FILE a.wav WAVE\n" + one));                      // not raw
    EXPECT_FALSE(Parses("FILE a.bin\n" + one));                           // no type
    EXPECT_FALSE(Parses(file + one + "FILE b.bin BINARY\n"));             // two files
    EXPECT_FALSE(Parses(file + "TRACK 01 MODE1/2352\nINDEX 01 00:00:00\n"));
    EXPECT_FALSE(Parses(file + "TRACK 02 AUDIO\nINDEX 01 00:00:00\n"));   // not from 1
    EXPECT_FALSE(Parses(file + one + "TRACK 03 AUDIO\nINDEX 01 00:10:00\n"));
    EXPECT_FALSE(Parses(file + "TRACK 01 AUDIO\n"));                      // no INDEX 01
    EXPECT_FALSE(Parses(file + "TRACK 01 AUDIO\nTRACK 02 AUDIO\nINDEX 01 00:00:00\n"));
    EXPECT_FALSE(Parses(file + "INDEX 01 00:00:00\n"));                   // outside a track
    EXPECT_FALSE(Parses(file + "TRACK 01 AUDIO\nINDEX 01 00:60:00\n"));   // seconds
    EXPECT_FALSE(Parses(file + "TRACK 01 AUDIO\nINDEX 01 00:00:75\n"));   // frames
    EXPECT_FALSE(Parses(file + "TRACK 01 AUDIO\nINDEX 01 0:0:0\n"));
    EXPECT_FALSE(Parses(file + "TRACK 01 AUDIO\nINDEX 01 00:00\n"));
    EXPECT_FALSE(Parses(file + "TRACK 01 AUDIO\nINDEX 01 -1:00:00\n"));
    EXPECT_FALSE(Parses(file + "TRACK 01 AUDIO\nINDEX 02 00:00:00\n"));   // 02 before 01
    EXPECT_FALSE(Parses(file + "TRACK 01 AUDIO\nINDEX 01 00:05:00\nINDEX 01 00:06:00\n"));
    EXPECT_FALSE(Parses(file + one + "TRACK 02 AUDIO\nINDEX 01 00:00:00\n")); // not rising
    EXPECT_FALSE(Parses(file + "TRACK 01 AUDIO\nPREGAP 00:02:00\nINDEX 01 00:00:00\n"));
    EXPECT_FALSE(Parses(file + one + "GARBAGE\n"));
    EXPECT_FALSE(Parses(file + one + std::string("\0", 1)));
    EXPECT_FALSE(Parses(file + one + std::string(70000, ' ')));
}

TEST(CueSheet, ImagePathIsBesideTheSheetUnlessAbsolute)
{
    EXPECT_EQ(CueImagePath("C:\\discs\\a.cue", "a.bin"), "C:\\discs\\a.bin");
    EXPECT_EQ(CueImagePath("/tmp/x/a.cue", "sub/a.bin"), "/tmp/x/sub/a.bin");
    EXPECT_EQ(CueImagePath("a.cue", "a.bin"), "a.bin");
    EXPECT_EQ(CueImagePath("C:\\discs\\a.cue", "D:\\b.bin"), "D:\\b.bin");
    EXPECT_EQ(CueImagePath("C:\\discs\\a.cue", "\\b.bin"), "\\b.bin");
}

TEST(CueSheet, ImageMustHoldWholeFrames)
{
    uint32_t frames = 7;
    EXPECT_TRUE(CueImageFrames(2352ull * 1000, frames));
    EXPECT_EQ(frames, 1000u);
    EXPECT_FALSE(CueImageFrames(2352ull * 1000 + 4, frames));
    EXPECT_FALSE(CueImageFrames(2352ull * 0x100000000ull, frames));
}

TEST(DiscToc, AddressesAreBigEndianAtEightTimesTheTrackNumber)
{
    TOC toc;
    ASSERT_TRUE(BuildToc(1, {0, 300, 0x01020304}, {}, 0x01030000, toc));
    EXPECT_EQ(toc.firstTrack, 1);
    EXPECT_EQ(toc.lastTrack, 3);
    EXPECT_EQ(toc.len[0] * 256 + toc.len[1], 2 + 8 * 4);
    EXPECT_EQ(TocAddressAt(toc, 8), 0u);
    EXPECT_EQ(TocAddressAt(toc, 16), 300u);
    const uint8_t* raw = reinterpret_cast<const uint8_t*>(&toc);
    EXPECT_EQ(raw[24], 1);
    EXPECT_EQ(raw[25], 2);
    EXPECT_EQ(raw[26], 3);
    EXPECT_EQ(raw[27], 4);
    EXPECT_EQ(toc.tracks[2].trackNo, 3);
    // The lead-out follows the last track.
    EXPECT_EQ(toc.tracks[3].trackNo, 0xAA);
    EXPECT_EQ(TocAddressAt(toc, 32), 0x01030000u);
    EXPECT_EQ(TocAddressAt(toc, 801), 0u);
}

TEST(DiscToc, EntriesAreIndexedByTrackNumberWithControlBits)
{
    TOC toc;
    ASSERT_TRUE(BuildToc(2, {100, 200}, {0, 4}, 500, toc));
    EXPECT_EQ(toc.firstTrack, 2);
    EXPECT_EQ(toc.lastTrack, 3);
    EXPECT_EQ(toc.tracks[0].trackNo, 0);
    EXPECT_EQ(TocAddressAt(toc, 16), 100u);
    EXPECT_EQ(TocAddressAt(toc, 24), 200u);
    EXPECT_EQ(TocAddressAt(toc, 32), 500u);
    EXPECT_EQ(toc.tracks[2].adrCtrl, 0x14);
}

TEST(DiscToc, RefusesStartsThatDoNotRiseToTheLeadOut)
{
    TOC toc;
    EXPECT_FALSE(BuildToc(1, {}, {}, 100, toc));
    EXPECT_FALSE(BuildToc(1, {0, 50}, {}, 50, toc));
    EXPECT_FALSE(BuildToc(1, {10, 10}, {}, 50, toc));
    EXPECT_FALSE(BuildToc(0, {0}, {}, 50, toc));
    EXPECT_FALSE(BuildToc(99, {0, 10}, {}, 50, toc));
    EXPECT_FALSE(BuildToc(1, {0, 10}, {0}, 50, toc));
    EXPECT_TRUE(BuildToc(99, {0}, {}, 50, toc));
    EXPECT_EQ(TocAddressAt(toc, 800), 50u); // lead-out in the last entry
}

TEST(FaultRanges, ParseAndHit)
{
    std::vector<FrameRange> r;
    ASSERT_TRUE(ParseFrameRanges("5,10-12", r));
    ASSERT_EQ(r.size(), 2u);
    EXPECT_TRUE(FramesHit(r, 5, 1));
    EXPECT_TRUE(FramesHit(r, 0, 6));
    EXPECT_FALSE(FramesHit(r, 0, 5));
    EXPECT_FALSE(FramesHit(r, 6, 4));
    EXPECT_TRUE(FramesHit(r, 12, 26));
    EXPECT_FALSE(FramesHit(r, 13, 26));
    EXPECT_FALSE(FramesHit(r, 5, 0));
    EXPECT_FALSE(FramesHit(r, 0xFFFFFFF0u, 0x20));
    EXPECT_FALSE(ParseFrameRanges("", r));
    EXPECT_FALSE(ParseFrameRanges("5,", r));
    EXPECT_FALSE(ParseFrameRanges("9-3", r));
    EXPECT_FALSE(ParseFrameRanges("a", r));
    EXPECT_FALSE(ParseFrameRanges("1-2-3", r));
}
