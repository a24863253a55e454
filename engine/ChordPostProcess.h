#pragma once
// Cleaning of the decided chord list (rows as in ChordDecision.h). Each step
// rewrites the matrix in place or keeps a subset of its columns; a step that
// keeps nothing leaves one column of -1.

#include "../shared/FloatMatrix.h"

namespace Stages {

// The six steps in their fixed order. bassNotes: the bass-note matrix
// (row 0 pitch class, row 4 time), read only.
void PostProcessChords(CFloatMatrix& chord, int key, const CFloatMatrix& bassNotes);

void DropChordsOnFastBass(CFloatMatrix& chord, const CFloatMatrix& bassNotes);
void PropagateRunType(CFloatMatrix& chord);
void FixPowerChordsByKey(CFloatMatrix& chord, int key);
void KeepStrongestOfRun(CFloatMatrix& chord);
void DropCloseChords(CFloatMatrix& chord);

} // namespace Stages
