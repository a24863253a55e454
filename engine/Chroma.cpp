// Chroma, bass chroma and low-note octave from the semitone spectrogram.
#include <cmath>
#include <vector>

#include "AnalysisEngine.h"
#include "StageMath.h"

namespace {
bool InKeyTones(int pitch, const CFloatMatrix& keyTones)
{
    if (keyTones.GetRows() < 1)
        return false;
    int n = keyTones.GetCols() < 7 ? keyTones.GetCols() : 7;
    for (int i = 0; i < n; ++i)
        if (*keyTones.At(0, i) == (float)pitch)
            return true;
    return false;
}
} // namespace

void CAnalysisEngine::ComputeChroma(CFloatMatrix& S, CFloatMatrix& F, CFloatMatrix& E,
                                    CFloatMatrix& W, CFloatMatrix keyTones, double hop)
{
    const int n = S.GetCols();
    if (S.GetRows() < 73 || n < 1)
        return;

    // 1. Moving average over 0.2 s; column 0 never serves as a neighbour.
    int h = (int)std::floor((0.2 / hop) / 2.0);
    std::vector<float> tmp(n);
    for (int i = 0; i < 72; ++i) {
        float* row = S.At(i, 0);
        for (int j = 0; j < n; ++j) {
            double sum = 0.0;
            int used = 0;
            for (int k = -h; k <= h; ++k) {
                int c = j + k;
                if (c > 0 && c < n) {
                    sum += row[c];
                    ++used;
                }
            }
            tmp[j] = used ? (float)(sum / used) : 0.0f;
        }
        for (int j = 0; j < n; ++j)
            row[j] = tmp[j];
    }

    bool strong[12];
    for (int p = 0; p < 12; ++p)
        strong[p] = InKeyTones(p, keyTones);

    float P[70];
    for (int j = 0; j < n; ++j) {
        // 2. Height of each component above its neighbours' floor.
        for (int m = 0; m < 70; ++m) {
            float v = *S.At(m, j);
            int left = 0;
            bool any = false;
            for (int q = m - 2; q <= m; ++q) {
                if (q < 0)
                    continue;
                int t = Stages::TruncToInt(*S.At(q, j));
                if (!any || t < left)
                    left = t;
                any = true;
            }
            int right = Stages::TruncToInt(*S.At(m + 1, j));
            long long floorValue = ((long long)left + right) / 2;
            if (m >= 1 && m <= 11 && !(v > *S.At(m + 1, j) && v > *S.At(m - 1, j))) {
                P[m] = 0.0f;
                continue;
            }
            float d = v - (float)floorValue;
            P[m] = d > 0.0f ? d : 0.0f;
        }
        // 3. Weak components give way to their height; the lower registers
        //    need more when the pitch class is not a key tone.
        for (int m = 0; m < 70; ++m) {
            bool key = strong[m % 12];
            float threshold;
            if (m < 12)
                threshold = key ? 80.0f : 110.0f;
            else if (m < 36)
                threshold = key ? 50.0f : 80.0f;
            else
                threshold = 20.0f;
            if (P[m] < threshold)
                *S.At(m, j) = P[m];
        }
        // 4. Fold the octaves.
        int lowRow = -1;
        float lowBest = 0.0f;
        for (int b = 0; b < 72; ++b) {
            float v = *S.At(b, j);
            *F.At(b % 12, j) += v;
            if (b < 36) {
                *E.At(b % 12, j) += v;
                if (v > lowBest) {
                    lowBest = v;
                    lowRow = b;
                }
            }
        }
        *W.At(0, j) = lowRow < 0 ? 0.0f : (float)(lowRow / 12);
        // 5. Times.
        float t = *S.At(72, j);
        *F.At(12, j) = t;
        *E.At(12, j) = t;
        *W.At(1, j) = t;
    }
}
