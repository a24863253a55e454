#pragma once
// The analysis engine: mono float samples in, four result matrices, a key
// name and a reference pitch out.

#include <vector>

#include "../framework/CString.h"
#include "../shared/FloatMatrix.h"
#include "EngineHost.h"

class CAnalysisEngine {
public:
    explicit CAnalysisEngine(IEngineNotify* notify);
    ~CAnalysisEngine();

    // Runs synchronously; returns when finished or stopped. cancel may be null.
    void Analyze(const float* samples, int count, int sampleRate, ICancelSignal* cancel);
    // Leaves all four results 1 x 1 without a fill.
    void ClearResults();

    CFloatMatrix* ChordMatrix() { return &m_chord; }
    CFloatMatrix* BassMatrix() { return &m_bass; }
    CFloatMatrix* ToneMatrix() { return &m_tone; }
    CFloatMatrix* BassToneMatrix() { return &m_bassTone; }
    float GetReferencePitch() const { return m_referencePitch; }
    const CString& GetKeyName() const { return m_keyName; }

    // Front-end stages, usable on their own (tests, later stages).

    // A4 in Hz from 426 to 454 in half-hertz steps (440 when undecided), from
    // up to 70 one-second segments of the song as given; a copy of the song
    // at another rate is read at the same frequencies (Tuning.cpp).
    // NaN and infinite samples count as silence.
    static float EstimateTuning(const float* samples, int rate, int count);
    // Magnitude spectrum of `seconds` of x centred on `centre`, edges faded
    // over 8 ms, zero-padded to the next power of two N (the result has N + 2
    // values, laid out as CSpectrumAnalyzer::MagnitudeSpectrum leaves them).
    // *binsPerHz = N / (rate x seconds).
    static std::vector<double> WindowedSpectrum(const float* x, int centre, double seconds, int rate,
                                                double* binsPerHz);
    // Chroma of the 73-row semitone spectrogram S (modified in place): F and
    // E (13 x N, zero-filled by the caller) get the full and bass chroma by
    // internal pitch index (D = 0) with the time in row 12; W (2 x N, zeros)
    // the octave 0-2 of the strongest low note and the time. keyTones is the
    // first key pass's list (row 0: seven pitch classes).
    static void ComputeChroma(CFloatMatrix& S, CFloatMatrix& F, CFloatMatrix& E, CFloatMatrix& W,
                              CFloatMatrix keyTones, double hop);
    // Key of the song and its key tones; see KeyEstimate.h.
    static CFloatMatrix EstimateKey(double profile[12], int& key, const CFloatMatrix& pairs);

    // Frame layout of one run: analysed rate and count (halved while above
    // 30000 Hz), window, hop, first frame position and column count.
    struct FrameLayout {
        int step; // input samples per analysed sample: 1, 2, 4, ...
        int rate;
        int count;
        int window;
        int hop;
        int firstFrame;
        int frames;
    };
    static void ComputeFrameLayout(int count, int sampleRate, FrameLayout& out);

    // Fills S (73 x frames, zeros) for the reference pitch block by block,
    // posting progress and polling cancel; false when the run stopped
    // (results already set). NaN and infinite samples count as silence, and
    // S is brought to the analysis level (SpectrogramBlocks::BringToSongLevel).
    bool BuildSpectrogram(const float* samples, int count, const FrameLayout& lay, float reference,
                          CFloatMatrix& S, ICancelSignal* cancel);

    // The straightforward spectrogram builder instead of the vectorised one
    // (the two agree to float rounding); off by default.
    void UseReferencePath(bool on) { m_referencePath = on; }

private:
    bool BuildSpectrogramFast(const float* samples, int count, const FrameLayout& lay, float reference,
                              CFloatMatrix& S, ICancelSignal* cancel);
    void Post(int percent);
    bool Cancelled(ICancelSignal* cancel);
    void StopWithZeros();

    CString m_keyName;
    IEngineNotify* m_notify;
    float m_referencePitch;
    bool m_referencePath;
    CFloatMatrix m_chord;
    CFloatMatrix m_bass;
    CFloatMatrix m_tone;
    CFloatMatrix m_bassTone;
};
