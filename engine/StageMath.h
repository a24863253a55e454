#pragma once
// Small helpers shared by the result stages.

#include "../shared/FloatMatrix.h"

namespace Stages {

inline float& El(CFloatMatrix& m, int r, int c) { return *m.At(r, c); }
inline float El(const CFloatMatrix& m, int r, int c) { return *m.At(r, c); }

// Pitch class arithmetic in the engine numbering (D = 0).
inline int Mod12(int p) { return ((p % 12) + 12) % 12; }

// a / b for non-negative values where an empty divisor must not yield NaN:
// 0 / 0 counts as equal (1), x / 0 as infinitely larger.
float SafeRatio(float a, float b);

} // namespace Stages
