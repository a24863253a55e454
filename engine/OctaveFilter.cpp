#include "OctaveFilter.h"

#include <cmath>

#include "DspHelper.h"

bool DesignOctaveFilter(float A, int rate, std::vector<float>& taps, CRemezFilter::Outcome* how)
{
    float d = A * std::pow(2.0f, -7.0f / 12.0f);
    int n = A < 500.0f ? 100 : 80;
    taps.assign(n, 0.0f);
    double bands[6] = {0.0, 0.6 * d, 0.8 * d, 2.5 * d, 2.9 * d, (double)(rate / 2)};
    const double desired[3] = {0.0, 1.0, 0.0};
    const double weights[3] = {2.0, 2.0, 5.0};
    CRemezFilter designer;
    // An exchange that kept cycling leaves no usable filter (all zeros, or
    // gains far above 1, at rates near 90000 Hz): that is a failed design.
    if (designer.Design(taps.data(), n, 3, bands, rate, desired, weights, CRemezFilter::BANDPASS, how) < 0)
        return false;
    std::vector<float> hann(n);
    CDspHelper::MakeHannWindow(hann.data(), n);
    for (int i = 0; i < n; ++i)
        taps[i] *= hann[i];
    return true;
}
