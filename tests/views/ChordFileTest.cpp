// The shipped chord shape file: every section loads, every shape sounds
// exactly its chord on a guitar in standard tuning and fits the diagram, and
// every chord name the program can show finds a shape in both spellings.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "views/ChordShapes.h"

namespace {

const char* const kRoots[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
const char* const kFlatRoots[12] = {"C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab", "A", "Bb", "B"};
const int kOpenStrings[6] = {4, 9, 2, 7, 11, 4}; // E A D G B E, from C = 0

struct Quality {
    const char* suffix;
    std::set<int> tones;  // intervals above the root
    std::set<int> needed; // what every shape must sound
};
const Quality kQualities[] = {
    {"", {0, 4, 7}, {0, 4}},
    {"m", {0, 3, 7}, {0, 3}},
    {"5", {0, 7}, {0, 7}},
    {"6", {0, 4, 7, 9}, {0, 4, 9}},
    {"m6", {0, 3, 7, 9}, {0, 3, 9}},
    {"7", {0, 4, 7, 10}, {0, 4, 10}},
    {"m7", {0, 3, 7, 10}, {0, 3, 10}},
    {"maj7", {0, 4, 7, 11}, {0, 4, 11}},
    {"9", {0, 2, 4, 7, 10}, {0, 2, 4, 10}},
    {"m9", {0, 2, 3, 7, 10}, {0, 2, 3, 10}},
    {"sus4", {0, 5, 7}, {0, 5}},
    {"add9", {0, 2, 4, 7}, {0, 2, 4}},
};

std::vector<ChordShape> ShippedShapes(std::vector<CString>* rejected)
{
    return ChordShapeFile::Load(QUORVA_SOURCE_DIR "/data/chordfile.ini", rejected);
}

// The fret each string sounds at (-1 muted, 0 open): the barre under its
// strings, a finger above it.
std::vector<int> SoundingFrets(const ChordShape& s)
{
    std::vector<int> frets(6, 0);
    for (int string = 1; string <= 6; ++string) {
        if (s.hasBarre && string >= s.barreFirstString && string <= s.barreLastString)
            frets[string - 1] = s.barreFret;
        for (const FingerPlace& f : s.fingers)
            if (f.string == string && f.fret > frets[string - 1])
                frets[string - 1] = f.fret;
    }
    for (int m : s.mutedStrings)
        if (m >= 1 && m <= 6)
            frets[m - 1] = -1;
    return frets;
}

// Empty when the shape sounds the chord root + quality; else what is wrong.
std::string CheckShape(const ChordShape& s, int root, const Quality& q)
{
    std::string name = std::string(s.name) + "_" + std::to_string(s.version) + ": ";
    const std::vector<int> frets = SoundingFrets(s);
    std::set<int> heard;
    int bass = -1;
    for (int i = 0; i < 6; ++i) {
        if (frets[i] < 0)
            continue;
        const int interval = ((kOpenStrings[i] + frets[i] - root) % 12 + 12) % 12;
        if (bass < 0)
            bass = interval;
        heard.insert(interval);
        if (!q.tones.count(interval))
            return name + "string " + std::to_string(i + 1) + " sounds a note outside the chord";
        // Every fretted note must show in the five rows of the diagram.
        if (frets[i] > 0 && (frets[i] < s.baseFret || frets[i] > s.baseFret + 4))
            return name + "string " + std::to_string(i + 1) + " is fretted outside the diagram";
    }
    for (int t : q.needed)
        if (!heard.count(t))
            return name + "interval " + std::to_string(t) + " is missing";
    if (bass != 0)
        return name + "the lowest note is not the root";
    std::set<int> fingerStrings;
    for (const FingerPlace& f : s.fingers) {
        if (f.string == FINGER_ON_BARRE && f.fret == FINGER_ON_BARRE) {
            if (!s.hasBarre)
                return name + "a finger on a barre that is not there";
            continue;
        }
        if (f.string == FINGER_UNUSED && f.fret == FINGER_UNUSED)
            continue;
        if (f.string < 1 || f.string > 6 || f.fret < 1)
            return name + "a finger off the fretboard";
        if (!fingerStrings.insert(f.string).second)
            return name + "two fingers on one string";
    }
    if (s.hasBarre && (s.barreFirstString < 1 || s.barreLastString > 6 || s.barreFirstString > s.barreLastString))
        return name + "the barre lies off the strings";
    return std::string();
}

// Root and quality of a shape name such as "C#m7/Dbm7".
bool Identify(const CString& shapeName, int& root, const Quality*& quality)
{
    std::string name(shapeName);
    name = name.substr(0, name.find('/'));
    for (int r = 11; r >= 0; --r) { // sharps first: "C#" before "C"
        const std::string rn = kRoots[r];
        if (name.compare(0, rn.size(), rn) != 0)
            continue;
        for (const Quality& q : kQualities)
            if (name.substr(rn.size()) == q.suffix) {
                root = r;
                quality = &q;
                return true;
            }
    }
    return false;
}

} // namespace

TEST(ShippedChordFile, EverySectionLoadsAndSoundsItsChord)
{
    std::vector<CString> rejected;
    const std::vector<ChordShape> shapes = ShippedShapes(&rejected);
    EXPECT_TRUE(rejected.empty());
    ASSERT_GE(shapes.size(), 144u);
    for (const ChordShape& s : shapes) {
        int root = 0;
        const Quality* quality = nullptr;
        ASSERT_TRUE(Identify(s.name, root, quality)) << s.name;
        EXPECT_EQ(CheckShape(s, root, *quality), "");
    }
}

TEST(ShippedChordFile, EveryNameTheProgramShowsHasShapesNumberedFromOne)
{
    const std::vector<ChordShape> shapes = ShippedShapes(nullptr);
    for (int r = 0; r < 12; ++r) {
        for (const Quality& q : kQualities) {
            for (const char* root : {kRoots[r], kFlatRoots[r]}) {
                const CString name = CString(root) + q.suffix;
                const int count = ChordLookup::CountVersions(shapes, name);
                EXPECT_GE(count, 1) << name;
                // Each version is reachable by name, as the arrows step.
                for (int v = 1; v <= count; ++v) {
                    ChordSelection sel;
                    EXPECT_TRUE(sel.Show(shapes, name, v)) << name << " " << v;
                    EXPECT_EQ(sel.version, v);
                }
            }
        }
    }
    // The common chords offer more than one fingering.
    for (const char* name : {"C", "G", "D", "A", "E", "Am", "Em", "Dm", "C7", "G7", "A7"})
        EXPECT_GE(ChordLookup::CountVersions(shapes, name), 2) << name;
}

TEST(ShippedChordFile, TheCheckCatchesWrongFingerings)
{
    const Quality& major = kQualities[0];
    const Quality& minor = kQualities[1];
    ChordShape c; // C: x 3 2 0 1 0
    c.name = "C";
    c.version = 1;
    c.fingers[0] = {5, 1};
    c.fingers[1] = {3, 2};
    c.fingers[2] = {2, 3};
    c.mutedStrings = {1};
    EXPECT_EQ(CheckShape(c, 0, major), "");
    EXPECT_NE(CheckShape(c, 0, minor), ""); // E is no minor third

    ChordShape wrong = c;
    wrong.fingers[1] = {3, 3}; // D string at fret 3: F
    EXPECT_NE(CheckShape(wrong, 0, major), "");
    wrong = c;
    wrong.mutedStrings.clear(); // the open low E under the root
    EXPECT_NE(CheckShape(wrong, 0, major), "");
    wrong = c;
    wrong.fingers[2] = {FINGER_UNUSED, FINGER_UNUSED}; // A string open: A
    EXPECT_NE(CheckShape(wrong, 0, major), "");
    wrong = c;
    wrong.baseFret = 3; // fret 1 and 2 above the diagram
    EXPECT_NE(CheckShape(wrong, 0, major), "");

    ChordShape f; // F barre: 1 3 3 2 1 1
    f.name = "F";
    f.hasBarre = 1;
    f.barreFret = 1;
    f.barreFirstString = 1;
    f.barreLastString = 6;
    f.fingers[0] = {FINGER_ON_BARRE, FINGER_ON_BARRE};
    f.fingers[1] = {4, 2};
    f.fingers[2] = {2, 3};
    f.fingers[3] = {3, 3};
    EXPECT_EQ(CheckShape(f, 5, major), "");
    f.fingers[1] = {FINGER_UNUSED, FINGER_UNUSED}; // G string on the barre: G#, no A
    EXPECT_NE(CheckShape(f, 5, major), "");
}
