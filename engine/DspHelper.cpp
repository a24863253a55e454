#include "DspHelper.h"

#include <cmath>

namespace {
const double kTwoPi = 6.28318530717958;
}

void CDspHelper::MakeHannWindow(float* w, int n)
{
    if (n <= 1) {
        if (n == 1)
            w[0] = 1.0f;
        return;
    }
    for (int i = 0; i < n; ++i)
        w[i] = (float)(0.5 - 0.5 * std::cos(kTwoPi * i / n));
}

void CDspHelper::MakeSmoothingKernel(std::vector<float>& taps, int rate, int divisor)
{
    int c = divisor > 0 ? rate / divisor : 0;
    // A one-tap Hann kernel is a single zero: normalising it would divide 0
    // by 0, so short kernels pass the signal through.
    if (c - 1 <= 1) {
        taps.assign(1, 1.0f);
        return;
    }
    int n = c - 1;
    taps.resize(n);
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        taps[i] = (float)(0.5 - 0.5 * std::cos(kTwoPi * i / n));
        sum += taps[i];
    }
    for (int i = 0; i < n; ++i)
        taps[i] = (float)(taps[i] / sum);
}
