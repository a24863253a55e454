#include <gtest/gtest.h>

#include "views/TabLayout.h"

namespace {

struct Placed {
    int string;
    std::string text;
};

Placed Place(int pitch, int octave, int placement, int t)
{
    CString text;
    const int s = PlaceNoteOnString(text, pitch, octave, placement, t);
    return {s, std::string(text)};
}

TEST(TabPlacement, AutomaticPlacesFollowTheTable)
{
    // D (5): open D string up to octave 3, seventh fret of G above.
    EXPECT_EQ(2, Place(5, 2, -1, 0).string);
    EXPECT_EQ("0", Place(5, 2, -1, 0).text);
    EXPECT_EQ(3, Place(5, 4, -1, 0).string);
    EXPECT_EQ("7", Place(5, 4, -1, 0).text);
    // A low and high; D# anywhere; G# low and high.
    EXPECT_EQ(1, Place(0, 1, -1, 0).string);
    EXPECT_EQ("0", Place(0, 1, -1, 0).text);
    EXPECT_EQ(3, Place(0, 2, -1, 0).string);
    EXPECT_EQ("2", Place(0, 2, -1, 0).text);
    EXPECT_EQ(2, Place(6, 9, -1, 0).string);
    EXPECT_EQ("1", Place(6, 9, -1, 0).text);
    EXPECT_EQ(0, Place(11, 0, -1, 0).string);
    EXPECT_EQ("4", Place(11, 0, -1, 0).text);
    EXPECT_EQ(2, Place(11, 2, -1, 0).string);
    EXPECT_EQ("6", Place(11, 2, -1, 0).text);
    // The transposition moves the pitch: E (7) up 3 is G, low on the E string.
    EXPECT_EQ("3", Place(7, 0, -1, 3).text);
    EXPECT_EQ(0, Place(7, 0, -1, 3).string);
    // Down below A wraps round: A - 2 is G.
    EXPECT_EQ("3", Place(0, 0, -1, -2).text);
}

TEST(TabPlacement, StoredFretsAndTheirFallback)
{
    const int gString20 = (20 << 16) | 3;
    EXPECT_EQ(3, Place(10, 2, gString20, 0).string);
    EXPECT_EQ("20", Place(10, 2, gString20, 0).text);
    EXPECT_EQ("22", Place(10, 2, gString20, 2).text);
    // Fret 23 does not exist: the transposed pitch (G + 3 = A#) goes to its
    // automatic place, one octave up (octave 2 -> 3: the G string).
    const Placed out = Place(10, 2, gString20, 3);
    EXPECT_EQ(3, out.string);
    EXPECT_EQ("3", out.text);
    // Below the nut likewise, one octave down: Bb - 2 is G#, low on the E string.
    const Placed below = Place(1, 2, (1 << 16) | 1, -2);
    EXPECT_EQ(0, below.string);
    EXPECT_EQ("4", below.text);
    // Indices above 3, 4 included, are placed automatically with the
    // octave moved by the transposition's sign.
    EXPECT_EQ(0, Place(0, 1, 4, -1).string); // A - 1 = G#, octave 0: the E string
    EXPECT_EQ("4", Place(0, 1, 4, -1).text);
    EXPECT_EQ(3, Place(0, 1, 7, 1).string); // octave 2 after the move up
}

TEST(TabEntry, FretsToPitchesAndTheirChecks)
{
    int pitch = -1, octave = -1;
    PitchFromFret("12", 1, 0, pitch, octave);
    EXPECT_EQ(0, pitch);
    EXPECT_EQ(1, octave);
    PitchFromFret("0", 0, 0, pitch, octave);
    EXPECT_EQ(7, pitch); // E
    PitchFromFret("3", 2, 0, pitch, octave);
    EXPECT_EQ(8, pitch); // F on the D string
    PitchFromFret("0", 3, 0, pitch, octave);
    EXPECT_EQ(10, pitch);
    EXPECT_EQ(3, octave);
    // Typed under +2: what is shown as fret 2 is stored as the open string.
    PitchFromFret("2", 1, 2, pitch, octave);
    EXPECT_EQ(0, pitch);
    PitchFromFret("0", 0, 5, pitch, octave);
    EXPECT_EQ(2, pitch); // E - 5 = B

    for (const char* ok : {"0", "5", "12", "22", "1x"})
        EXPECT_TRUE(IsValidFretText(ok)) << ok;
    for (const char* bad : {"", "123", "x", "00x", "x1", " 1"})
        EXPECT_FALSE(IsValidFretText(bad)) << bad;
}

TEST(TabRows, DistributionShowingAndPairs)
{
    int pages = 0;
    std::vector<TabRow> rows;
    for (const RowSpec& s : MakeRows(12000, 6000, 7, 0.1, pages)) {
        TabRow r;
        r.length = s.length;
        rows.push_back(r);
    }
    std::vector<BassNote> notes(4);
    notes[0].time = 100;
    notes[1].time = 6000;
    notes[2].time = 6500;
    notes[3].time = 13000; // beyond the last row: left out
    DistributeNotes(rows, notes);
    EXPECT_EQ(2u, rows[0].items.size());
    EXPECT_EQ(6000, rows[0].offsets[1]);
    EXPECT_EQ(1u, rows[1].items.size());
    EXPECT_EQ(500, rows[1].offsets[0]);
    EXPECT_TRUE(rows[2].items.empty());

    BassNote n;
    n.level = 60;
    EXPECT_FALSE(IsNoteShown(n, 0));
    EXPECT_TRUE(IsNoteShown(n, 1));
    n.level = 61;
    EXPECT_TRUE(IsNoteShown(n, 0));
    n.level = 120;
    EXPECT_TRUE(IsNoteShown(n, 0));

    EXPECT_EQ(CString("CE"), PitchPairText(3 | 7 << 4, 0));
    EXPECT_EQ(CString("C"), PitchPairText(3 | 3 << 4, 0));
    EXPECT_EQ(CString("D"), PitchPairText(3 | 12 << 4, 2));
    EXPECT_EQ(CString(""), PitchPairText(12 | 12 << 4, 0));
}

} // namespace
