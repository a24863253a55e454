#pragma once
// Chords on the rows of the chord grid: which row each chord goes to, the
// row texts the lead sheet reads, which chords are shown in each display
// mode, and the names of sounding pitches. Portable.
#include <functional>
#include <vector>

#include "app/DocTypes.h"
#include "views/PageModel.h"

struct ChordRow : GridRow {
    std::vector<ChordEntry> items;
};

// Empties the rows' items and puts every chord into the first row whose
// span holds its time (a chord on a boundary goes to the earlier row). A
// chord outside every row is left out. rowTexts gets one
// text per row: the display names of its chords joined by tabs.
void DistributeChords(std::vector<ChordRow>& rows, const std::vector<ChordEntry>& chords,
                      std::vector<CString>& rowTexts);
// The row texts of a song of songMs in rows of rowMs, as the grid's rows
// give them, whatever view is shown.
std::vector<CString> ChordRowTexts(const std::vector<ChordEntry>& chords, int songMs, int rowMs);

// Names a chord for the document's transposition.
typedef std::function<CString(const ChordEntry&)> ChordNamer;

// Decides which of the rows' chords are shown (mode 1: all; modes 0 and 2
// thin them out, mode 2 also drops qualities and basses). Typed chords,
// confidence above 100, are always shown.
void SimplifyChords(std::vector<ChordRow>& rows, int mode, const ChordNamer& namer);

// "A" .. "G#" for 0..11, empty for anything else.
CString PitchName(int code);
// The names of six pitch codes, concatenated.
CString PitchSetText(const int codes[6]);
// The six pitch codes of a packed set, shown under a transposition:
// fields below 12 become (pitch + t + 12) mod 12, the others -1.
void UnpackPitchSet(int packed, int transposition, int codes[6]);
