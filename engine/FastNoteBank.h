#pragma once
// Note magnitudes of many frames at once: the frames (frames x U) times the
// cosine and sine tables of twelve notes (U x 24) with the analysis window
// folded into the tables, blocked for the cache and vectorised.
#include <vector>

class CFastNoteBank {
public:
    // Samples per table; frames must be readable (and finite) this far.
    int PaddedLength() const { return m_padded; }

    // Tables of the twelve frequencies over len samples at rate, built with
    // the analyser's recurrence (so they equal its stored tables) and
    // multiplied by window.
    void Prepare(const float freqs[12], const float* window, int len, int rate);

    // mags[12 x i + k] = magnitude of note k over the frame x + starts[i].
    void Compute(const float* x, const int* starts, int frames, float* mags);

private:
    float* Table(int t);

    int m_len = 0;
    int m_padded = 0;
    std::vector<float> m_tables;  // 24 rows (cos, sin per note) of m_padded
    std::vector<float> m_partial; // running sums: frames x 24 x 8 lanes
};
