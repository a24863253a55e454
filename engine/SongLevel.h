#pragma once
// The level the analysis reads a song at. The later stages compare their
// scores with fixed numbers, so a quiet song is brought up to -1 dBFS; a
// loud one is read as given, bit for bit.
#include <cmath>

namespace SongLevel {

// Largest magnitude among the finite samples (0 for none).
float Peak(const float* x, int count);

// Gain that brings a peak below -1 dBFS up to -1 dBFS; 1 for a song that
// loud already and for near-silence (a peak below -90 dBFS), which is
// never raised.
float GainFor(float peak);

// The semitone magnitudes are sums over the window, so they grow with its
// length in samples: gain that brings a window of another rate to the level
// of those of 44.1 and 48 kHz songs (analysed at 22050 and 24000 Hz), which
// keep theirs.
float WindowGain(int window);

// A sample as the analysis reads it: NaN and infinities are silence.
inline float Finite(float x) { return std::isfinite(x) ? x : 0.0f; }

} // namespace SongLevel
