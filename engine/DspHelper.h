#pragma once
// Windows and the smoothing kernel of the analysis frames.
#include <vector>

class CDspHelper {
public:
    CDspHelper() {}
    ~CDspHelper() {}

    // w[i] = 0.5 - 0.5 cos(2 pi i / n), i = 0..n-1 (first value 0, no closing
    // zero); n of 1 or less gives the single value 1.0.
    static void MakeHannWindow(float* w, int n);
    // Hann taps of length floor(rate / divisor) - 1, normalised to sum 1; a
    // single tap 1.0 when that length is 1 or less.
    static void MakeSmoothingKernel(std::vector<float>& taps, int rate, int divisor);
};
