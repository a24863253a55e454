#pragma once
// How both spectrogram builders walk the input: blocks of at most
// kBlockLength analysed samples, each overlapping the previous one by three
// windows, with frame positions and columns carried across the seam.
#include <algorithm>
#include <memory>
#include <new>

#include "AnalysisEngine.h"
#include "OctaveFilter.h"
#include "SongLevel.h"

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
        : m_lay(lay), m_step(lay.step > 1 ? lay.step : 1), m_start(1), m_scanned(0),
          m_meter(lay.rate / 100 * m_step), firstFrame(lay.firstFrame), firstCol(0), length(0), offset(0), last(false)
    {
    }

    // Fills the current block (element 0 is the input sample before the
    // block's start; with decimation each element is the mean of three
    // samples of the rate above, halving after halving), NaN and infinite
    // samples as silence. False when nothing is left.
    bool Fill(const float* samples, int count, float* block)
    {
        long long remaining = (long long)(count - m_start) / m_step;
        last = remaining <= kBlockLength;
        length = last ? (int)remaining : kBlockLength;
        offset = (m_start - 1) / m_step;
        if (length < 1)
            return false;
        // The level is taken on the way, while the block's input is at hand.
        ScanTo(samples, last ? count : m_start + (long long)m_step * (length - 1));
        block[0] = SongLevel::Finite(samples[m_start - 1]);
        if (m_step == 1) {
            for (int j = 1; j < length; ++j)
                block[j] = SongLevel::Finite(samples[m_start + j - 1]);
        } else if (m_step == 2) {
            const float* in = samples + m_start;
            for (int j = 1; j < length; ++j, in += 2)
                block[j] = (SongLevel::Finite(in[-1]) + SongLevel::Finite(in[0]) + SongLevel::Finite(in[1])) / 3.0f;
        } else {
            for (int j = 1; j < length; ++j)
                block[j] = Mean3(samples, count, (long long)m_start + (long long)m_step * (j - 1), m_step / 2);
        }
        return true;
    }

    // The song's level (SongLevel::CMeter), once the blocks are done.
    float Level(const float* samples, int count)
    {
        ScanTo(samples, count);
        return m_meter.Level();
    }

    // Moves on after a block whose columns ended before nextCol. The next
    // block starts three windows of input samples before the last one used
    // (step / 2 times that above a step of 2, so blocks overlap by at least
    // 1.5 analysed windows), one past a multiple of the step, so decimated
    // samples stay on the same grid. False when the song is done.
    bool Advance(int nextCol)
    {
        if (last || nextCol >= m_lay.frames)
            return false;
        int lastUsed = m_start + m_step * (length - 2) + (m_step - 1);
        int overlap = 3 * m_lay.window * (m_step > 2 ? m_step / 2 : 1);
        int nextStart = lastUsed - overlap;
        if (nextStart <= m_start)
            return false;
        nextStart -= (nextStart - 1) % m_step;
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
    // The mean of three samples `half` apart around centre, each of them
    // such a mean of the rate above; samples before the song's start repeat
    // its first one.
    static float Mean3(const float* x, int count, long long centre, int half)
    {
        if (half == 0) {
            long long i = centre < 0 ? 0 : (centre >= count ? count - 1 : centre);
            return SongLevel::Finite(x[i]);
        }
        const int next = half / 2;
        return (Mean3(x, count, centre - half, next) + Mean3(x, count, centre, next) +
                Mean3(x, count, centre + half, next)) / 3.0f;
    }

    // Takes input samples up to end (exclusive) into the level, each once.
    void ScanTo(const float* samples, long long end)
    {
        if (end <= m_scanned)
            return;
        m_meter.Add(samples + m_scanned, end - m_scanned);
        m_scanned = end;
    }

    const CAnalysisEngine::FrameLayout& m_lay;
    int m_step;
    int m_start; // input index of the block's element 1
    long long m_scanned; // input samples taken into the level
    SongLevel::CMeter m_meter;

public:
    int firstFrame;   // frame position of the block's first frame
    int firstCol;     // its column
    int length;       // elements in the block
    long long offset; // analysed position of element 0
    bool last;
};

// Brings S to the level the analysis reads songs at: that of the song raised
// to -1 dBFS (SongLevel::GainFor) over a window and through the octave
// filters of a 44.1 or 48 kHz song (SongLevel::WindowGain, NoteGainsForRate).
// The semitone magnitudes are linear in the samples, so S is scaled rather
// than a copy of the song; a loud song at those rates is left as it is. A
// recording that is only noise is read as silence (SongLevel::IsNoise):
// raised, or loud, its random peaks would be taken for notes.
inline void BringToSongLevel(CFloatMatrix& S, float level, const CAnalysisEngine::FrameLayout& lay,
                             float pitch)
{
    const int rows = S.GetRows() < 72 ? S.GetRows() : 72; // not the time row
    if (SongLevel::IsNoise(S)) {
        for (int r = 0; r < rows; ++r)
            std::fill(S.At(r, 0), S.At(r, 0) + S.GetCols(), 0.0f);
        return;
    }
    const float gain = SongLevel::GainFor(level) * SongLevel::WindowGain(lay.window);
    float notes[72];
    NoteGainsForRate(pitch, lay.rate, SongLevel::ReferenceRate(lay.rate), notes);
    for (int r = 0; r < rows; ++r) {
        const float g = gain * notes[r];
        if (g == 1.0f)
            continue;
        float* row = S.At(r, 0);
        for (int c = 0; c < S.GetCols(); ++c)
            row[c] *= g;
    }
}

} // namespace SpectrogramBlocks
