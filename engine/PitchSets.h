#pragma once
// Rankings of pitch classes per frame, the sounding pitch classes at the
// tone-change peaks and the builders of the exported tone and bass-tone
// matrices (output numbering A = 0, -1 for none).

#include <array>

#include "../shared/FloatMatrix.h"

namespace Stages {

// Six (pitch class, value) pairs, strongest first. `values` is a scratch
// copy: the first five picks are zeroed in it.
std::array<float, 12> TopPitchClasses(float values[12]);

// 13 rows per frame: six ranked pairs, then the time.
void TopSixPerFrame(CFloatMatrix& result, const CFloatMatrix& chroma);
// 7 rows per frame: three ranked pairs of the bass chroma, then the time;
// with eightRows, row 7 copies input row 13 where the input has one.
void TopThreeBassPerFrame(CFloatMatrix& result, const CFloatMatrix& bassChroma, bool eightRows);

// Tone candidates and the strongest-tone list at the tone peaks. candidates:
// 6 rows (five pitch classes or 12, time), strongest: 2 rows (pitch class,
// value). With no peak (peakCount 0) candidates is one column of 12 with the
// peak list's time and strongest is 1 x 1 (no list for the key pass).
void SelectTones(const CFloatMatrix& peaks, int peakCount, const CFloatMatrix& topSix,
                 CFloatMatrix& candidates, CFloatMatrix& strongest);

// Internal pitch class to output index: (trunc(x) + 5) mod 12.
float OutputPitch(float x);
void BuildToneMatrix(CFloatMatrix& result, const CFloatMatrix& candidates);
// From the raw bass peak matrix (rows 0 and 2 pitch classes, row 6 time).
// No peak gives the 3 x 1 matrix of -1.
void BuildBassToneMatrix(CFloatMatrix& result, const CFloatMatrix& bassPeaks);

// Final conversion of the chord and bass results to output indexes; the -1
// placeholders stay -1.
void ConvertResultPitches(CFloatMatrix& chord, CFloatMatrix& bass);

} // namespace Stages
