#include "AnalysisEngine.h"

#include <cmath>
#include <memory>
#include <new>
#include <vector>

#include "DspHelper.h"
#include "KeyEstimate.h"
#include "ResultStages.h"
#include "Names.h"
#include "OctaveFilter.h"
#include "SpectrumAnalyzer.h"
#include "SpectrogramBlocks.h"

namespace {
using SpectrogramBlocks::kBlockLength;
using SpectrogramBlocks::kPollInterval;
using SpectrogramBlocks::NewFloats;
const double kHop = 0.04;

// Convolves block[0..len) with taps into out: the first n/2 positions stay
// 0, the last n/2 take the input unchanged.
void FilterBlock(const float* block, float* out, int len, const float* taps, int n)
{
    int half = n / 2;
    for (int i = 0; i < len; ++i)
        out[i] = 0.0f;
    for (int i = half; i <= len - half - 1; ++i) {
        const float* x = block + (i - half);
        float acc = 0.0f;
        for (int j = 0; j < n; ++j)
            acc += taps[j] * x[j];
        out[i] = acc;
    }
    for (int i = len - half; i < len; ++i)
        if (i >= 0)
            out[i] = block[i];
}
} // namespace

CAnalysisEngine::CAnalysisEngine(IEngineNotify* notify)
    : m_notify(notify), m_referencePitch(0.0f), m_referencePath(false)
{
}

CAnalysisEngine::~CAnalysisEngine() { m_notify = nullptr; }

void CAnalysisEngine::Post(int percent)
{
    if (m_notify)
        m_notify->PostProgress(percent);
}

bool CAnalysisEngine::Cancelled(ICancelSignal* cancel) { return cancel && cancel->IsSignalled(); }

void CAnalysisEngine::StopWithZeros()
{
    m_chord.Create(1, 1, 0.0f);
    m_bass.Create(1, 1, 0.0f);
    m_tone.Create(1, 1, 0.0f);
    m_bassTone.Create(1, 1, 0.0f);
}

void CAnalysisEngine::ClearResults()
{
    m_chord.Allocate(1, 1);
    m_bass.Allocate(1, 1);
    m_tone.Allocate(1, 1);
    m_bassTone.Allocate(1, 1);
}

void CAnalysisEngine::ComputeFrameLayout(int count, int sampleRate, FrameLayout& out)
{
    out.step = 1;
    out.rate = sampleRate;
    out.count = count;
    // Above 30000 Hz the input is halved until it is no more: a song of
    // 88.2 to 384 kHz is analysed at the rate of its 44.1 or 48 kHz copy.
    while (out.rate > 30000) {
        out.step *= 2;
        out.rate /= 2;
        out.count /= 2;
    }
    out.window = (int)(0.35 * out.rate);
    out.hop = (int)std::floor(kHop * out.rate);
    out.firstFrame = (int)std::floor(0.175 * out.rate) + 2;
    out.frames = out.hop > 0
                     ? (int)((out.count - 0.35 * out.rate - out.firstFrame) / out.hop) + 2
                     : 0;
}

bool CAnalysisEngine::BuildSpectrogram(const float* samples, int count, const FrameLayout& lay,
                                       float reference, CFloatMatrix& S, ICancelSignal* cancel)
{
    if (!m_referencePath)
        return BuildSpectrogramFast(samples, count, lay, reference, S, cancel);
    const int R = lay.rate;
    const int U = lay.window;
    const int N = lay.frames;
    std::unique_ptr<float[]> block = NewFloats(kBlockLength);
    std::unique_ptr<float[]> out = NewFloats(kBlockLength);
    std::unique_ptr<float[]> window = NewFloats((size_t)U);
    std::unique_ptr<float[]> frame = NewFloats((size_t)U);
    if (!block || !out || !window || !frame) {
        StopWithZeros();
        return false;
    }
    CDspHelper::MakeHannWindow(window.get(), U);

    const int progressDivisor = SpectrogramBlocks::ProgressDivisor(N);
    int posts = 0;
    long long iterations = 0;

    CSpectrumAnalyzer analyzer(-1.0);
    SpectrogramBlocks::CBlockCursor cursor(lay);
    while (cursor.Fill(samples, count, block.get())) {
        const int L = cursor.length;
        const long long offset = cursor.offset;
        int nextCol = cursor.firstCol;
        bool lowFiltered = false;
        std::vector<float> taps;
        for (int o = -3; o <= 2; ++o) {
            float A = reference * (float)std::pow(2.0, o);
            float f[12];
            OctaveNotes(A, f);

            bool filtered = false;
            if (HasOctaveBandPass(A)) {
                if (!DesignOctaveFilter(A, R, taps)) {
                    StopWithZeros();
                    return false;
                }
                filtered = true;
            } else if (!lowFiltered) {
                CDspHelper::MakeSmoothingKernel(taps, R, 450);
                lowFiltered = true;
                filtered = true;
            }
            if (filtered)
                FilterBlock(block.get(), out.get(), L, taps.data(), (int)taps.size());

            analyzer.FreeBuffers();
            analyzer.SetReference(A);

            int s = cursor.firstFrame;
            int c = cursor.firstCol;
            for (; s < L - U && c < N; s += lay.hop, ++c) {
                for (int i = 0; i < U; ++i)
                    frame[i] = out[s + i] * window[i];
                for (int k = 0; k < 12; ++k) {
                    float phase;
                    *S.At(12 * (o + 3) + k, c) = analyzer.NoteMagnitude(&phase, f[k], frame.get(), 0, U, R, true);
                }
                if (o == -1)
                    *S.At(72, c) = (float)((double)(offset + s) * 1000.0 / R);
                if (iterations % kPollInterval == 0) {
                    if (Cancelled(cancel)) {
                        ClearResults();
                        return false;
                    }
                    Post((int)((long long)posts * 80 / progressDivisor));
                    ++posts;
                }
                ++iterations;
            }
            nextCol = c;
        }
        if (!cursor.Advance(nextCol))
            break;
    }
    SpectrogramBlocks::BringToSongLevel(S, cursor.Level(samples, count), lay, reference);
    return true;
}

void CAnalysisEngine::Analyze(const float* samples, int count, int sampleRate, ICancelSignal* cancel)
{
    // 1. Tuning, on the input as given (its level does not matter there).
    m_referencePitch = EstimateTuning(samples, sampleRate, count);
    if (Cancelled(cancel)) {
        StopWithZeros();
        return;
    }
    Post(0);

    FrameLayout lay;
    ComputeFrameLayout(count, sampleRate, lay);
    // Too short for one whole frame (or no usable rate): no result.
    long long firstBlock = ((long long)count - 1) / lay.step;
    if (!samples || lay.frames < 1 || lay.hop < 1 || lay.window < 1 ||
        (long long)lay.firstFrame >= firstBlock - lay.window) {
        StopWithZeros();
        return;
    }
    const int R = lay.rate;
    const int N = lay.frames;
    const double hop = kHop;

    CFloatMatrix S;
    S.Create(73, N, 0.0f);
    if (!BuildSpectrogram(samples, count, lay, m_referencePitch, S, cancel))
        return;

    // First key pass on the lowest octave of the spectrogram.
    double profile[12];
    for (int k = 0; k < 12; ++k) {
        double sum = 0.0;
        for (int c = 0; c < N; ++c)
            sum += *S.At(k, c);
        profile[k] = sum;
    }
    int key = 0;
    CFloatMatrix placeholder;
    placeholder.Create(1, 1, 0.0f);
    CFloatMatrix G = EstimateKey(profile, key, placeholder);

    CFloatMatrix F, E, W;
    F.Create(13, N, 0.0f);
    E.Create(13, N, 0.0f);
    W.Create(2, N, 0.0f);
    ComputeChroma(S, F, E, W, G, hop);
    S.Allocate(1, 1);

    double profile2[12];
    for (int k = 0; k < 12; ++k) {
        double sum = 0.0;
        for (int c = 0; c < N; ++c)
            sum += *F.At(k, c);
        profile2[k] = sum;
    }

    // LATER-STAGES
    // Tone path: pitch sets at the tone-change peaks, and the strongest
    // tone of each for the second key pass.
    CFloatMatrix toneChroma(F), toneCurve, topSix, tonePeaks, toneCandidates, strongest;
    Stages::SmoothToneChroma(toneCurve, toneChroma, hop);
    Stages::TopSixPerFrame(topSix, toneChroma);
    const int tonePeakCount = Stages::FindPeakColumns(tonePeaks, toneCurve, 0);
    Stages::SelectTones(tonePeaks, tonePeakCount, topSix, toneCandidates, strongest);
    Stages::BuildToneMatrix(m_tone, toneCandidates);

    // Second key pass; when it decides nothing, the chroma profile itself
    // (before the pass zeroed its key tones) decides.
    double fallback[12];
    for (int k = 0; k < 12; ++k)
        fallback[k] = profile2[k];
    key = 0;
    G = EstimateKey(profile2, key, strongest);
    if (key > 12)
        EstimateKey(fallback, key, placeholder);
    key %= 12;
    m_keyName = GetKeyNameText(key);

    // Bass path.
    CFloatMatrix bassCurve, topThree, bassPeaks;
    Stages::SmoothBassChroma(bassCurve, E, hop);
    Stages::TopThreeBassPerFrame(topThree, E, false);
    const int bassPeakCount = Stages::FindPeakColumns(bassPeaks, bassCurve, 0);
    Stages::BuildBassPeaks(m_bass, bassPeaks, bassPeakCount, W, topThree);
    Post(92);
    Stages::FilterBassByStrength(m_bass);
    Stages::BuildBassToneMatrix(m_bassTone, m_bass);
    Stages::RefineBassNotes(m_bass, E, W, G, topThree);
    Stages::MergeEqualBassNotes(m_bass);
    Post(95);

    // Chord path.
    CFloatMatrix chordness;
    Stages::SmoothChordChroma(chordness, F, R, hop);
    Stages::FindPeaksAndValleys(m_chord, chordness);
    Stages::DecideChords(m_chord, chordness, m_bass, E, F, R, G, key);
    Stages::PostProcessChords(m_chord, key, m_bass);

    Stages::ConvertResultPitches(m_chord, m_bass);
    Post(97);
    Post(100);
}
