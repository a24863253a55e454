#pragma once
// Note magnitudes of many evenly spaced frames at once. The Hann window is
// split into three plain exponentials (0.5 at the note, -0.25 one window
// frequency to either side), and each frame's plain sums are put together
// from sums over hop-long segments that consecutive frames share. Those
// segment sums are one matrix product, (segments x hop) by (hop x 72), blocked
// for the cache and vectorised.
#include <vector>

class CFastNoteBank {
public:
    // Twelve note frequencies, frames of len samples every hop samples.
    void Prepare(const float freqs[12], int len, int hop, int rate);

    // Compute reads up to hop + 512 samples past the last frame's window:
    // they must be finite.
    // Working sums, shared by the banks of all octaves.
    struct Scratch {
        std::vector<float> partial; // running lane sums
        std::vector<double> head, tail;
        std::vector<double> headRe, headIm, wholeRe, wholeIm; // per segment and exponential
        std::vector<int> starts;
    };

    // mags[12 x i + k] = magnitude of note k over the Hann-windowed frame
    // x + first + i x hop, i = 0 .. frames - 1.
    void Compute(const float* x, int first, int frames, Scratch& scratch, float* mags);

private:
    struct Tables {
        int len = 0;    // samples summed
        int padded = 0; // row length
        std::vector<float> data;
        float* Row(int t);
    };
    static void Sums(Tables& tab, const float* x, const std::vector<int>& starts, std::vector<float>& partial,
                     std::vector<double>& out);

    int m_len = 0, m_hop = 0, m_whole = 0, m_rest = 0; // len = whole x hop + rest
    Tables m_head;                 // first `rest` samples of a segment
    Tables m_tail;                 // the remaining hop - rest
    std::vector<double> m_rotRe, m_rotIm; // e^(i a q hop), q = 0 .. whole, per exponential a
};
