#pragma once
// Songs with known chords for the end-to-end tests and the accuracy tool:
// chords of harmonic tones over a bass line, at any tuning and rate.
#include <cmath>
#include <cstdint>
#include <vector>

namespace song {

enum Quality { kMajor, kMinor, kSeventh, kMinorSeventh, kMajorSeventh };

struct Chord {
    double start, seconds;
    int root;      // pitch class, A = 0 (the engine's output numbering)
    Quality quality;
    int bass;      // pitch class of the bass note, A = 0
};

inline std::vector<int> Intervals(Quality q)
{
    switch (q) {
    case kMajor: return {0, 4, 7};
    case kMinor: return {0, 3, 7};
    case kSeventh: return {0, 4, 7, 10};
    case kMinorSeventh: return {0, 3, 7, 10};
    case kMajorSeventh: return {0, 4, 7, 11};
    }
    return {};
}

inline bool IsMajor(Quality q) { return q == kMajor || q == kSeventh || q == kMajorSeventh; }

// Five harmonics of falling strength, a soft attack, a slow decay and a
// short release.
inline void AddTone(std::vector<float>& out, int rate, double at, double seconds, double hz, double amp)
{
    const double twoPi = 6.283185307179586;
    const long first = (long)(at * rate), n = (long)(seconds * rate);
    const long attack = rate / 100, release = rate / 50;
    for (long i = 0; i < n && first + i < (long)out.size(); ++i) {
        const double t = (double)i / rate;
        double env = amp * std::exp(-0.6 * t);
        if (i < attack)
            env *= (double)i / attack;
        if (n - i < release)
            env *= (double)(n - i) / release;
        double v = 0.0;
        for (int h = 1; h <= 5; ++h)
            if (hz * h < rate / 2.0)
                v += std::sin(twoPi * hz * h * t) / h;
        out[(size_t)(first + i)] += (float)(env * v);
    }
}

// Frequency of pitch class pc (A = 0) in the octave starting at A of
// `octaveA` Hz.
inline double PitchHz(int pc, double octaveA) { return octaveA * std::pow(2.0, pc / 12.0); }

// Chord tones in the octave above A3 of the tuning (a4 / 2), the bass two
// octaves lower.
inline std::vector<float> Render(const std::vector<Chord>& chords, double totalSeconds, int rate, double a4)
{
    std::vector<float> out((size_t)(totalSeconds * rate), 0.0f);
    for (const Chord& c : chords) {
        for (int iv : Intervals(c.quality))
            AddTone(out, rate, c.start, c.seconds, PitchHz(c.root + iv, a4 / 2), 0.1);
        AddTone(out, rate, c.start, c.seconds, PitchHz(c.bass, a4 / 8), 0.2);
    }
    return out;
}

// A chord progression of equal-length chords from `start`, root-position
// bass unless given.
inline std::vector<Chord> Progression(const std::vector<std::pair<int, Quality>>& roots, double start,
                                      double seconds)
{
    std::vector<Chord> out;
    double t = start;
    for (auto& r : roots) {
        out.push_back({t, seconds, r.first, r.second, r.first});
        t += seconds;
    }
    return out;
}

// Deterministic low-level noise.
inline void AddNoise(std::vector<float>& out, double amp, uint32_t seed = 12345)
{
    for (float& x : out) {
        seed = seed * 1664525u + 1013904223u;
        x += (float)(amp * ((seed >> 8) / 8388608.0 - 1.0));
    }
}

// Deterministic pink noise (equal energy per octave), about +-1.
inline void AddPinkNoise(std::vector<float>& out, double amp, uint32_t seed = 54321)
{
    double b0 = 0, b1 = 0, b2 = 0;
    for (float& x : out) {
        seed = seed * 1664525u + 1013904223u;
        const double w = (seed >> 8) / 8388608.0 - 1.0;
        b0 = 0.99765 * b0 + w * 0.0990460;
        b1 = 0.96300 * b1 + w * 0.2965164;
        b2 = 0.57000 * b2 + w * 1.0526913;
        x += (float)(amp * 0.25 * (b0 + b1 + b2 + w * 0.1848));
    }
}

} // namespace song
