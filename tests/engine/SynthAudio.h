#pragma once
// Synthesised test songs: notes with harmonics and an exponential decay.
#include <cmath>
#include <vector>

namespace synth {

// Frequency of a MIDI note for a given A4.
inline double NoteHz(int midi, double a4) { return a4 * std::pow(2.0, (midi - 69) / 12.0); }

// Adds a note of `seconds` from `at` (seconds): five harmonics of falling
// strength and an exponential decay.
inline void AddNote(std::vector<float>& out, int rate, double at, double seconds, double hz,
                    double amp)
{
    const double twoPi = 6.283185307179586;
    long first = (long)(at * rate);
    long n = (long)(seconds * rate);
    for (long i = 0; i < n && first + i < (long)out.size(); ++i) {
        double t = (double)i / rate;
        double env = amp * std::exp(-2.0 * t) * (i < 64 ? i / 64.0 : 1.0);
        double v = 0.0;
        for (int h = 1; h <= 5; ++h) {
            if (hz * h < rate / 2.0)
                v += std::sin(twoPi * hz * h * t) / h;
        }
        out[(size_t)(first + i)] += (float)(env * v);
    }
}

// A diatonic I-IV-V-I progression in the major key whose tonic is
// `tonicMidi` (e.g. 60 = C), each chord `chordSeconds` long, with its bass
// note an octave below, repeated to fill `seconds`.
inline std::vector<float> Progression(int rate, double seconds, double a4, int tonicMidi,
                                      double chordSeconds = 1.0)
{
    std::vector<float> out((size_t)(seconds * rate), 0.0f);
    const int chords[4][3] = {{0, 4, 7}, {5, 9, 12}, {7, 11, 14}, {0, 4, 7}};
    int i = 0;
    for (double t = 0.0; t + chordSeconds <= seconds + 1e-9; t += chordSeconds, ++i) {
        const int* c = chords[i % 4];
        for (int k = 0; k < 3; ++k)
            AddNote(out, rate, t, chordSeconds, NoteHz(tonicMidi + c[k], a4), 0.12);
        AddNote(out, rate, t, chordSeconds, NoteHz(tonicMidi + c[0] - 12, a4), 0.15);
    }
    return out;
}

// The same progression with a louder melody walking the major scale (a
// note each quarter of a chord), so that every scale degree is heard on top.
inline std::vector<float> DiatonicSong(int rate, double seconds, double a4, int tonicMidi,
                                       double chordSeconds = 1.0)
{
    std::vector<float> out = Progression(rate, seconds, a4, tonicMidi, chordSeconds);
    const int walk[14] = {0, 2, 4, 5, 7, 9, 11, 12, 11, 9, 7, 5, 4, 2};
    double step = chordSeconds / 4;
    int i = 0;
    for (double t = 0.0; t + step <= seconds + 1e-9; t += step, ++i)
        AddNote(out, rate, t, step, NoteHz(tonicMidi + 12 + walk[i % 14], a4), 0.3);
    return out;
}

} // namespace synth
