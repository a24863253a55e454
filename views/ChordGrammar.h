#pragma once
// Chord names typed by the user. What the user types is what is shown
// under the current transposition; the stored pitches have it taken off,
// so the document names the chord as typed. Portable.
#include <vector>

#include "app/DocTypes.h"

// Pitch code of a note name (any case): 0..11 in the standard spelling,
// 12..23 in the second spelling (A#, Db, Eb, Gb, Ab), -1 for no note name.
int PitchFromNoteName(const CString& text, int transposition);

// The chord a typed text names, at timeMs, as a typed chord (confidence
// 120). False when the text does not start with a note name.
bool ParseChordText(const CString& typed, int transposition, int timeMs, ChordEntry& out);

// Inserts before the first chord that is not earlier, so the list stays in
// time order.
void InsertChordInOrder(std::vector<ChordEntry>& chords, const ChordEntry& chord);
