// The chord shape file's rules, the spellings, the name lookups and version
// stepping of the chord diagram, and where the diagram draws its parts.
#include <gtest/gtest.h>

#include <string>

#include "IniTestFiles.h"
#include "views/ChordShapes.h"

namespace {

std::vector<ChordShape> LoadText(const std::string& text, std::vector<CString>* rejected = nullptr)
{
    TestTextFile file(text);
    return ChordShapeFile::Load(file.path.c_str(), rejected);
}

ChordShape Named(const char* name, int version)
{
    ChordShape s;
    s.name = name;
    s.version = version;
    return s;
}

} // namespace

TEST(ChordShapeFile, SectionNamesFingersAndMutedStrings)
{
    const auto shapes = LoadText("[Am_2]\nF1=2,3\nF2=33\nF3=4\nNS=1,,6\n"
                                 "[F#_1]\nF1=,3\nF2=3,,5,9\nF3=5,\nNS=\nbf=5\n"
                                 "[C_1]\nBf=5\nF4=2,x\n");
    ASSERT_EQ(shapes.size(), 3u);
    const ChordShape& am = shapes[0];
    EXPECT_STREQ(am.name, "Am");
    EXPECT_EQ(am.version, 2);
    EXPECT_EQ(am.baseFret, 1); // no BF
    EXPECT_EQ(am.fingers[0].string, 2);
    EXPECT_EQ(am.fingers[0].fret, 3);
    EXPECT_EQ(am.fingers[1].string, FINGER_ON_BARRE);
    EXPECT_EQ(am.fingers[1].fret, FINGER_ON_BARRE);
    EXPECT_EQ(am.fingers[2].string, FINGER_UNUSED); // no comma
    EXPECT_EQ(am.fingers[3].fret, FINGER_UNUSED);   // missing
    EXPECT_EQ(am.mutedStrings, (std::vector<int>{1, 6}));
    EXPECT_EQ(am.hasBarre, 0);

    const ChordShape& fs = shapes[1];
    EXPECT_STREQ(fs.name, "F#/Gb");
    EXPECT_EQ(fs.baseFret, 5); // the lower-case key counts
    EXPECT_EQ(fs.fingers[0].string, FINGER_UNUSED); // comma first
    EXPECT_EQ(fs.fingers[1].string, 3);
    EXPECT_EQ(fs.fingers[1].fret, 5); // runs of commas are one separator
    EXPECT_EQ(fs.fingers[2].string, 5);
    EXPECT_EQ(fs.fingers[2].fret, 0); // no second piece
    EXPECT_TRUE(fs.mutedStrings.empty());

    EXPECT_EQ(shapes[2].baseFret, 1); // Bf is not BF
    EXPECT_EQ(shapes[2].fingers[3].string, 2);
    EXPECT_EQ(shapes[2].fingers[3].fret, 0); // atoi of "x"
}

TEST(ChordShapeFile, IncompleteBarresAndNumbersNoGuitarHasAreRejectedAndLoadingGoesOn)
{
    std::vector<CString> rejected;
    const auto shapes = LoadText("[G_1]\nBA=\nF1=33\n"
                                 "[G_2]\nBA=\nBS=1\nBE=6\nBAF=x3\n"
                                 "[G_3]\nba=yes\nbs=1\nbe=0\nbaf=3\n"
                                 "[E_1]\nBF=2147483647\n"
                                 "[E_2]\nF1=2,99999999999\n"
                                 "[E_3]\nF1=7,3\n"
                                 "[E_4]\nNS=0\n"
                                 "[E_5]\nBA=\nBS=1\nBE=-2147483648\nBAF=3\n"
                                 "[B_1]\nBA=\nBS=2\nBE=6\nBAF=2x\nF1=33\n",
                                 &rejected);
    EXPECT_EQ(rejected, (std::vector<CString>{"G_1", "G_2", "G_3", "E_1", "E_2", "E_3", "E_4", "E_5"}));
    // The report names a few; a file of thousands counts the rest.
    EXPECT_STREQ(ChordLookup::ListNames(rejected, "and %d more"), "G_1, G_2, G_3, E_1, E_2, E_3, E_4, E_5");
    rejected.resize(12, "X_1");
    EXPECT_STREQ(ChordLookup::ListNames(rejected, "and %d more"),
                 "G_1, G_2, G_3, E_1, E_2, E_3, E_4, E_5, X_1, X_1 and 2 more");
    // A translation's other codes are text, not a format.
    EXPECT_STREQ(ChordLookup::ListNames(rejected, "%s %n %d%%"), "G_1, G_2, G_3, E_1, E_2, E_3, E_4, E_5, X_1, X_1 %s %n 2%");
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_STREQ(shapes[0].name, "B");
    EXPECT_EQ(shapes[0].hasBarre, 1);
    EXPECT_EQ(shapes[0].barreFirstString, 2);
    EXPECT_EQ(shapes[0].barreLastString, 6);
    EXPECT_EQ(shapes[0].barreFret, 2); // atoi rules
}

TEST(ChordShapeFile, OddSectionNamesAndAnEmptyLastSection)
{
    const auto shapes = LoadText("[12]\nF1=1,1\n[_1]\nF1=1,1\n[C]\nF1=1,1\n[Dm_1]\n");
    ASSERT_EQ(shapes.size(), 4u);
    EXPECT_STREQ(shapes[0].name, ""); // no "_": no name, the whole text as version
    EXPECT_EQ(shapes[0].version, 12);
    EXPECT_STREQ(shapes[1].name, "");
    EXPECT_EQ(shapes[1].version, 1);
    EXPECT_STREQ(shapes[2].name, "");
    EXPECT_EQ(shapes[2].version, 0);
    const ChordShape& last = shapes[3];
    EXPECT_STREQ(last.name, "Dm");
    EXPECT_EQ(last.baseFret, 1);
    EXPECT_EQ(last.hasBarre, 0);
    EXPECT_EQ(last.fingers[0].string, FINGER_UNUSED);
    EXPECT_TRUE(last.mutedStrings.empty());

    EXPECT_TRUE(LoadText("").empty());
    EXPECT_TRUE(ChordShapeFile::Load("no-such-chordfile.ini", nullptr).empty());
}

TEST(ChordShapeFile, KeysMatchAsWrittenOrInLowerCase)
{
    std::vector<IniSection> sections(1);
    sections[0].names = {"Baf", "baf", "BAF", "NS"};
    sections[0].values = {"1", "2", "3", "4,5"};
    EXPECT_EQ(ChordShapeFile::ReadIntKey(sections, 0, "BAF", 0), 2); // the first match
    EXPECT_TRUE(ChordShapeFile::HasKey(sections, 0, "NS"));
    EXPECT_FALSE(ChordShapeFile::HasKey(sections, 0, "BS"));
    EXPECT_FALSE(ChordShapeFile::HasKey(sections, 1, "NS")); // no record
    EXPECT_EQ(ChordShapeFile::ReadIntKey(sections, -1, "NS", 7), 7);
    EXPECT_STREQ(ChordShapeFile::ReadStringKey(sections, 0, "NS", "-"), "4,5");
    EXPECT_STREQ(ChordShapeFile::ReadStringKey(sections, 0, "ns", "-"), "-"); // NS is not ns in lower case
    EXPECT_STREQ(ChordShapeFile::ReadStringKey(sections, 0, "F1", "-"), "-");
}

TEST(ChordSpelling, FlatSpellingAndAlternatives)
{
    EXPECT_STREQ(ChordShapeFile::FlatSpelling("c#m7"), "Dbm7");
    EXPECT_STREQ(ChordShapeFile::FlatSpelling("Bbm"), "A#m");
    EXPECT_STREQ(ChordShapeFile::FlatSpelling("G#"), "Ab");
    EXPECT_STREQ(ChordShapeFile::FlatSpelling("Em7"), "7");
    EXPECT_STREQ(ChordShapeFile::FlatSpelling("C"), "");
    EXPECT_STREQ(ChordShapeFile::FlatSpelling(""), "");

    EXPECT_STREQ(ChordLookup::Alternative("dbm/f"), "c#m");
    EXPECT_STREQ(ChordLookup::Alternative("a#7"), "bb7");
    EXPECT_STREQ(ChordLookup::Alternative("am"), "xxx");
    EXPECT_STREQ(ChordLookup::Alternative("cbm"), "xxx"); // no such root pair
    EXPECT_STREQ(ChordLookup::Alternative("c"), "xxx");
    EXPECT_STREQ(ChordLookup::Alternative(""), "xxx");
    EXPECT_STREQ(ChordLookup::CompareForm(" A m7 "), "am7");
}

TEST(ChordSpelling, TextOfTheLanguageFileGetsTheNameByHand)
{
    EXPECT_STREQ(ChordLookup::FillInName("The shape %s was skipped.", "G_1"), "The shape G_1 was skipped.");
    EXPECT_STREQ(ChordLookup::FillInName("100%% %s %d %s %", "A_2"), "100% A_2 %d %s %");
    EXPECT_STREQ(ChordLookup::FillInName("no name", "A_2"), "no name");
}

TEST(ChordSelection, VersionsWrapBothWays)
{
    const std::vector<ChordShape> shapes = {Named("C", 1), Named("Am", 1), Named("Am", 2), Named("Am", 3)};
    EXPECT_EQ(ChordLookup::CountVersions(shapes, "Am"), 3);
    EXPECT_EQ(ChordLookup::CountVersions(shapes, "AM/C"), 3);
    ChordSelection sel;
    EXPECT_TRUE(sel.Show(shapes, "Am", 3));
    EXPECT_EQ(sel.index, 3);
    EXPECT_TRUE(sel.Show(shapes, sel.name, sel.version + 1)); // right arrow at the last
    EXPECT_EQ(sel.version, 1);
    EXPECT_EQ(sel.index, 1);
    EXPECT_TRUE(sel.Show(shapes, sel.name, sel.version - 1)); // left arrow at the first
    EXPECT_EQ(sel.version, 3);
    EXPECT_FALSE(sel.Show(shapes, "Am", 3)); // the same again: nothing to redraw
    EXPECT_STREQ(sel.key, "am");
}

TEST(ChordSelection, SpellingsSpacesAndCase)
{
    const std::vector<ChordShape> shapes = {Named("Am", 1), Named("C#m/Dbm", 1), Named("C#m/Dbm", 2),
                                            Named("Bbm", 1), Named("Bbm", 2)};
    ChordSelection sel;
    EXPECT_TRUE(sel.Show(shapes, "Dbm", 2));
    EXPECT_EQ(sel.index, 2);
    EXPECT_STREQ(sel.key, "c#m");
    EXPECT_EQ(ChordLookup::CountVersions(shapes, "Dbm"), 2);
    EXPECT_EQ(ChordLookup::CountVersions(shapes, "C#m"), 2);
    // A sharp name finds a shape written with a flat, and steps through it.
    EXPECT_EQ(ChordLookup::CountVersions(shapes, "A#m"), 2);
    EXPECT_TRUE(sel.Show(shapes, "A#m", 2));
    EXPECT_EQ(sel.index, 4);
    EXPECT_TRUE(sel.Show(shapes, "a m", 1));
    EXPECT_EQ(sel.index, 0);
    EXPECT_STREQ(sel.name, "a m"); // kept as given
    EXPECT_FALSE(sel.Show(shapes, "A M", 1));
    // The combo's item text, both spellings at once.
    EXPECT_TRUE(sel.Show(shapes, "C#m/Dbm", 1));
    EXPECT_EQ(sel.index, 1);
    // A chord stored under both spellings counts each version once, so
    // every version the arrows reach shows a shape.
    const std::vector<ChordShape> both = {Named("C#m/Dbm", 1), Named("C#m/Dbm", 2), Named("C#m/Dbm", 3),
                                          Named("Dbm", 1), Named("Dbm", 2)};
    EXPECT_EQ(ChordLookup::CountVersions(both, "C#m"), 3);
    EXPECT_EQ(ChordLookup::CountVersions(both, "Dbm"), 3);
    EXPECT_TRUE(sel.Show(both, "C#m", 3));
    EXPECT_TRUE(sel.Show(both, "C#m", 4));
    EXPECT_EQ(sel.version, 1);
}

TEST(ChordSelection, UnknownNamesClearAndEmptyNamesKeep)
{
    const std::vector<ChordShape> shapes = {Named("", 1), Named("A", 1), Named("A", 2)};
    ChordSelection sel;
    EXPECT_FALSE(sel.Show(shapes, "", 1)); // nothing shown yet
    ASSERT_TRUE(sel.Show(shapes, "A", 2));
    // Leaving the chords keeps the diagram.
    EXPECT_FALSE(sel.Show(shapes, "", 1));
    EXPECT_EQ(sel.index, 2);
    EXPECT_STREQ(sel.name, "A");

    ASSERT_TRUE(sel.Show(shapes, "A", 1));
    EXPECT_TRUE(sel.Show(shapes, "H7", 1));
    EXPECT_EQ(sel.index, -1);
    EXPECT_STREQ(sel.key, "");
    EXPECT_EQ(sel.version, 1);
    // Short names and unknown roots never reach the nameless shape.
    EXPECT_FALSE(sel.Show(shapes, "C", 1));
    EXPECT_FALSE(sel.Show(shapes, "Cb", 1));
    EXPECT_FALSE(sel.Show(shapes, "b", 1));
    EXPECT_EQ(sel.index, -1);
}

TEST(ChordSelection, ComboNamesAndTheItemOfAShape)
{
    const std::vector<ChordShape> shapes = {Named("A", 1), Named("A", 2), Named("C#m/Dbm", 1), Named("A", 3),
                                            Named("Bb7", 1), Named("C", 1)};
    const std::vector<CString> items = ChordLookup::ComboNames(shapes);
    EXPECT_EQ(items, (std::vector<CString>{"A", "C#m/Dbm", "A", "Bb7", "C"}));
    EXPECT_EQ(ChordLookup::FindComboItem(items, "a"), 0);
    EXPECT_EQ(ChordLookup::FindComboItem(items, "c#m"), 1);
    EXPECT_EQ(ChordLookup::FindComboItem(items, "dbm"), 1);
    EXPECT_EQ(ChordLookup::FindComboItem(items, "bb7"), 3);
    EXPECT_EQ(ChordLookup::FindComboItem(items, "a#7"), 3);
    EXPECT_EQ(ChordLookup::FindComboItem(items, "c"), 4);
    EXPECT_EQ(ChordLookup::FindComboItem(items, "d"), -1);
    EXPECT_TRUE(ChordLookup::ComboNames({}).empty());
}

TEST(ChordDiagramLayout, RowsFollowTheBaseFret)
{
    // A client area of 170 x 220 pixels.
    const ChordDiagramLayout layout(0, 0, 170, 220);
    EXPECT_EQ(layout.NutY(), 220 - 150 - 7);
    EXPECT_EQ(layout.StringX(1), 30);
    EXPECT_EQ(layout.StringX(6), 130);
    const DiagramRect band = layout.Band();
    EXPECT_EQ(band.bottom, 33);

    // Base fret 5: a finger at fret 6 sits in the second row, on its string.
    ChordShape shape;
    shape.baseFret = 5;
    shape.fingers[1] = {3, 6};
    shape.fingers[2] = {FINGER_ON_BARRE, FINGER_ON_BARRE};
    DiagramPoint dot;
    ASSERT_TRUE(layout.FingerDotPos(shape, 1, dot));
    const int rowTop = layout.NutY() + ChordDiagramLayout::kFretSpacing;
    EXPECT_EQ(dot.y + 8, rowTop + 15);
    EXPECT_EQ(dot.x + 8, layout.StringX(3));
    EXPECT_FALSE(layout.FingerDotPos(shape, 0, dot)); // unused
    EXPECT_FALSE(layout.FingerDotPos(shape, 2, dot)); // on the barre

    // Row j's number stands beside row j.
    for (int j = 1; j <= 5; ++j) {
        const DiagramRect r = layout.FretNumberRect(j);
        EXPECT_GT(r.bottom, layout.NutY() + (j - 1) * 30);
        EXPECT_LE(r.bottom, layout.NutY() + j * 30);
        EXPECT_LT(r.right, layout.StringX(1));
    }

    // The barre crosses the middle of its row; one string gets a wider bar.
    shape.hasBarre = 1;
    shape.barreFret = 5;
    shape.barreFirstString = 1;
    shape.barreLastString = 6;
    DiagramRect barre;
    ASSERT_TRUE(layout.BarreRect(shape, barre));
    EXPECT_EQ((barre.top + barre.bottom) / 2, layout.NutY() + 15);
    EXPECT_EQ(barre.left, 25);
    EXPECT_EQ(barre.right, 135);
    shape.barreFirstString = shape.barreLastString = 2;
    ASSERT_TRUE(layout.BarreRect(shape, barre));
    EXPECT_EQ(barre.right - barre.left, 15);
    shape.hasBarre = 0;
    EXPECT_FALSE(layout.BarreRect(shape, barre));

    // Arrows at a tenth from each side of the band, centred in its height.
    const DiagramPoint left = layout.ArrowPos(false, 25, 25);
    const DiagramPoint right = layout.ArrowPos(true, 25, 25);
    EXPECT_EQ(left.x, 17 - 12);
    EXPECT_EQ(right.x, 153 - 12);
    EXPECT_EQ(left.y, 16 - 12);
}
