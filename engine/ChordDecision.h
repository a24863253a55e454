#pragma once
// One chord per peak of the chordness curve: root, quality, extension type,
// optional bass, second candidate and confidence. Engine numbering (D = 0),
// times in ms.
//
// Chord matrix rows: 0 root, 1 score, 2 major flag, 3 second root, 4 its
// score, 5 its major flag, 6 time, 7 type code, 8 bass pitch (-1 none),
// 9 confidence.

#include <array>
#include <vector>

#include "../shared/FloatMatrix.h"

namespace Stages {

// 24 triad scores: 0-11 major on that root, 12-23 minor on root index-12.
// Plain form (root weight w): (w*p[r] + third + fifth) / 3; the seven-note
// form adds the minor and major seventh, ninth and fourth and divides by 7.
std::array<float, 24> ScoreTriads(const float p[12], double rootWeight, bool sevenNoteForm);
// Five (root, score, major flag) triples, best first; zeroes each chosen
// score in `scores`.
std::array<float, 15> TopFiveTriads(float scores[24]);
// Value of the (n+1)-th pick of a repeated arg-max over a copy of values.
float NthStrongest(int n, const float values[12], int* index);

bool IsInKeyScale(int pitch, int key);
// Whether a triad of this quality on this root belongs to the key.
bool IsDiatonicQuality(int pitch, bool major, int key);
// Whether pitch is one of the seven entries of row 0 of keyTones.
bool IsAmongStrongest(int pitch, const CFloatMatrix& keyTones);

// 0 quality decided, 1 undecided, -1 reject; may rewrite record[2].
int DecideQuality(float record[9], const float profile[12], const CFloatMatrix& keyTones, int key,
                  const std::vector<int>& candidates, int chordBass);
// Extension type code (0, 4, 5, 6, 7, 8, 9, 10) or -1 to reject; level
// receives the profile value of the last extension found.
int ClassifyExtension(int root, bool major, int secondRoot, bool secondMajor, const float profile[12],
                      float& level, int chordBass, int meanChordness);

// On entry chord holds the peak-valley list of the chordness curve; on return
// the 10-row chord matrix (10 x 1 of -1 when no chord).
void DecideChords(CFloatMatrix& chord, const CFloatMatrix& chordness, const CFloatMatrix& bassNotes,
                  const CFloatMatrix& bassChroma, const CFloatMatrix& chroma, int rate,
                  CFloatMatrix keyTones, int key);

} // namespace Stages
