#include <gtest/gtest.h>

#include "engine/Names.h"

TEST(EngineNames, NoteNamesBothSpellings)
{
    const char* low[12] = {"A", "Bb", "B", "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#"};
    const char* high[12] = {"A", "A#", "B", "C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab"};
    for (int i = 0; i < 12; ++i) {
        EXPECT_STREQ(low[i], GetNoteNameText(i)) << i;
        EXPECT_STREQ(high[i], GetNoteNameText(i + 12)) << i;
    }
    EXPECT_STREQ("Bb", GetNoteNameText(1));
    EXPECT_STREQ("A#", GetNoteNameText(13));
    EXPECT_STREQ("Db", GetNoteNameText(16));
    EXPECT_STREQ("G#", GetNoteNameText(-1));
    EXPECT_STREQ("G#", GetNoteNameText(-5));
    EXPECT_STREQ("A", GetNoteNameText(-12));
    EXPECT_STREQ("A#", GetNoteNameText(25));
}

TEST(EngineNames, KeyNames)
{
    EXPECT_STREQ("D", GetKeyNameText(0));
    EXPECT_STREQ("A", GetKeyNameText(7));
    EXPECT_STREQ("Bb", GetKeyNameText(8));
    EXPECT_STREQ("C#", GetKeyNameText(11));
    EXPECT_STREQ("", GetKeyNameText(12));
    EXPECT_STREQ("", GetKeyNameText(-1));
}
