#include <gtest/gtest.h>

#include "sound/SourcePath.h"

TEST(SourcePath, CdTrackByLowerCasedEnding)
{
    EXPECT_TRUE(IsCdTrackSource("E:\\Track03.cda"));
    EXPECT_TRUE(IsCdTrackSource("E:\\TRACK03.CDA"));
    EXPECT_TRUE(IsCdTrackSource(".cda"));
    EXPECT_FALSE(IsCdTrackSource("C:\\song.wma"));
    EXPECT_FALSE(IsCdTrackSource("C:\\x.cda\\song.mp3"));
    EXPECT_FALSE(IsCdTrackSource("C:\\songcda"));
    EXPECT_FALSE(IsCdTrackSource("cda"));
    EXPECT_FALSE(IsCdTrackSource(""));
    EXPECT_FALSE(IsCdTrackSource(nullptr));
}

TEST(SourcePath, RefusedMediaSources)
{
    EXPECT_TRUE(IsRefusedMediaSource(nullptr));
    EXPECT_TRUE(IsRefusedMediaSource(""));
    EXPECT_TRUE(IsRefusedMediaSource("http://host/song.mp3"));
    EXPECT_TRUE(IsRefusedMediaSource("HTTPS://host/song.mp3"));
    EXPECT_FALSE(IsRefusedMediaSource("htt"));
    EXPECT_FALSE(IsRefusedMediaSource("C:\\http\\song.mp3"));
    EXPECT_FALSE(IsRefusedMediaSource("C:\\song.mp3"));
}
