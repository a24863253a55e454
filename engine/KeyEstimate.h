#pragma once
// Key estimation: CAnalysisEngine::EstimateKey (declared with the engine).
//
//   CFloatMatrix CAnalysisEngine::EstimateKey(double profile[12], int& key,
//                                             const CFloatMatrix& pairs);
//
// profile: 12 doubles by internal pitch class (D = 0). The seven entries
//   picked as key tones are set to 0, so the caller's array changes; keep a
//   copy when the profile is needed again (the fallback pass below).
// pairs: how the pitch-class histogram is made.
//   - a 1 x 1 matrix means "no list": the histogram is the profile itself;
//   - otherwise 2 rows, one column per event: row 0 a pitch class (its
//     integer part, 0..11; other values are skipped), row 1 a weight added
//     to that class. Only rows 0 and 1 are read, so a longer matrix works.
// key (out; its value on entry is not used): the tonic of the best-fitting
//   major scale, 0..11, or tonic + 12 when the histogram decides nothing
//   (every tonic scores the same, e.g. an empty or uniform histogram). Then
//   run the pass again on the profile with a 1 x 1 pairs matrix and take
//   key mod 12.
// Returns the key tones: 1 x 7, the pitch classes of the seven strongest
//   profile entries, strongest first (an index repeats when fewer than seven
//   entries are positive).
#include "AnalysisEngine.h"

// Number of key tones in the list EstimateKey returns.
constexpr int kKeyToneCount = 7;
