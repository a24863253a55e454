#include "views/TabLayout.h"

#include <cstdlib>

#include "views/ChordLayout.h"

void DistributeNotes(std::vector<TabRow>& rows, const std::vector<BassNote>& notes)
{
    for (TabRow& r : rows) {
        r.items.clear();
        r.offsets.clear();
    }
    PlaceOnRows(rows, notes, [&](size_t r, const BassNote& n, int offset) {
        rows[r].items.push_back(n);
        rows[r].offsets.push_back(offset);
    });
}

bool IsNoteShown(const BassNote& note, int mode) { return mode != 0 || note.level > 60; }

namespace {

int Mod12(int v) { return (v % 12 + 12) % 12; }

// Open positions for low notes, higher up the neck for the others.
int AutoPlace(CString& text, int q, int octave)
{
    struct Place {
        int lowString, lowFret, highString, highFret, octaveLimit;
    };
    static const Place kPlaces[12] = {
        {1, 0, 3, 2, 1}, {1, 1, 3, 3, 1}, {1, 2, 3, 4, 1}, {1, 3, 3, 5, 1}, {1, 4, 3, 6, 1}, {2, 0, 3, 7, 3},
        {2, 1, 2, 1, 99}, {0, 0, 2, 2, 1}, {0, 1, 2, 3, 1}, {0, 2, 2, 4, 1}, {0, 3, 2, 5, 1}, {0, 4, 2, 6, 1},
    };
    const Place& p = kPlaces[Mod12(q + 12)];
    const bool low = octave <= p.octaveLimit;
    text.Format("%d", low ? p.lowFret : p.highFret);
    return low ? p.lowString : p.highString;
}

} // namespace

int PlaceNoteOnString(CString& text, int pitch, int octave, int placement, int transposition)
{
    text.Empty();
    int s = placement & 0xFF;
    if (s > 100)
        s = -1;
    const int shiftedOctave = transposition <= 0 ? octave - 1 : octave + 1;
    const int q = pitch + transposition;
    // String 4 does not exist; like every index above 3 it is placed
    // automatically, so the note stays visible.
    if (s > 3)
        return AutoPlace(text, q, shiftedOctave);
    if (s < 0)
        return AutoPlace(text, q, octave);
    const int fret = (placement >> 16) + transposition;
    if (fret < 0 || fret > 22)
        return AutoPlace(text, q, shiftedOctave);
    text.Format("%d", fret);
    return s;
}

void PitchFromFret(const CString& fret, int string, int transposition, int& pitch, int& octave)
{
    static const int kOpen[4] = {19, 12, 17, 22}; // E, A, D, G from A = 0
    const int f = std::atoi(fret) - transposition;
    pitch = Mod12(f + kOpen[string < 0 ? 0 : string > 3 ? 3 : string]);
    octave = string;
}

bool IsValidFretText(const CString& text)
{
    if (text.IsEmpty() || text.GetLength() > 2)
        return false;
    if (text[0] < '0' || text[0] > '9')
        return false;
    return std::atoi(text) != 0 || text[0] == '0';
}

CString PitchPairText(int packed, int transposition)
{
    const int a = packed & 0xF, b = (packed >> 4) & 0xF;
    const int pa = a < 12 ? Mod12(a + transposition + 12) : -1;
    const int pb = b < 12 ? Mod12(b + transposition + 12) : -1;
    CString text = PitchName(pa);
    if (pb != pa)
        text += PitchName(pb);
    return text;
}
