#pragma once
// The band-pass of one analysis octave above 320 Hz.
#include <vector>

#include "RemezFilter.h"

// Designs the octave's band-pass for the analysed rate and multiplies it by
// a Hann window: 100 taps when A < 500 Hz, else 80; stop band up to 0.6 f,
// pass band 0.8 f to 2.5 f, stop band from 2.9 f (f the octave's D, seven
// semitones below A). False when the design fails (its exchange broke or
// did not converge); *how (optional) tells how the exchange ended.
bool DesignOctaveFilter(float A, int rate, std::vector<float>& taps,
                        CRemezFilter::Outcome* how = nullptr);
