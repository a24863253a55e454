#pragma once
// The level the analysis reads a song at. The later stages compare their
// scores with fixed numbers, so a quiet song is brought up to -1 dBFS; a
// loud one is read as given, bit for bit.
#include <array>
#include <cmath>

class CFloatMatrix;

namespace SongLevel {

// Largest magnitude among the finite samples (0 for none).
float Peak(const float* x, int count);

// The song's level, taken while its samples pass by in order: the sample
// peak, unless a few samples (a click, a glitch) stand far above the rest of
// the song; those are then set aside, and the level is the peak of what is
// left.
class CMeter {
public:
    // chunk: the samples of one moment (10 ms).
    explicit CMeter(int chunk);
    void Add(const float* x, long long count);
    float Level();

private:
    void EndChunk();

    // The loudest moments, 10 ms each, among which clicks are told apart.
    static const int kLoudest = 16;
    long long m_chunk;
    long long m_filled; // samples in the current moment
    float m_current;    // its peak
    float m_peak;
    int m_chunks;
    std::array<float, kLoudest> m_loudest; // their peaks, ascending
};

// Gain that brings a level below -1 dBFS up to -1 dBFS; 1 for a song that
// loud already and for near-silence (below -90 dBFS), which is never raised.
float GainFor(float level);

// The analysed rates of 44.1 and 48 kHz songs are 22050 and 24000 Hz; those
// songs, and any analysed between, are read as they are. A song analysed at
// another rate is read like one at the nearer of the two: this gives that
// rate (the tuning estimate reads its frequencies).
int ReferenceRate(int analysedRate);

// The semitone magnitudes are sums over the window, so they grow with its
// length in samples: gain that brings a window of another rate to the level
// of those of ReferenceRate's two ends, which keep theirs.
float WindowGain(int window);

// True when no pitch stands out of the semitone spectrogram S (rows 0-71,
// one column per 40 ms frame) anywhere: the recording is only noise or hiss.
bool IsNoise(const CFloatMatrix& S);

// A sample as the analysis reads it: NaN and infinities are silence.
inline float Finite(float x) { return std::isfinite(x) ? x : 0.0f; }

} // namespace SongLevel
