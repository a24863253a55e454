#pragma once
// Bass notes on the rows of the tablature: which row each note goes to,
// which are shown, on which string and fret a note is written, and what a
// typed fret means. Strings are 0 = E, 1 = A, 2 = D, 3 = G. Portable.
#include <vector>

#include "app/DocTypes.h"
#include "views/PageModel.h"

struct TabRow : GridRow {
    std::vector<BassNote> items;
    GridPoint stringEnds[4]; // left ends, lowest string first
};

// As the chords: the first row whose span holds the note; a note outside
// every row is left out.
void DistributeNotes(std::vector<TabRow>& rows, const std::vector<BassNote>& notes);

// Mode 0 shows notes above level 60; every other mode shows all.
bool IsNoteShown(const BassNote& note, int mode);

// The string a note is written on under a transposition, and its fret text.
int PlaceNoteOnString(CString& text, int pitch, int octave, int placement, int transposition);

// The pitch and octave of a fret typed on a string.
void PitchFromFret(const CString& fret, int string, int transposition, int& pitch, int& octave);

// A typed fret is one or two characters starting with a digit, and "0" only
// as itself.
bool IsValidFretText(const CString& text);

// The names of a packed pitch pair under a transposition; a repeated pitch
// is named once.
CString PitchPairText(int packed, int transposition);
