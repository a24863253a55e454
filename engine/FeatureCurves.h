#pragma once
// Moving-average smoothing of chroma matrices, the per-frame curves the
// later stages follow (chordness, tone change, bass strength) and the peak
// pickers that turn curves into event lists.
//
// Chroma matrices have 13 rows: 0-11 pitch classes (D = 0), 12 frame time in
// ms. Curves have 2 rows: value and time.

#include "../shared/FloatMatrix.h"

namespace Stages {

// Half-width in frames of a moving average over `seconds`.
int HalfWidth(double seconds, double hop);
// Smooths rows [firstRow, firstRow + rowCount) of `in` into the same rows of
// `out` (which must have in's shape): mean over frames s-h..s+h that lie in
// 1..cols-1. Frame 0 never contributes; an empty neighbourhood gives 0.
void SmoothRows(const CFloatMatrix& in, CFloatMatrix& out, int firstRow, int rowCount, int h);

// Chord path: chroma is replaced by its 0.33 s smoothing; the result is the
// chordness curve computed from a 0.21 s smoothing. rate is not used.
void SmoothChordChroma(CFloatMatrix& result, CFloatMatrix& chroma, int rate, double hop);
void ComputeChordness(CFloatMatrix& result, const CFloatMatrix& chroma, double hop);

// Tone path: chroma is replaced by its 0.09 s smoothing; the result is its
// per-frame variance (the tone-change curve).
void SmoothToneChroma(CFloatMatrix& result, CFloatMatrix& chroma, double hop);
void ChromaVariance(CFloatMatrix& result, const CFloatMatrix& chroma);

// Bass path: bass chroma is replaced by its 0.2 s smoothing; the result is
// the bass-strength curve (strongest class of a 0.08 s smoothing, then
// smoothed over 0.121 s).
void SmoothBassChroma(CFloatMatrix& result, CFloatMatrix& bassChroma, double hop);

// Alternating-ish peaks and valleys of a curve: rows value, time, kind (1 peak,
// 0 valley). Returns the number of extremes; with none, one column of -1.
// In both pickers a curve that falls from frame 1 on has a peak there: the
// stretch from the song's start is an event like any other.
int FindPeaksAndValleys(CFloatMatrix& result, const CFloatMatrix& curve);
// Whole columns of `m` at the local maxima of row `row`. Returns the number
// of peaks; with none, one column of -1 (all rows).
int FindPeakColumns(CFloatMatrix& result, const CFloatMatrix& m, int row);

} // namespace Stages
