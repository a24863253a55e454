#pragma once
// How both spectrogram builders walk the input: blocks of at most
// kBlockLength analysed samples, each overlapping the previous one by three
// windows, with frame positions and columns carried across the seam.
#include <memory>
#include <new>

#include "AnalysisEngine.h"

namespace SpectrogramBlocks {

// Analysed samples per block: memory stays bounded whatever the length.
const int kBlockLength = 500000;
// Frame iterations between cancel polls and progress posts.
const int kPollInterval = 250;

inline std::unique_ptr<float[]> NewFloats(size_t n)
{
    return std::unique_ptr<float[]>(new (std::nothrow) float[n]);
}

inline int ProgressDivisor(int frames)
{
    int p = (int)(frames * 6.0 / kPollInterval);
    return p > 1 ? p : 1;
}

class CBlockCursor {
public:
    explicit CBlockCursor(const CAnalysisEngine::FrameLayout& lay)
        : m_lay(lay), m_step(lay.decimate ? 2 : 1), m_start(1), firstFrame(lay.firstFrame), firstCol(0),
          length(0), offset(0), last(false)
    {
    }

    // Fills the current block (element 0 is the input sample before the
    // block's start; with decimation each element is the mean of three input
    // samples). False when nothing is left.
    bool Fill(const float* samples, int count, float* block)
    {
        long long remaining = (long long)(count - m_start) / m_step;
        last = remaining <= kBlockLength;
        length = last ? (int)remaining : kBlockLength;
        offset = (m_start - 1) / m_step;
        if (length < 1)
            return false;
        block[0] = samples[m_start - 1];
        if (m_lay.decimate) {
            const float* in = samples + m_start;
            for (int j = 1; j < length; ++j, in += 2)
                block[j] = (in[-1] + in[0] + in[1]) / 3.0f;
        } else {
            for (int j = 1; j < length; ++j)
                block[j] = samples[m_start + j - 1];
        }
        return true;
    }

    // Moves on after a block whose columns ended before nextCol. The next
    // block starts three windows before the last input sample used, on an
    // odd input index so decimated samples stay on the same grid. False
    // when the song is done.
    bool Advance(int nextCol)
    {
        if (last || nextCol >= m_lay.frames)
            return false;
        int lastUsed = m_start + m_step * (length - 2) + (m_lay.decimate ? 1 : 0);
        int nextStart = lastUsed - 3 * m_lay.window;
        if (nextStart % 2 == 0)
            --nextStart;
        if (nextStart <= m_start)
            return false;
        long long nextOffset = (nextStart - 1) / m_step;
        long long globalFrame = (long long)m_lay.firstFrame + (long long)nextCol * m_lay.hop;
        firstFrame = (int)(globalFrame - nextOffset);
        firstCol = nextCol;
        m_start = nextStart;
        return true;
    }

private:
    const CAnalysisEngine::FrameLayout& m_lay;
    int m_step;
    int m_start; // input index of the block's element 1

public:
    int firstFrame;   // frame position of the block's first frame
    int firstCol;     // its column
    int length;       // elements in the block
    long long offset; // analysed position of element 0
    bool last;
};

} // namespace SpectrogramBlocks
