#include <gtest/gtest.h>

#include "app/SongFiles.h"

TEST(SongFiles, FilterNamesEveryLibraryExtensionInOrder)
{
    EXPECT_STREQ("Sound Files (*.wav)(*.cda)(*.mp3)|*.wav;*.cda;*.mp3|All Files (*.*)|*.*||",
                 BuildSoundFileFilter({".cda", ".mp3"}));
    // Without library extensions only the trailing ";" of the WAV pattern goes.
    EXPECT_STREQ("Sound Files (*.wav)|*.wav|All Files (*.*)|*.*||", BuildSoundFileFilter({}));
}

TEST(SongFiles, TitleIsTheNameWithoutItsExtension)
{
    EXPECT_STREQ("song", SongTitleFromPath("C:\\music\\song.mp3"));
    EXPECT_STREQ("song", SongTitleFromPath("song.mp3"));
    EXPECT_STREQ("a.b", SongTitleFromPath("D:\\x.y\\a.b.wav"));
    EXPECT_STREQ("track", SongTitleFromPath("/tmp/dir/track.wav"));
    // Names too short to hold an extension leave no title, never a crash.
    EXPECT_STREQ("", SongTitleFromPath("C:\\a\\.mp3"));
    EXPECT_STREQ("", SongTitleFromPath("C:\\a\\"));
    EXPECT_STREQ("", SongTitleFromPath(""));
}

TEST(SongFiles, WavIsRecognisedByItsLowerCasedEnding)
{
    EXPECT_TRUE(IsWavPath("C:\\x\\SONG.WAV"));
    EXPECT_TRUE(IsWavPath("song.Wav"));
    EXPECT_FALSE(IsWavPath("song.mp3"));
    EXPECT_FALSE(IsWavPath("song.wave"));
    EXPECT_FALSE(IsWavPath("wav"));
}
