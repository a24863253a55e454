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

namespace {
// Magnitude of the filter's response at each of the octave's notes.
bool OctaveResponse(float A, int rate, double out[12])
{
    std::vector<float> taps;
    if (HasOctaveBandPass(A)) {
        if (!DesignOctaveFilter(A, rate, taps))
            return false;
    } else {
        CDspHelper::MakeSmoothingKernel(taps, rate, 450);
    }
    float f[12];
    OctaveNotes(A, f);
    for (int k = 0; k < 12; ++k) {
        const double w = 2.0 * 3.14159265358979323846 * f[k] / rate;
        double re = 0.0, im = 0.0;
        for (size_t j = 0; j < taps.size(); ++j) {
            re += taps[j] * std::cos(w * (double)j);
            im += taps[j] * std::sin(w * (double)j);
        }
        out[k] = std::sqrt(re * re + im * im);
    }
    return true;
}
} // namespace

bool NoteGainsForRate(float pitch, int rate, int target, float gains[72])
{
    for (int i = 0; i < 72; ++i)
        gains[i] = 1.0f;
    if (rate == target)
        return true;
    for (int o = -3; o <= 2; ++o) {
        const float A = pitch * (float)std::pow(2.0, o);
        double have[12], want[12];
        if (!OctaveResponse(A, rate, have) || !OctaveResponse(A, target, want)) {
            for (int i = 0; i < 72; ++i)
                gains[i] = 1.0f;
            return false;
        }
        for (int k = 0; k < 12; ++k)
            gains[12 * (o + 3) + k] = have[k] > 0.0 ? (float)(want[k] / have[k]) : 1.0f;
    }
    return true;
}
