#include <gtest/gtest.h>

#include "app/ProgressCodes.h"

TEST(ProgressCodes, AnalysisStages)
{
    ProgressAction started = DecideProgressAction(ProgressSource::Analysis, 5, 0);
    EXPECT_TRUE(started.showCancel);
    EXPECT_TRUE(started.setBar);
    EXPECT_EQ(started.bar, 0);
    EXPECT_EQ(started.statusText, 70);
    EXPECT_EQ(started.end, ProgressEnd::Continue);

    ProgressAction running = DecideProgressAction(ProgressSource::Analysis, 3, 0);
    EXPECT_FALSE(running.showCancel);
    EXPECT_EQ(running.statusText, 69);
    EXPECT_TRUE(running.setBar);
    EXPECT_EQ(running.end, ProgressEnd::Continue);

    ProgressAction percent = DecideProgressAction(ProgressSource::Analysis, 1, 140);
    EXPECT_TRUE(percent.showCancel);
    EXPECT_EQ(percent.bar, 140); // unchanged, even above 100
    EXPECT_EQ(percent.statusText, 0);

    EXPECT_EQ(DecideProgressAction(ProgressSource::Analysis, 2, 0).end, ProgressEnd::Ok);
    EXPECT_EQ(DecideProgressAction(ProgressSource::Analysis, 2, 0).messageText, 0);
}

TEST(ProgressCodes, AnalysisFailuresEndWithCancel)
{
    struct { unsigned code; int message; bool reset; } cases[] = {
        {0, 68, false}, {4, 71, false}, {6, 0, true}, {7, kLangSongNotAnalysed, true}, {8, kLangSongTooLong, false},
        {9, 0, false}, {0xFFFFFFFFu, 0, false}};
    for (const auto& c : cases) {
        ProgressAction a = DecideProgressAction(ProgressSource::Analysis, c.code, 0);
        EXPECT_EQ(a.end, ProgressEnd::Cancel) << c.code;
        EXPECT_EQ(a.messageText, c.message) << c.code;
        EXPECT_EQ(a.resetCancelEvent, c.reset) << c.code;
    }
    // A stopped run the user asked for ends without a message.
    EXPECT_EQ(DecideProgressAction(ProgressSource::Analysis, 7, 0, true).messageText, 0);
}

TEST(ProgressCodes, ConversionCodes)
{
    for (ProgressSource s : {ProgressSource::CdRip, ProgressSource::Decode}) {
        ProgressAction failed = DecideProgressAction(s, 0, 0);
        EXPECT_EQ(failed.end, ProgressEnd::Cancel);
        EXPECT_EQ(failed.messageText, 67);
        EXPECT_EQ(DecideProgressAction(s, 1, 0).end, ProgressEnd::Ok);
        ProgressAction bar = DecideProgressAction(s, 2, 55);
        EXPECT_EQ(bar.end, ProgressEnd::Continue);
        EXPECT_TRUE(bar.setBar);
        EXPECT_EQ(bar.bar, 55);
        EXPECT_FALSE(bar.showCancel);
        ProgressAction other = DecideProgressAction(s, 9, 0);
        EXPECT_EQ(other.end, ProgressEnd::Cancel);
        EXPECT_EQ(other.messageText, 0);
    }
    // The dialog tells of an unusable CD drive and a file that did not convert.
    EXPECT_EQ(DecideProgressAction(ProgressSource::CdRip, 7, 0).messageText, 143);
    EXPECT_EQ(DecideProgressAction(ProgressSource::DecodeResult, 0, 0).messageText, 49);
    EXPECT_EQ(DecideProgressAction(ProgressSource::DecodeResult, 0, 0).end, ProgressEnd::Cancel);
    EXPECT_EQ(DecideProgressAction(ProgressSource::SongRead, 2, 40).bar, 40);
    EXPECT_EQ(DecideProgressAction(ProgressSource::SongRead, 1, 0).end, ProgressEnd::Ok);
}

TEST(ProgressCodes, NoEngineEndsAndTellsTheUser)
{
    ProgressAction a = DecideProgressAction(ProgressSource::NoEngine, 0, 0);
    EXPECT_EQ(a.end, ProgressEnd::Cancel);
    EXPECT_EQ(a.messageText, kLangAnalysisCannotRun);
}
