#pragma once
// Guitar chord shapes: the record of one fingering, the reader of the chord
// shape file, the name lookups of the chord diagram (spellings, versions,
// combo items) and the diagram's geometry. Portable.
#include <vector>

#include "framework/CString.h"
#include "views/IniFile.h"

// A finger pair holding one of these in both members is no position.
const int FINGER_ON_BARRE = 33;
const int FINGER_UNUSED = -10;

struct FingerPlace {
    int string; // 1 (low E) .. 6 (high E)
    int fret;   // absolute
};

// One fingering of one chord.
struct ChordShape {
    CString name; // as in the section; a sharp name also carries its flat spelling, "C#m/Dbm"
    int version = 0;
    int baseFret = 1; // the fret printed beside the first row
    int hasBarre = 0;
    int barreFret = 0;
    int barreFirstString = 0;
    int barreLastString = 0;
    FingerPlace fingers[4] = {
        {FINGER_UNUSED, FINGER_UNUSED}, {FINGER_UNUSED, FINGER_UNUSED},
        {FINGER_UNUSED, FINGER_UNUSED}, {FINGER_UNUSED, FINGER_UNUSED}};
    std::vector<int> mutedStrings;
};

// The chord shape file ("chordfile.ini"): one section per shape, named
// chord "_" version, with the keys BA, BS, BE, BAF, BF, F1-F4 and NS.
class ChordShapeFile {
public:
    // Key names match when written as given or all in lower case; the first
    // matching line of the section counts. A section index without a record
    // reads as a section without keys.
    static bool HasKey(const std::vector<IniSection>& sections, int section, const char* key);
    static int ReadIntKey(const std::vector<IniSection>& sections, int section, const char* key, int def);
    static CString ReadStringKey(const std::vector<IniSection>& sections, int section, const char* key,
                                 const CString& def);
    // The other spelling of a sharp or flat root, the rest kept: c#m7 gives
    // Dbm7, Bbm gives A#m; any other root is dropped (only the rest remains).
    static CString FlatSpelling(const CString& name);

    // The shapes of the file in file order; a missing file gives none. A
    // section with a barre but no usable BS, BE or BAF, or with a number no
    // guitar has (string 1-6, fret 0-24, base fret 1-24), is skipped and its
    // name appended to rejected (when given).
    static std::vector<ChordShape> Load(const CString& path, std::vector<CString>* rejected);
};

// Name lookups. Names compare in lower case; a root spelled with "#" or "b"
// also matches its other spelling.
class ChordLookup {
public:
    // Lower case without blanks: "a m" compares as "am".
    static CString CompareForm(const CString& name);
    // The other spelling of a lower-case name with a sharp or flat root, cut
    // before its "/"; "xxx" (no chord's name) when it has none.
    static CString Alternative(const CString& lowerName);
    // The distinct versions among the shapes that carry the name in either
    // spelling.
    static int CountVersions(const std::vector<ChordShape>& shapes, const CString& name);
    // The names of the combo box (without its blank first item): a shape's
    // name whenever it differs from the one before.
    static std::vector<CString> ComboNames(const std::vector<ChordShape>& shapes);
    // The first item that names the shape key (see ChordSelection), -1 none.
    static int FindComboItem(const std::vector<CString>& items, const CString& key);
    // A shape's name as compared: lower case, a sharp name cut before "/".
    static CString ShapeKey(const CString& shapeName);
    // Fills the name into the first "%s" of a text from the language file;
    // "%%" gives "%", any other "%" stays as it is.
    static CString FillInName(const CString& pattern, const CString& name);
    // The first few names joined by commas; more are counted into "more"
    // (a text whose first "%d" takes the count).
    static CString ListNames(const std::vector<CString>& names, const CString& more);
    // A text into the first "%" code of a pattern, "%%" as "%"; any other
    // "%" stays as it is.
    static CString FillIn(const CString& pattern, char code, const CString& text);
};

// Which shape the chord diagram shows: the current shape index (-1 none),
// the name as last asked for and the version.
class ChordSelection {
public:
    int index = -1;
    CString name;
    int version = 1;
    CString key; // ShapeKey of the shown shape, empty with none

    // Selects version (wrapped into 1..count) of the named chord. An empty
    // name changes nothing; an unknown chord shows nothing. False when
    // nothing changed.
    bool Show(const std::vector<ChordShape>& shapes, const CString& chordName, int wantedVersion);
    // Shows nothing; false when nothing was shown.
    bool Clear();
};

struct DiagramRect {
    int left, top, right, bottom;
};
struct DiagramPoint {
    int x, y;
};

// Where the parts of the diagram lie in a client area. The grid of six
// strings and five fret rows hangs from the bottom-right corner.
class ChordDiagramLayout {
public:
    static const int kFretSpacing = 30;
    static const int kFretCount = 5;
    static const int kStringSpacing = 20;
    static const int kStringCount = 6;

    ChordDiagramLayout(int left, int top, int right, int bottom) : m_client{left, top, right, bottom} {}

    int NutY() const { return m_client.bottom - kFretCount * kFretSpacing - 7; }
    int X0() const { return m_client.right - (kStringCount + 1) * kStringSpacing; }
    int StringX(int k) const { return X0() + (k - 1) * kStringSpacing; }
    int GridBottom() const { return m_client.bottom - 15; }
    int GridRight() const { return X0() + (kStringCount - 1) * kStringSpacing; }

    // Row j (1..5) is labelled j + baseFret - 1.
    DiagramRect FretNumberRect(int j) const;
    DiagramRect StringNameRect(int k) const;
    DiagramRect Band() const;
    DiagramPoint ArrowPos(bool right, int bitmapWidth, int bitmapHeight) const;
    // False when the shape has no barre.
    bool BarreRect(const ChordShape& shape, DiagramRect& out) const;
    DiagramPoint BarreDotPos(const DiagramRect& barre) const { return {barre.right + 10, barre.bottom - 12}; }
    // Top-left of the 16 x 16 dot of finger (0..3); false when the finger
    // lies on the barre or is unused.
    bool FingerDotPos(const ChordShape& shape, int finger, DiagramPoint& out) const;
    DiagramRect VersionStrip() const;
    DiagramRect VersionTextRect() const;

private:
    DiagramRect m_client;
};
