#include <gtest/gtest.h>

#include "views/ChordLayout.h"

namespace {

ChordEntry Chord(int root, int time, int confidence, const char* suffix = "", int bass = -1, bool major = true)
{
    ChordEntry c;
    c.root = root;
    c.time = time;
    c.confidence = confidence;
    c.suffix = suffix;
    c.bass = bass;
    c.major = major;
    c.name.Format("%d%s%s", root, major ? "" : "m", suffix);
    return c;
}

std::vector<ChordRow> Rows(int songMs, int rowMs)
{
    int pages = 0;
    std::vector<ChordRow> rows;
    for (const RowSpec& s : MakeRows(songMs, rowMs, 7, 0.1, pages)) {
        ChordRow r;
        r.length = s.length;
        r.width = s.width;
        r.page = s.page;
        rows.push_back(r);
    }
    return rows;
}

CString Namer(const ChordEntry& c)
{
    CString n;
    n.Format("%d%s%s", c.root, c.major ? "" : "m", static_cast<const char*>(c.suffix));
    return n;
}

std::vector<int> Shown(const std::vector<ChordRow>& rows)
{
    std::vector<int> v;
    for (const ChordRow& r : rows)
        for (const ChordEntry& c : r.items)
            v.push_back(c.visible);
    return v;
}

TEST(Distribute, RowBoundariesAndChordsBeyondTheLastRow)
{
    auto rows = Rows(14000, 6000); // rows 0..6000, 6000..12000, 12000..14000
    std::vector<CString> texts;
    const std::vector<ChordEntry> chords = {Chord(0, 0, 90), Chord(3, 6000, 90), Chord(5, 6001, 90),
                                            Chord(7, 14000, 90), Chord(8, 14001, 90), Chord(9, 100, 90)};
    DistributeChords(rows, chords, texts);
    // A chord on a boundary belongs to the earlier row.
    ASSERT_EQ(3u, rows[0].items.size());
    EXPECT_EQ(6000, rows[0].offsets[1]);
    ASSERT_EQ(1u, rows[1].items.size());
    EXPECT_EQ(1, rows[1].offsets[0]);
    // The chord at the very end fits; the one after it is left out, and
    // the chords after that are still shown.
    ASSERT_EQ(1u, rows[2].items.size());
    EXPECT_EQ(2000, rows[2].offsets[0]);
    EXPECT_EQ(CString("0\t3\t9"), texts[0]);
    EXPECT_EQ(CString("5"), texts[1]);
    EXPECT_EQ(CString("7"), texts[2]);

    // Distributing again starts from empty rows.
    DistributeChords(rows, {Chord(1, 50, 90)}, texts);
    EXPECT_EQ(1u, rows[0].items.size());
    EXPECT_TRUE(rows[1].items.empty());
    EXPECT_TRUE(texts[1].IsEmpty());
}

TEST(Display, ModeOneShowsEverything)
{
    auto rows = Rows(12000, 6000);
    std::vector<CString> texts;
    DistributeChords(rows, {Chord(0, 0, 10), Chord(0, 500, 10), Chord(3, 7000, 50)}, texts);
    for (ChordRow& r : rows)
        for (ChordEntry& c : r.items)
            c.visible = 0;
    SimplifyChords(rows, 1, Namer);
    EXPECT_EQ((std::vector<int>{1, 1, 1}), Shown(rows));
}

TEST(Display, StrongChordStandsForItsRunAndRepeatsHide)
{
    auto rows = Rows(12000, 6000);
    std::vector<CString> texts;
    // A run on root 0: weak 7th, strong plain, then a repeat; root 3 alone.
    DistributeChords(rows, {Chord(0, 0, 60, "7"), Chord(0, 1000, 90), Chord(0, 2000, 90), Chord(3, 7000, 90)},
                     texts);
    SimplifyChords(rows, 0, Namer);
    const auto& r0 = rows[0].items;
    // The run's first chord takes the strong chord's quality and is shown.
    EXPECT_EQ(1, r0[0].visible);
    EXPECT_TRUE(r0[0].suffix.IsEmpty());
    EXPECT_EQ(CString("0"), r0[0].name);
    EXPECT_EQ(0, r0[1].visible);
    EXPECT_EQ(0, r0[2].visible); // a repeat
    EXPECT_EQ(1, rows[1].items[0].visible);
}

TEST(Display, WeakStretchShowsItsFirstChordPlainWhenItCan)
{
    auto rows = Rows(6000, 6000);
    std::vector<CString> texts;
    DistributeChords(rows, {Chord(2, 0, 30, "7", 5), Chord(2, 500, 40, "sus4"), Chord(2, 900, 25)}, texts);
    SimplifyChords(rows, 0, Namer);
    const auto& r = rows[0].items;
    EXPECT_EQ(1, r[0].visible);
    EXPECT_TRUE(r[0].suffix.IsEmpty()); // the plain chord's quality
    EXPECT_EQ(-1, r[0].bass);
    EXPECT_EQ(80, r[0].confidence);
    EXPECT_EQ(0, r[1].visible);
    EXPECT_EQ(0, r[2].visible);

    // Without a plain chord the strongest one lends its quality; all
    // confidences 0 take the stretch's own first chord.
    rows = Rows(6000, 6000);
    DistributeChords(rows, {Chord(2, 0, 30, "7"), Chord(2, 500, 40, "sus4", -1, false)}, texts);
    SimplifyChords(rows, 0, Namer);
    EXPECT_EQ(CString("sus4"), rows[0].items[0].suffix);
    EXPECT_FALSE(rows[0].items[0].major);
    rows = Rows(6000, 6000);
    DistributeChords(rows, {Chord(2, 0, 0, "6"), Chord(2, 500, 0, "9")}, texts);
    SimplifyChords(rows, 0, Namer);
    EXPECT_EQ(CString("6"), rows[0].items[0].suffix);
    EXPECT_EQ(1, rows[0].items[0].visible);
}

TEST(Display, ModeTwoKeepsPlainTriadsAndTypedChordsAlwaysShow)
{
    auto rows = Rows(12000, 6000);
    std::vector<CString> texts;
    DistributeChords(rows,
                     {Chord(5, 0, 15), Chord(0, 1000, 90, "7", 4), Chord(7, 3000, 120, "maj7"),
                      Chord(7, 3500, 120, "maj7"), Chord(3, 7000, 85, "sus4", -1, false)},
                     texts);
    SimplifyChords(rows, 2, Namer);
    const auto& r0 = rows[0].items;
    EXPECT_EQ(0, r0[0].visible); // too weak
    EXPECT_EQ(1, r0[1].visible);
    EXPECT_TRUE(r0[1].suffix.IsEmpty());
    EXPECT_EQ(-1, r0[1].bass);
    EXPECT_EQ(CString("0"), r0[1].name);
    // Typed chords are shown in every mode, even a repeat.
    EXPECT_EQ(1, r0[2].visible);
    EXPECT_EQ(1, r0[3].visible);
    EXPECT_EQ(CString("3m"), rows[1].items[0].name);
    // The row texts were made before the pass and keep the full names.
    EXPECT_EQ(CString("5\t07\t7maj7\t7maj7"), texts[0]);
}

TEST(Pitches, NamesSetsAndTransposition)
{
    EXPECT_EQ(CString("A"), PitchName(0));
    EXPECT_EQ(CString("G#"), PitchName(11));
    EXPECT_TRUE(PitchName(12).IsEmpty());
    EXPECT_TRUE(PitchName(-1).IsEmpty());

    // Fields: C(3) E(7) G(10), then three empty (12).
    const int packed = 3 | 7 << 4 | 10 << 8 | 12 << 12 | 12 << 16 | 15 << 20;
    int codes[6];
    UnpackPitchSet(packed, 0, codes);
    EXPECT_EQ(CString("CEG"), PitchSetText(codes));
    UnpackPitchSet(packed, 2, codes);
    EXPECT_EQ(CString("DF#A"), PitchSetText(codes));
    UnpackPitchSet(packed, -11, codes);
    EXPECT_EQ(CString("C#FG#"), PitchSetText(codes));
    EXPECT_EQ(-1, codes[5]);
}

} // namespace
