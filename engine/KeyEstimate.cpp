// Major-key template against a pitch-class histogram; the key tones.
#include "KeyEstimate.h"

namespace {
const int kScale[7] = {0, 2, 4, 5, 7, 9, 11};
const float kCloseCall = 1.05f;
} // namespace

CFloatMatrix CAnalysisEngine::EstimateKey(double profile[12], int& key, const CFloatMatrix& pairs)
{
    double hist[12];
    if (pairs.GetRows() == 1 && pairs.GetCols() == 1) {
        for (int i = 0; i < 12; ++i)
            hist[i] = profile[i];
    } else {
        for (double& v : hist)
            v = 0.0;
        if (pairs.GetRows() >= 2) {
            for (int c = 0; c < pairs.GetCols(); ++c) {
                float pc = *pairs.At(0, c);
                if (!(pc >= 0.0f && pc < 12.0f))
                    continue;
                hist[(int)pc] += *pairs.At(1, c);
            }
        }
    }

    // Seven strongest profile entries, strongest first.
    CFloatMatrix tones;
    tones.Create(1, kKeyToneCount, 0.0f);
    int previous = 0;
    for (int t = 0; t < kKeyToneCount; ++t) {
        double best = 0.0;
        int index = previous;
        bool found = false;
        for (int i = 0; i < 12; ++i) {
            if (profile[i] > best) {
                best = profile[i];
                index = i;
                found = true;
            }
        }
        *tones.At(0, t) = (float)index;
        if (found)
            profile[index] = 0.0;
        previous = index;
    }

    float score[12];
    for (int p = 0; p < 12; ++p) {
        float acc = 0.0f;
        for (int s : kScale)
            acc += hist[(p + s) % 12];
        score[p] = acc;
    }
    float bestScore = 0.0f;
    int bestTonic = 0;
    for (int p = 0; p < 12; ++p) {
        if (score[p] > bestScore) {
            bestScore = score[p];
            bestTonic = p;
        }
    }
    float secondScore = 0.0f;
    int secondTonic = -1;
    for (int p = 0; p < 12; ++p) {
        if (score[p] != bestScore && score[p] > secondScore) {
            secondScore = score[p];
            secondTonic = p;
        }
    }

    if (secondTonic < 0) {
        // Every tonic fits alike: ask the caller for a fallback pass.
        key = bestTonic + 12;
        return tones;
    }
    key = bestTonic;
    if (secondScore != 0.0f && bestScore / secondScore < kCloseCall &&
        hist[bestTonic] < hist[secondTonic])
        key = secondTonic;
    return tones;
}
