#include "SongLevel.h"

#include <cstdint>
#include <cstring>

namespace SongLevel {

float Peak(const float* x, int count)
{
    // The magnitudes' bit patterns order like the magnitudes; NaN and
    // infinity patterns are skipped. Integer maxima keep the scan vectorised.
    const uint32_t kInfinity = 0x7f800000u;
    uint32_t best = 0;
    for (int i = 0; i < count; ++i) {
        uint32_t bits;
        std::memcpy(&bits, x + i, sizeof bits);
        bits &= 0x7fffffffu;
        bits = bits < kInfinity ? bits : 0u;
        best = bits > best ? bits : best;
    }
    float peak;
    std::memcpy(&peak, &best, sizeof peak);
    return peak;
}

float GainFor(float peak)
{
    const double target = std::pow(10.0, -1.0 / 20.0);
    const double floor = std::pow(10.0, -90.0 / 20.0);
    if (!(peak < target) || peak < floor)
        return 1.0f;
    return (float)(target / peak);
}

} // namespace SongLevel
