#include <gtest/gtest.h>

#include <climits>

#include "app/ChordNames.h"
#include "app/DocState.h"

namespace {

// The engine's two spellings.
CString TestNoteName(int code)
{
    static const char* const names[24] = {"A", "Bb", "B", "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#",
                                          "A", "A#", "B", "C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab"};
    return code >= 0 && code < 24 ? names[code] : "?";
}

ChordEntry Chord(int root, bool major, const char* suffix, int bass = -1)
{
    ChordEntry c;
    c.root = root;
    c.major = major;
    c.suffix = suffix;
    c.bass = bass;
    return c;
}

class ChordNames : public ::testing::Test {
protected:
    void SetUp() override { SetNoteNameSource(TestNoteName); }
    void TearDown() override { SetNoteNameSource(nullptr); }
};

} // namespace

TEST_F(ChordNames, EveryQualityMajorAndMinor)
{
    const char* suffixes[] = {"", "6", "7", "9", "maj7", "sus4", "add9"};
    for (const char* s : suffixes) {
        EXPECT_EQ(CString("C") + s, BuildChordName(Chord(3, true, s), 0)) << s;
        EXPECT_EQ(CString("Cm") + s, BuildChordName(Chord(3, false, s), 0)) << s;
    }
    // Power chords never take "m"; typed suffixes are kept as typed.
    EXPECT_EQ(CString("E5"), BuildChordName(Chord(7, false, "5"), 0));
    EXPECT_EQ(CString("E5"), BuildChordName(Chord(7, true, "5"), 0));
    EXPECT_EQ(CString("Dm7b5"), BuildChordName(Chord(5, false, "7b5"), 0));
}

TEST_F(ChordNames, TranspositionSlashChordsAndSpellings)
{
    EXPECT_EQ(CString("Cm7"), BuildChordName(Chord(3, false, "7"), 0));
    EXPECT_EQ(CString("B/F#"), BuildChordName(Chord(0, true, "", 7), 2));
    // Sums of 12 and above take the second spelling.
    EXPECT_EQ(CString("A#5"), BuildChordName(Chord(10, true, "5"), 3));
    EXPECT_EQ(CString("A#"), BuildChordName(Chord(2, true, ""), 11));
    EXPECT_EQ(CString("G"), BuildChordName(Chord(0, true, ""), -2));
    EXPECT_EQ(CString("Ebm/Gb"), BuildChordName(Chord(6, false, "", 9), 12));
    // The bass wraps on its own.
    EXPECT_EQ(CString("A/G#"), BuildChordName(Chord(1, true, "", 0), -1));
    for (int p = 0; p < 12; ++p)
        EXPECT_EQ(TestNoteName(p), BuildChordName(Chord(p, true, ""), 0));
}

TEST_F(ChordNames, KeyTextAndRelativeMinor)
{
    EXPECT_EQ(0, KeyRootIndex("A"));
    EXPECT_EQ(3, KeyRootIndex("C"));
    EXPECT_EQ(10, KeyRootIndex("G"));
    EXPECT_EQ(11, KeyRootIndex("G#"));
    EXPECT_EQ(11, KeyRootIndex("c"));
    EXPECT_EQ(11, KeyRootIndex(""));

    std::vector<ChordEntry> chords;
    EXPECT_EQ(CString("C"), ChooseKeyText("C", chords));
    chords = {Chord(3, true, ""), Chord(10, true, "7"), Chord(0, false, ""), Chord(5, false, "")};
    EXPECT_EQ(CString("C"), ChooseKeyText("C", chords)); // exactly half major
    chords[1].major = false;
    EXPECT_EQ(CString("Am"), ChooseKeyText("C", chords));
    EXPECT_EQ(CString("F#m"), ChooseKeyText("A", chords));
    EXPECT_EQ(CString("Fm"), ChooseKeyText("G#", chords));
    EXPECT_EQ(CString("Fm"), ChooseKeyText("", chords));
    // Power chords count as neither major nor minor, but in the total.
    std::vector<ChordEntry> power = {Chord(0, true, "5"), Chord(3, true, "5")};
    EXPECT_EQ(CString("Em"), ChooseKeyText("G", power));

    // Shown as the chords are, transposed.
    EXPECT_EQ(CString("D"), TransposeKeyText("C", 2));
    EXPECT_EQ(CString("G#m"), TransposeKeyText("Am", -1));
    EXPECT_EQ(CString("Bbm"), TransposeKeyText("C#m", -15));
    EXPECT_EQ(CString("A"), TransposeKeyText("A", 0));
    EXPECT_EQ(CString(""), TransposeKeyText("", 3));
    EXPECT_EQ(CString("Hm"), TransposeKeyText("Hm", 3)); // no key: as it is
}

TEST(DocState, RowTexts)
{
    std::vector<CString> rows;
    SetRowTextIn(rows, "", 3);
    ASSERT_EQ(4u, rows.size());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(CString(EmptySlotMarker), rows[i]);
        EXPECT_TRUE(GetRowTextIn(rows, i).IsEmpty());
    }
    SetRowTextIn(rows, "C\tG", 1);
    EXPECT_EQ(CString("C\tG"), GetRowTextIn(rows, 1));
    EXPECT_EQ(4u, rows.size());
    EXPECT_TRUE(GetRowTextIn(rows, 2).IsEmpty());
    EXPECT_TRUE(GetRowTextIn(rows, 9).IsEmpty());
    EXPECT_TRUE(GetRowTextIn(rows, -1).IsEmpty());
    SetRowTextIn(rows, "Am", 4);
    EXPECT_EQ(5u, rows.size());
    EXPECT_EQ(CString("Am"), GetRowTextIn(rows, 4));
}

TEST(DocState, TempWavNamesNeverRepeatWhileHeld)
{
    const CString a = CTempWavNames::Reserve({"readme.txt"});
    EXPECT_EQ(CString("tempWavFile0.wav"), a);
    // A second new document, before any file exists.
    const CString b = CTempWavNames::Reserve({});
    EXPECT_EQ(CString("tempWavFile1.wav"), b);
    CTempWavNames::Release(a);
    CTempWavNames::Release(b);
    const CString c = CTempWavNames::Reserve({"tempWavFile3.wav", "TEMPWAVFILE7.WAV", "x.wav"});
    EXPECT_EQ(CString("tempWavFile8.wav"), c);
    CTempWavNames::Release(c);
    EXPECT_EQ(CString("tempWavFile0.wav"), CTempWavNames::Reserve({}));
    CTempWavNames::Release("tempWavFile0.wav");
    EXPECT_EQ(-1, CTempWavNames::NumberOf("song.wav"));
}

TEST(DocState, TempWavNamesSkipNumbersWithoutRoomAbove)
{
    // atoi would clamp the larger one to INT_MAX too; the next name must not
    // wrap to a negative number that every new document would share.
    EXPECT_EQ(INT_MAX, CTempWavNames::NumberOf("tempWavFile99999999999.wav"));
    const CString a = CTempWavNames::Reserve(
        {"tempWavFile2147483647.wav", "tempWavFile99999999999.wav", "tempWavFile5.wav"});
    EXPECT_EQ(CString("tempWavFile6.wav"), a);
    const CString b = CTempWavNames::Reserve({"tempWavFile2147483647.wav"});
    EXPECT_EQ(CString("tempWavFile7.wav"), b);
    CTempWavNames::Release(a);
    CTempWavNames::Release(b);
    EXPECT_EQ(CString("tempWavFile2147483647.wav"), CTempWavNames::Reserve({"tempWavFile2147483646.wav"}));
    CTempWavNames::Release("tempWavFile2147483647.wav");
}
