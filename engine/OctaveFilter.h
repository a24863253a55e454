#pragma once
// The filter each analysis octave is read through: a band-pass above
// 320 Hz, the shared smoothing kernel at or below.
#include <cmath>
#include <vector>

#include "RemezFilter.h"

// Designs the octave's band-pass for the analysed rate and multiplies it by
// a Hann window: 100 taps when A < 500 Hz, else 80; stop band up to 0.6 f,
// pass band 0.8 f to 2.5 f, stop band from 2.9 f (f the octave's D, seven
// semitones below A). False when the design fails (its exchange broke or
// did not converge); *how (optional) tells how the exchange ended.
bool DesignOctaveFilter(float A, int rate, std::vector<float>& taps,
                        CRemezFilter::Outcome* how = nullptr);

// True when the octave of A gets its own band-pass (else the kernel).
inline bool HasOctaveBandPass(float A) { return A > 320.0f; }

// The twelve note frequencies of the octave of A, from D (seven semitones
// below A) to C#.
inline void OctaveNotes(float A, float f[12])
{
    for (int k = 0; k < 12; ++k)
        f[k] = A * std::pow(2.0f, (float)(k - 7) / 12.0f);
}

// Per note row of the spectrogram (12 per octave, reference pitch `pitch`),
// the gain that gives a song analysed at `rate` the response its filters
// have at `target`: the designs depend on the rate, so the same note comes
// out up to 1.5 dB louder at 11025 Hz than at 22050 Hz. All 1 when the two
// rates are the same, and when a design fails (false).
bool NoteGainsForRate(float pitch, int rate, int target, float gains[72]);
