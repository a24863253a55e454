#pragma once
// Small helpers shared by the result stages.

#include "../shared/FloatMatrix.h"

namespace Stages {

inline float& El(CFloatMatrix& m, int r, int c) { return *m.At(r, c); }
inline float El(const CFloatMatrix& m, int r, int c) { return *m.At(r, c); }

// Pitch class arithmetic in the engine numbering (D = 0).
inline int Mod12(int p) { return ((p % 12) + 12) % 12; }

// x truncated toward zero, clamped to the int range; NaN gives 0. Values
// derived from the samples may be anything, and a plain cast of one beyond
// the range is undefined.
inline int TruncToInt(double x)
{
    if (!(x == x))
        return 0;
    if (x >= 2147483647.0)
        return 2147483647;
    if (x <= -2147483648.0)
        return -2147483647 - 1;
    return (int)x;
}

// a / b for non-negative values where an empty divisor must not yield NaN:
// 0 / 0 counts as equal (1), x / 0 as infinitely larger.
float SafeRatio(float a, float b);

} // namespace Stages
