#pragma once
// Chord display names, transposition and the key text. Portable.

#include <vector>

#include "app/DocTypes.h"

// Note names of pitch codes: 0..11 standard spelling, 12..23 the second
// spelling. The program answers with the analysis engine's names; set by
// whoever binds the engine. Without a source every name is empty.
typedef CString (*NoteNameSource)(int code);
void SetNoteNameSource(NoteNameSource source);
CString GetNoteNameFor(int code);

// The chord's name for transposition t (-12..11 in use).
CString BuildChordName(const ChordEntry& chord, int transposition);

// 0..10 for "A", "Bb", "B", "C", "C#", "D", "D#", "E", "F", "F#", "G";
// anything else, "G#" included, is 11.
int KeyRootIndex(const CString& name);

// The key text after an analysis: the engine's key, or its relative minor
// when fewer than half of the chords are major (power chords count as
// neither).
CString ChooseKeyText(const CString& engineKey, const std::vector<ChordEntry>& chords);

// The key text as the chords show it, transposed by t semitones: "C" by 2
// gives "D", "Am" by -1 "G#m". A text that names no key stays as it is.
CString TransposeKeyText(const CString& key, int t);
