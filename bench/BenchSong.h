#pragma once
// The benchmarks' song: 4 minutes at 44.1 kHz mono, a turnaround of eight
// chords over a bass line with low noise, the same in every benchmark.
#include <vector>

#include "tests/engine/SongSynth.h"

namespace bench {

const int kRate = 44100;
const double kSeconds = 240.0;

inline const std::vector<float>& Song()
{
    static const std::vector<float> y = [] {
        using namespace song;
        std::vector<std::pair<int, Quality>> roots;
        const std::pair<int, Quality> turn[8] = {{3, kMajor}, {10, kMajor}, {0, kMinor}, {8, kMajor},
                                                 {5, kMinor}, {10, kSeventh}, {3, kMajorSeventh}, {7, kMinor}};
        for (int i = 0; i < 120; ++i)
            roots.push_back(turn[i % 8]);
        std::vector<float> out = Render(Progression(roots, 0.0, kSeconds / 120), kSeconds, kRate, 440.0);
        AddNoise(out, 0.002);
        return out;
    }();
    return y;
}

// 16-bit PCM frames of the song's first `seconds`, the same sample on each
// of `channels`, little-endian, as a WAV file's data holds them.
inline std::vector<unsigned char> SongPcm16(int channels, double seconds = kSeconds)
{
    const std::vector<float>& y = Song();
    size_t n = (size_t)(seconds * kRate);
    if (n > y.size())
        n = y.size();
    std::vector<unsigned char> d;
    d.reserve(n * 2 * (size_t)channels);
    for (size_t i = 0; i < n; ++i) {
        float v = y[i] * 20000.0f;
        v = v > 32767.0f ? 32767.0f : (v < -32768.0f ? -32768.0f : v);
        const unsigned s = (unsigned)(int)v & 0xFFFF;
        for (int c = 0; c < channels; ++c) {
            d.push_back((unsigned char)(s & 0xFF));
            d.push_back((unsigned char)(s >> 8));
        }
    }
    return d;
}

} // namespace bench
