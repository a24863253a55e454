#include <gtest/gtest.h>

#include "views/ChordGrammar.h"

namespace {

struct Parsed {
    bool ok;
    int root;
    bool major;
    const char* quality;
    int bass;
};

Parsed Parse(const char* text, int t = 0)
{
    ChordEntry c;
    const bool ok = ParseChordText(text, t, 1234, c);
    static CString keep;
    keep = c.suffix;
    return {ok, c.root, c.major, keep, c.bass};
}

TEST(NoteNames, BothSpellingsAnyCaseAndTransposition)
{
    const struct {
        const char* text;
        int code;
    } table[] = {{"A", 0},  {"bb", 1}, {"Hb", 1},  {"a#", 13}, {"B", 2},  {"h", 2},  {"C", 3},
                 {"c#", 4}, {"Db", 16}, {"d", 5},  {"D#", 6},  {"eb", 18}, {"E", 7},  {"f", 8},
                 {"F#", 9}, {"gb", 21}, {"G", 10}, {"g#", 11}, {"Ab", 23}, {"x", -1}, {"", -1},
                 {"cb", -1}, {"c##", -1}};
    for (const auto& e : table)
        EXPECT_EQ(e.code, PitchFromNoteName(e.text, 0)) << e.text;
    // The stored pitch has the transposition taken off.
    EXPECT_EQ(3, PitchFromNoteName("D", 2));
    EXPECT_EQ(8, PitchFromNoteName("G", 2));
    EXPECT_EQ(11, PitchFromNoteName("A", 1));
    EXPECT_EQ(1, PitchFromNoteName("C", -10));
    EXPECT_EQ(12 + 11, PitchFromNoteName("a#", 2));
}

TEST(Grammar, RootsQualitiesAndBasses)
{
    Parsed p = Parse("C");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(3, p.root);
    EXPECT_TRUE(p.major);
    EXPECT_STREQ("", p.quality);
    EXPECT_EQ(-1, p.bass);

    p = Parse("am");
    EXPECT_EQ(0, p.root);
    EXPECT_FALSE(p.major);

    p = Parse("F#m7/C#");
    EXPECT_EQ(9, p.root);
    EXPECT_FALSE(p.major);
    EXPECT_STREQ("7", p.quality);
    EXPECT_EQ(4, p.bass);

    p = Parse("Cmaj7/E"); // the slash part of a maj7 is ignored
    EXPECT_TRUE(p.major);
    EXPECT_STREQ("maj7", p.quality);
    EXPECT_EQ(-1, p.bass);

    p = Parse("C / G");
    EXPECT_EQ(3, p.root);
    EXPECT_STREQ("", p.quality);
    EXPECT_EQ(10, p.bass);

    EXPECT_EQ(1, Parse("Bb").root);
    EXPECT_EQ(13, Parse("A#").root);
    EXPECT_EQ(2, Parse("H").root);
    EXPECT_EQ(1, Parse("Bbm").root);
    EXPECT_FALSE(Parse("Bbm").major);

    p = Parse("c/xyz");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(-1, p.bass);
    p = Parse("Dsus4/");
    EXPECT_STREQ("sus4", p.quality);
    EXPECT_EQ(-1, p.bass);
    p = Parse("E7/G#");
    EXPECT_STREQ("7", p.quality);
    EXPECT_EQ(11, p.bass);
    // Lower case is kept: "CM7" is a minor seventh.
    p = Parse("CM7");
    EXPECT_FALSE(p.major);
    EXPECT_STREQ("7", p.quality);
}

TEST(Grammar, MajAndMinorMajorSeventhRead)
{
    Parsed p = Parse("Cmaj");
    EXPECT_TRUE(p.major);
    EXPECT_STREQ("maj", p.quality);
    p = Parse("Cmaj9");
    EXPECT_TRUE(p.major);
    EXPECT_STREQ("maj9", p.quality);
    p = Parse("Cmaj9/G");
    EXPECT_STREQ("maj9", p.quality);
    EXPECT_EQ(10, p.bass);
    p = Parse("Cm(maj7)");
    EXPECT_FALSE(p.major);
    EXPECT_STREQ("(maj7)", p.quality);
    EXPECT_EQ(3, p.root);
}

TEST(Grammar, TextsThatAreNoChord)
{
    for (const char* t : {"x7", "", "   ", "/G", "7", "cb"})
        EXPECT_FALSE(Parse(t).ok) << t;
}

TEST(Grammar, TransposedTypingAndOrder)
{
    ChordEntry c;
    ASSERT_TRUE(ParseChordText("D", 2, 500, c));
    EXPECT_EQ(3, c.root);
    EXPECT_EQ(120, c.confidence);
    EXPECT_EQ(1, c.visible);
    EXPECT_EQ(500, c.time);
    ASSERT_TRUE(ParseChordText("G/B", 2, 500, c));
    EXPECT_EQ(8, c.root);
    EXPECT_EQ(0, c.bass);

    // Two chords at one time are both kept; the later insertion goes first.
    std::vector<ChordEntry> list(3);
    list[0].time = 0;
    list[1].time = 500;
    list[2].time = 900;
    ChordEntry a, b;
    ParseChordText("C", 0, 500, a);
    ParseChordText("G", 0, 500, b);
    InsertChordInOrder(list, a);
    InsertChordInOrder(list, b);
    ASSERT_EQ(5u, list.size());
    EXPECT_EQ(10, list[1].root);
    EXPECT_EQ(3, list[2].root);
    EXPECT_EQ(500, list[3].time);
    ChordEntry late;
    ParseChordText("E", 0, 5000, late);
    InsertChordInOrder(list, late);
    EXPECT_EQ(7, list.back().root);
}

} // namespace
