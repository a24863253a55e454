// The spectrogram's fast path: the same blocks, filters, frames and
// progress as the straightforward builder, with the filter designs made once
// per song, vectorised filtering and the note magnitudes of all frames of an
// octave and block from shared segment sums (see FastNoteBank.h).
#include <cmath>
#include <memory>
#include <new>
#include <vector>

#include "AnalysisEngine.h"
#include "DspHelper.h"
#include "FastNoteBank.h"
#include "FirFilter.h"
#include "OctaveFilter.h"
#include "SpectrogramBlocks.h"

using SpectrogramBlocks::kBlockLength;
using SpectrogramBlocks::kPollInterval;
using SpectrogramBlocks::NewFloats;

bool CAnalysisEngine::BuildSpectrogramFast(const float* samples, int count, const FrameLayout& lay,
                                           float reference, CFloatMatrix& S, ICancelSignal* cancel)
{
    const int R = lay.rate;
    const int U = lay.window;
    const int N = lay.frames;
    // The note bank reads a little past the last window; that tail stays 0.
    const size_t tail = (size_t)lay.hop + 1024;
    std::unique_ptr<float[]> block = NewFloats(kBlockLength + tail);
    std::unique_ptr<float[]> out = NewFloats(kBlockLength + tail);
    std::unique_ptr<float[]> window = NewFloats((size_t)U);
    if (!block || !out || !window) {
        StopWithZeros();
        return false;
    }
    CDspHelper::MakeHannWindow(window.get(), U);

    const int progressDivisor = SpectrogramBlocks::ProgressDivisor(N);
    int posts = 0;
    long long iterations = 0;

    // The designs depend only on the rate and the reference: one per octave.
    std::vector<float> designs[6];
    bool designed[6] = {false, false, false, false, false, false};
    std::vector<float> kernel;
    CDspHelper::MakeSmoothingKernel(kernel, R, 450);

    // Like the filters, each octave's tables depend only on rate and reference.
    CFastNoteBank banks[6];
    bool prepared[6] = {false, false, false, false, false, false};
    CFastNoteBank::Scratch scratch;
    std::vector<int> starts;
    std::vector<float> mags;
    SpectrogramBlocks::CBlockCursor cursor(lay);
    while (cursor.Fill(samples, count, block.get())) {
        const int L = cursor.length;
        const long long offset = cursor.offset;
        const int blockFirstFrame = cursor.firstFrame;
        const int blockFirstCol = cursor.firstCol;

        // Frames of this block, the same for every octave.
        starts.clear();
        int c = blockFirstCol;
        for (int s = blockFirstFrame; s < L - U && c < N; s += lay.hop, ++c)
            starts.push_back(s);
        const int frames = (int)starts.size();
        const int nextCol = blockFirstCol + frames;

        bool lowFiltered = false;
        for (int o = -3; o <= 2; ++o) {
            float A = reference * (float)std::pow(2.0, o);
            float f[12];
            OctaveNotes(A, f);

            const std::vector<float>* taps = nullptr;
            if (HasOctaveBandPass(A)) {
                if (!designed[o + 3]) {
                    if (!DesignOctaveFilter(A, R, designs[o + 3])) {
                        StopWithZeros();
                        return false;
                    }
                    designed[o + 3] = true;
                }
                taps = &designs[o + 3];
            } else if (!lowFiltered) {
                lowFiltered = true;
                taps = &kernel;
            }
            if (taps) {
                FirFilterBlock(block.get(), out.get(), L, taps->data(), (int)taps->size());
                for (size_t i = (size_t)L; i < (size_t)L + tail; ++i)
                    out[i] = 0.0f;
            }

            if (frames > 0) {
                if (!prepared[o + 3]) {
                    banks[o + 3].Prepare(f, U, lay.hop, R);
                    prepared[o + 3] = true;
                }
                mags.resize((size_t)frames * 12);
                banks[o + 3].Compute(out.get(), starts[0], frames, scratch, mags.data());
                const int row = 12 * (o + 3);
                for (int i = 0; i < frames; ++i)
                    for (int k = 0; k < 12; ++k)
                        *S.At(row + k, blockFirstCol + i) = mags[(size_t)i * 12 + k];
                if (o == -1)
                    for (int i = 0; i < frames; ++i)
                        *S.At(72, blockFirstCol + i) = (float)((double)(offset + starts[i]) * 1000.0 / R);
            }
            // Progress and cancel at the same frame iterations as the
            // straightforward builder.
            for (int i = 0; i < frames; ++i, ++iterations) {
                if (iterations % kPollInterval == 0) {
                    if (Cancelled(cancel)) {
                        ClearResults();
                        return false;
                    }
                    Post((int)((long long)posts * 80 / progressDivisor));
                    ++posts;
                }
            }
        }
        if (!cursor.Advance(nextCol))
            break;
    }
    SpectrogramBlocks::BringToSongLevel(S, cursor.Level(samples, count), lay, reference);
    return true;
}
