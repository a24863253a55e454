#pragma once
// Bass notes from the peaks of the bass-strength curve. Engine numbering
// (D = 0), times in ms.
//
// Raw bass peak matrix, 8 rows per peak: 0-5 three ranked (pitch class,
// value) pairs, 6 time, 7 octave of the strongest low note (-1 unknown).
// Bass-note matrix, 7 rows per note: 0 pitch class, 1 value, 2 second pitch
// class, 3 its value, 4 time, 5 octave, 6 confidence (1.0 or 0.8).

#include "../shared/FloatMatrix.h"

namespace Stages {

// peaks: peak columns of the bass-strength curve (row 1 time), peakCount of
// them (0: none). octaves: 2 rows (octave, time); topThree: 7 rows.
void BuildBassPeaks(CFloatMatrix& bass, const CFloatMatrix& peaks, int peakCount,
                    const CFloatMatrix& octaves, const CFloatMatrix& topThree);
// Keeps the peaks whose strength (row 1) is above trunc(0.3 x mean); may
// leave zero columns.
void FilterBassByStrength(CFloatMatrix& bass);
// Replaces the raw peak matrix by the confident bass notes (7 x 1 of -1 when
// none). octaves is not read.
void RefineBassNotes(CFloatMatrix& bass, const CFloatMatrix& bassChroma, const CFloatMatrix& octaves,
                     const CFloatMatrix& keyTones, const CFloatMatrix& topThree);
// Within runs of one pitch class each note carries the lowest octave seen so
// far in the run.
void MergeEqualBassNotes(CFloatMatrix& bass);

} // namespace Stages
