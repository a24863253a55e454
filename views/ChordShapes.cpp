#include "views/ChordShapes.h"

#include <algorithm>
#include <cstring>

#include "app/TextConvert.h"

namespace {

CString Lower(const CString& s)
{
    CString out(s);
    out.MakeLower();
    return out;
}

// The second character, 0 for names shorter than two.
char Second(const CString& s) { return s.GetLength() >= 2 ? s[1] : '\0'; }

CString CutAtSlash(const CString& s)
{
    const int slash = s.Find('/');
    return slash >= 0 ? s.Left(slash) : s;
}

// The pieces of a comma list; runs of commas count as one separator.
std::vector<CString> SplitCommas(const CString& text)
{
    std::vector<CString> pieces;
    int start = 0;
    const int n = text.GetLength();
    for (int i = 0; i <= n; ++i) {
        if (i == n || text[i] == ',') {
            if (i > start)
                pieces.push_back(text.Mid(start, i - start));
            start = i + 1;
        }
    }
    return pieces;
}

const IniSection* SectionAt(const std::vector<IniSection>& sections, int section)
{
    return section >= 0 && section < (int)sections.size() ? &sections[section] : nullptr;
}

// The index of the first line whose name is the key or its lower case.
int KeyLine(const std::vector<IniSection>& sections, int section, const char* key)
{
    const IniSection* s = SectionAt(sections, section);
    if (!s)
        return -1;
    const CString exact(key);
    const CString lower = Lower(exact);
    for (size_t i = 0; i < s->names.size(); ++i)
        if (s->names[i] == exact || s->names[i] == lower)
            return (int)i;
    return -1;
}

FingerPlace ParseFinger(const CString& v)
{
    if (v == "33")
        return {FINGER_ON_BARRE, FINGER_ON_BARRE};
    if (v.Find(',') <= 0)
        return {FINGER_UNUSED, FINGER_UNUSED};
    const std::vector<CString> pieces = SplitCommas(v);
    FingerPlace place = {ParseLeadingInt(pieces[0]), 0};
    if (pieces.size() > 1)
        place.fret = ParseLeadingInt(pieces[1]);
    return place;
}

// Numbers a guitar can have: six strings and 24 frets. A hand-edited file
// may hold anything, and the diagram's arithmetic must not overflow.
bool OnTheNeck(int string, int fret) { return string >= 1 && string <= 6 && fret >= 0 && fret <= 24; }

bool Playable(const ChordShape& s)
{
    if (s.baseFret < 1 || s.baseFret > 24)
        return false;
    if (s.hasBarre && (!OnTheNeck(s.barreFirstString, s.barreFret) || !OnTheNeck(s.barreLastString, s.barreFret)))
        return false;
    for (const FingerPlace& f : s.fingers) {
        const bool special = (f.string == FINGER_ON_BARRE && f.fret == FINGER_ON_BARRE) ||
                             (f.string == FINGER_UNUSED && f.fret == FINGER_UNUSED);
        if (!special && !OnTheNeck(f.string, f.fret))
            return false;
    }
    for (int m : s.mutedStrings)
        if (!OnTheNeck(m, 0))
            return false;
    return true;
}

} // namespace

// --- The chord shape file ---

bool ChordShapeFile::HasKey(const std::vector<IniSection>& sections, int section, const char* key)
{
    return KeyLine(sections, section, key) >= 0;
}

int ChordShapeFile::ReadIntKey(const std::vector<IniSection>& sections, int section, const char* key, int def)
{
    const int line = KeyLine(sections, section, key);
    return line < 0 ? def : ParseLeadingInt(sections[section].values[line]);
}

CString ChordShapeFile::ReadStringKey(const std::vector<IniSection>& sections, int section, const char* key,
                                      const CString& def)
{
    const int line = KeyLine(sections, section, key);
    return line < 0 ? def : sections[section].values[line];
}

CString ChordShapeFile::FlatSpelling(const CString& name)
{
    static const char* const kPairs[][2] = {{"c#", "Db"}, {"d#", "Eb"}, {"f#", "Gb"}, {"g#", "Ab"}, {"a#", "Bb"},
                                            {"db", "C#"}, {"eb", "D#"}, {"gb", "F#"}, {"ab", "G#"}, {"bb", "A#"}};
    const CString first = Lower(name.Left(2));
    CString root;
    for (const auto& pair : kPairs)
        if (first == pair[0])
            root = pair[1];
    return root + name.Mid(2);
}

std::vector<ChordShape> ChordShapeFile::Load(const CString& path, std::vector<CString>* rejected)
{
    std::vector<ChordShape> shapes;
    CIniFile ini(path);
    ini.Load(); // a missing or broken file simply yields fewer sections
    const int count = ini.GetSectionCount();
    const std::vector<IniSection> sections = ini.GetSections();
    const std::vector<CString> names = ini.GetSectionNames();
    for (int i = 0; i < count; ++i) {
        ChordShape shape;
        const CString& section = names[i];
        const int underscore = section.Find('_');
        shape.name = section.Left(underscore);
        shape.version = ParseLeadingInt(section.Mid(underscore + 1));
        if (HasKey(sections, i, "BA")) {
            shape.hasBarre = 1;
            shape.barreFirstString = ReadIntKey(sections, i, "BS", 0);
            shape.barreLastString = ReadIntKey(sections, i, "BE", 0);
            shape.barreFret = ReadIntKey(sections, i, "BAF", 0);
            if (shape.barreFirstString == 0 || shape.barreLastString == 0 || shape.barreFret == 0) {
                if (rejected)
                    rejected->push_back(section);
                continue;
            }
        }
        shape.baseFret = ReadIntKey(sections, i, "BF", 1);
        static const char* const kFingerKeys[4] = {"F1", "F2", "F3", "F4"};
        for (int f = 0; f < 4; ++f)
            shape.fingers[f] = ParseFinger(ReadStringKey(sections, i, kFingerKeys[f], CString()));
        const CString muted = ReadStringKey(sections, i, "NS", CString());
        for (const CString& piece : SplitCommas(muted))
            shape.mutedStrings.push_back(ParseLeadingInt(piece));
        if (!Playable(shape)) {
            if (rejected)
                rejected->push_back(section);
            continue;
        }
        if (Second(shape.name) == '#')
            shape.name = shape.name + "/" + FlatSpelling(shape.name);
        shapes.push_back(shape);
    }
    return shapes;
}

// --- Name lookups ---

CString ChordLookup::CompareForm(const CString& name)
{
    CString out = Lower(name);
    out.Remove(' ');
    return out;
}

CString ChordLookup::Alternative(const CString& lowerName)
{
    const char second = Second(lowerName);
    if (second != '#' && second != 'b')
        return "xxx";
    const CString cut = CutAtSlash(lowerName);
    const CString alt = Lower(ChordShapeFile::FlatSpelling(cut));
    // A root the table does not know loses its two characters: no spelling.
    return alt.GetLength() == cut.GetLength() ? alt : CString("xxx");
}

CString ChordLookup::ShapeKey(const CString& shapeName)
{
    const CString lower = Lower(shapeName);
    return Second(lower) == '#' ? CutAtSlash(lower) : lower;
}

int ChordLookup::CountVersions(const std::vector<ChordShape>& shapes, const CString& name)
{
    CString s = Lower(name);
    const int slash = s.Find('/');
    if (slash >= 1)
        s = s.Left(slash);
    const CString alt = Alternative(s);
    // The versions the lookup can reach: a chord stored in both spellings
    // ("C#m_1..3" and "Dbm_1..2") has three, not five.
    std::vector<int> versions;
    for (const ChordShape& shape : shapes) {
        const CString key = ShapeKey(shape.name);
        if (key == s || key == alt)
            versions.push_back(shape.version);
    }
    std::sort(versions.begin(), versions.end());
    return (int)(std::unique(versions.begin(), versions.end()) - versions.begin());
}

std::vector<CString> ChordLookup::ComboNames(const std::vector<ChordShape>& shapes)
{
    std::vector<CString> names;
    for (size_t i = 0; i < shapes.size(); ++i)
        if (i == 0 || shapes[i].name != shapes[i - 1].name)
            names.push_back(shapes[i].name);
    return names;
}

int ChordLookup::FindComboItem(const std::vector<CString>& items, const CString& key)
{
    for (size_t i = 0; i < items.size(); ++i) {
        CString t = Lower(items[i]);
        const char second = Second(t);
        if (second == '#' || second == 'b')
            t = CutAtSlash(t);
        if (t == key || Alternative(t) == key)
            return (int)i;
    }
    return -1;
}

CString ChordLookup::ListNames(const std::vector<CString>& names, const CString& more)
{
    const size_t shown = 10;
    CString list;
    for (size_t i = 0; i < names.size() && i < shown; ++i)
        list += (i ? ", " : "") + names[i];
    if (names.size() > shown) {
        // The text comes from the language file: it is no format string.
        CString count;
        count.Format("%d", (int)(names.size() - shown));
        list += " " + FillIn(more, 'd', count);
    }
    return list;
}

CString ChordLookup::FillIn(const CString& pattern, char code, const CString& text)
{
    CString out;
    bool used = false;
    const char* p = pattern;
    while (*p) {
        if (p[0] == '%' && p[1] == '%') {
            out += '%';
            p += 2;
        } else if (p[0] == '%' && p[1] == code && !used) {
            out += text;
            used = true;
            p += 2;
        } else {
            out += *p++;
        }
    }
    return out;
}

CString ChordLookup::FillInName(const CString& pattern, const CString& name) { return FillIn(pattern, 's', name); }

// --- Selection ---

bool ChordSelection::Clear()
{
    const bool changed = index != -1 || !name.IsEmpty();
    index = -1;
    name.Empty();
    key.Empty();
    return changed;
}

bool ChordSelection::Show(const std::vector<ChordShape>& shapes, const CString& chordName, int wantedVersion)
{
    // The mouse leaving the chords keeps the diagram, so that the user can
    // reach the version arrows.
    if (chordName.IsEmpty())
        return false;
    CString a = ChordLookup::CompareForm(chordName);
    if (a == ChordLookup::CompareForm(name) && wantedVersion == version)
        return false;
    const int count = ChordLookup::CountVersions(shapes, a);
    int v = wantedVersion;
    if (v < 1)
        v = count;
    else if (v > count)
        v = 1;
    CString alt = ChordLookup::Alternative(a);
    if (alt != "xxx")
        a = CutAtSlash(a);
    for (size_t i = 0; i < shapes.size(); ++i) {
        const CString b = ChordLookup::ShapeKey(shapes[i].name);
        if ((b == a || b == alt) && shapes[i].version == v) {
            const bool changed = index != (int)i || name != chordName || version != v;
            index = (int)i;
            name = chordName;
            version = v;
            key = b;
            return changed;
        }
    }
    return Clear(); // the version stays as it was
}

// --- Geometry ---

DiagramRect ChordDiagramLayout::FretNumberRect(int j) const
{
    const int bottom = (int)(NutY() + kFretSpacing * j - 7.5);
    return {X0() - 26, bottom - 12, X0() - 13, bottom};
}

DiagramRect ChordDiagramLayout::StringNameRect(int k) const
{
    return {StringX(k) - 4, NutY() - 18, StringX(k) + 6, NutY() - 3};
}

DiagramRect ChordDiagramLayout::Band() const
{
    const int height = (int)(0.15 * (m_client.bottom - m_client.top));
    return {m_client.left, m_client.top, m_client.right, m_client.top + height};
}

DiagramPoint ChordDiagramLayout::ArrowPos(bool right, int bitmapWidth, int bitmapHeight) const
{
    const DiagramRect band = Band();
    const double share = right ? 0.9 : 0.1;
    const int x = (int)(band.left + share * (band.right - band.left) - bitmapWidth / 2);
    const int y = (int)(band.top + 0.5 * (band.bottom - band.top) - bitmapHeight / 2);
    return {x, y};
}

bool ChordDiagramLayout::BarreRect(const ChordShape& shape, DiagramRect& out) const
{
    if (!shape.hasBarre)
        return false;
    out.top = NutY() + kFretSpacing / 2 + (shape.barreFret - shape.baseFret) * kFretSpacing - 3;
    out.bottom = out.top + 6;
    out.left = StringX(shape.barreFirstString) - 5;
    out.right = StringX(shape.barreLastString) + (shape.barreFirstString == shape.barreLastString ? 10 : 5);
    return true;
}

bool ChordDiagramLayout::FingerDotPos(const ChordShape& shape, int finger, DiagramPoint& out) const
{
    const FingerPlace& f = shape.fingers[finger];
    if ((f.string == FINGER_ON_BARRE && f.fret == FINGER_ON_BARRE) ||
        (f.string == FINGER_UNUSED && f.fret == FINGER_UNUSED))
        return false;
    out = {StringX(f.string) - 8, NutY() + (f.fret - shape.baseFret) * kFretSpacing + 7};
    return true;
}

DiagramRect ChordDiagramLayout::VersionStrip() const
{
    const DiagramRect band = Band();
    return {0, band.top + 31, m_client.right, band.top + 39};
}

DiagramRect ChordDiagramLayout::VersionTextRect() const
{
    const DiagramRect band = Band();
    const int left = (int)((band.right - band.left) / 2.0 - 30);
    return {left, band.top + 26, left + 60, band.top + 39};
}
