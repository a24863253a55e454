#pragma once
// The analysis worker's results: the engine's four result matrices turned
// into the document's records and packed pitch codes. Portable.

#include <vector>

#include "app/DocTypes.h"
#include "framework/CString.h"

class CFloatMatrix;

struct AnalysisResults {
    std::vector<ChordEntry> chords;
    std::vector<BassNote> bassNotes;
    std::vector<int> pitchSetCodes; // six 4-bit fields, 12 = no pitch
    std::vector<int> pitchSetTimes; // ms
    std::vector<int> pitchPairCodes; // two 4-bit fields
    std::vector<int> pitchPairTimes; // ms
    float referencePitch = 0.0f;     // Hz
    CString keyName;

    // Empties the six lists; pitch and key stay.
    void Clear();
};

// Integer part (toward zero) of an engine value; values no int can hold,
// and NaN, give 0 so a garbage element can never trap.
int TruncateResult(float v);

// Pitch field of a packed code: the integer part when it is 0..11, else 12.
int PitchField(float v);

// Suffix text of the engine's chord type code ("" for unknown codes).
const char* ChordSuffixFromCode(int code);

// True when the engine stopped early: its chord matrix is 1 x 1 (or absent).
bool IsStoppedRun(const CFloatMatrix* chords);

// Appends the records of the four matrices to out (its lists are emptied
// first). Returns false, adding nothing, for a stopped run. Columns that are
// the engine's "none" placeholders (a negative time, or for chords and bass
// notes a negative pitch) give no record; a matrix with fewer rows than its
// kind has, or a missing one, gives none.
bool ConvertAnalysisMatrices(const CFloatMatrix* chords, const CFloatMatrix* bass,
                             const CFloatMatrix* tones, const CFloatMatrix* bassTones,
                             AnalysisResults& out);
