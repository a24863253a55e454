#pragma once
#include "../framework/CString.h"

// Name of an output pitch index (A = 0). 0..11 use "Bb" and otherwise
// sharps, 12 and up "A#" and otherwise flats; negatives fall to "G#".
CString GetNoteNameText(int note);
// Name of an internal key index (D = 0); "" outside 0..11.
CString GetKeyNameText(int key);
