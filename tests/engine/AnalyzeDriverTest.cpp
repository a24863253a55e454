// The whole front end as the exported object drives it.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "SynthAudio.h"
#include "engine/AnalysisEngine.h"

namespace {
struct Recorder : IEngineNotify {
    std::vector<int> posts;
    void PostProgress(int percent) override { posts.push_back(percent); }
};
struct CountingCancel : ICancelSignal {
    int polls = 0;
    int fireAt = -1; // poll number from which the signal is set
    bool IsSignalled() override { return fireAt >= 0 && polls++ >= fireAt; }
};
} // namespace

TEST(AnalyzeDriver, SongAcrossTheBlockSeamGivesTuningKeyAndProgress)
{
    Recorder rec;
    CAnalysisEngine engine(&rec);
    // 30 s at 22050 Hz: more than one block of analysed samples.
    std::vector<float> song = synth::DiatonicSong(22050, 30.0, 445.0, 62);
    engine.Analyze(song.data(), (int)song.size(), 22050, nullptr);
    EXPECT_NEAR(445.0, engine.GetReferencePitch(), 0.5);
    EXPECT_STREQ("D", engine.GetKeyName());
    ASSERT_GE(rec.posts.size(), 6u);
    EXPECT_EQ(0, rec.posts[0]);
    size_t tail = rec.posts.size() - 4;
    for (size_t i = 1; i < tail; ++i) {
        EXPECT_GE(rec.posts[i], rec.posts[i - 1]);
        EXPECT_LE(rec.posts[i], 80);
    }
    EXPECT_EQ(92, rec.posts[tail]);
    EXPECT_EQ(95, rec.posts[tail + 1]);
    EXPECT_EQ(97, rec.posts[tail + 2]);
    EXPECT_EQ(100, rec.posts[tail + 3]);
}

TEST(AnalyzeDriver, FrameLayoutAndDecimation)
{
    CAnalysisEngine::FrameLayout l;
    CAnalysisEngine::ComputeFrameLayout(441000, 44100, l);
    EXPECT_EQ(2, l.step);
    EXPECT_EQ(22050, l.rate);
    EXPECT_EQ(220500, l.count);
    EXPECT_EQ(7717, l.window);
    EXPECT_EQ(882, l.hop);
    EXPECT_EQ(3860, l.firstFrame);
    EXPECT_EQ((int)((220500 - 0.35 * 22050 - 3860) / 882) + 2, l.frames);
    EXPECT_EQ(238, l.frames);
    CAnalysisEngine::ComputeFrameLayout(220500, 22050, l);
    EXPECT_EQ(1, l.step);
    EXPECT_EQ(22050, l.rate);
    EXPECT_EQ(238, l.frames);
    CAnalysisEngine::ComputeFrameLayout(300000, 30000, l);
    EXPECT_EQ(1, l.step);
    EXPECT_EQ(10500, l.window);
    EXPECT_EQ(1200, l.hop);
    EXPECT_EQ(5252, l.firstFrame);
    CAnalysisEngine::ComputeFrameLayout(300010, 30001, l);
    EXPECT_EQ(2, l.step);
    EXPECT_EQ(15000, l.rate);
    EXPECT_EQ(150005, l.count);
    // Halved until no more than 30000 Hz: high rates are analysed at the
    // rate of their 44.1 or 48 kHz copies.
    struct { int rate, step, analysed; } high[] = {{60000, 2, 30000}, {60002, 4, 15000}, {88200, 4, 22050},
                                                  {96000, 4, 24000}, {176400, 8, 22050}, {384000, 16, 24000}};
    for (const auto& h : high) {
        CAnalysisEngine::ComputeFrameLayout(h.rate * 10, h.rate, l);
        EXPECT_EQ(h.step, l.step) << h.rate;
        EXPECT_EQ(h.analysed, l.rate) << h.rate;
        EXPECT_EQ(h.rate * 10 / h.step, l.count) << h.rate;
    }
}

namespace {
// A steady chord (no decay) so that every column should look alike.
std::vector<float> SteadyChord(int rate, double seconds)
{
    std::vector<float> out((size_t)(seconds * rate));
    const double hz[3] = {220.0, 277.18, 329.63};
    for (size_t i = 0; i < out.size(); ++i) {
        double t = (double)i / rate, v = 0.0;
        for (double f : hz)
            v += 0.2 * std::sin(6.283185307179586 * f * t) + 0.05 * std::sin(6.283185307179586 * 2 * f * t);
        out[i] = (float)v;
    }
    return out;
}
} // namespace

TEST(AnalyzeDriver, ColumnsContinueAcrossTheBlockSeam)
{
    for (int rate : {22050, 44100, 176400}) {
        // 26 s: more than 500,000 analysed samples, so two blocks (three
        // at 176400 Hz, analysed at 44100 Hz).
        std::vector<float> song = SteadyChord(rate, 26.0);
        CAnalysisEngine::FrameLayout lay;
        CAnalysisEngine::ComputeFrameLayout((int)song.size(), rate, lay);
        ASSERT_GT(lay.count, 500000);
        CFloatMatrix S;
        S.Create(73, lay.frames, 0.0f);
        Recorder rec;
        CAnalysisEngine engine(&rec);
        ASSERT_TRUE(engine.BuildSpectrogram(song.data(), (int)song.size(), lay, 440.0f, S, nullptr));
        // Every column but the last one or two is filled, at the time of its
        // first sample, one hop apart.
        int filled = 0;
        while (filled < lay.frames && *S.At(72, filled) > 0.0f)
            ++filled;
        EXPECT_GE(filled, lay.frames - 2) << rate;
        for (int c = 0; c < filled; ++c) {
            float want = (float)((double)(lay.firstFrame + (long long)c * lay.hop) * 1000.0 / lay.rate);
            ASSERT_EQ(want, *S.At(72, c)) << rate << " column " << c;
        }
        for (int c = filled; c < lay.frames; ++c)
            EXPECT_EQ(0.0f, *S.At(72, c));
        // The chord's A3 (octave -1, note A: row 12 * 2 + 7) and E4 (octave 0,
        // note E: row 36 + 2) keep their level through the seam.
        for (int row : {31, 38}) {
            float ref = *S.At(row, 5);
            ASSERT_GT(ref, 10.0f);
            for (int c = 5; c < filled; ++c)
                ASSERT_NEAR(ref, *S.At(row, c), ref * 0.02) << rate << " row " << row << " column " << c;
        }
    }
}

TEST(AnalyzeDriver, CancelBeforeStartAndDuringTheSpectrogram)
{
    std::vector<float> song = synth::Progression(22050, 12.0, 440.0, 60);
    {
        Recorder rec;
        CAnalysisEngine engine(&rec);
        CountingCancel cancel;
        cancel.fireAt = 0;
        engine.Analyze(song.data(), (int)song.size(), 22050, &cancel);
        EXPECT_TRUE(rec.posts.empty());
        EXPECT_EQ(440.0f, engine.GetReferencePitch());
        for (CFloatMatrix* m : {engine.ChordMatrix(), engine.BassMatrix(), engine.ToneMatrix(), engine.BassToneMatrix()}) {
            ASSERT_EQ(1, m->GetRows());
            ASSERT_EQ(1, m->GetCols());
            EXPECT_EQ(0.0f, *m->At(0, 0));
        }
        EXPECT_STREQ("", engine.GetKeyName());
    }
    {
        Recorder rec;
        CAnalysisEngine engine(&rec);
        CountingCancel cancel;
        cancel.fireAt = 3; // the start check, then polls at iterations 0 and 250
        engine.Analyze(song.data(), (int)song.size(), 22050, &cancel);
        EXPECT_EQ(4, cancel.polls);
        ASSERT_EQ(3u, rec.posts.size());
        EXPECT_EQ(0, rec.posts[0]);
        EXPECT_EQ(0, rec.posts[1]);
        EXPECT_GT(rec.posts[2], 0);
        EXPECT_LE(rec.posts[2], 80);
        EXPECT_EQ(1, engine.ChordMatrix()->GetRows());
        EXPECT_EQ(1, engine.ToneMatrix()->GetCols());
    }
}

TEST(AnalyzeDriver, ShortInputsAndAFailedDesignLeaveZeros)
{
    std::vector<float> song = synth::Progression(22050, 3.0, 440.0, 60);
    struct Case {
        int count;
        int rate;
    } cases[] = {{(int)(0.3 * 22050), 22050}, {1, 22050}, {0, 22050}, {(int)song.size(), 0},
                 // At 6000 Hz the top octave's stop band lies above rate/2.
                 {(int)song.size(), 6000}};
    for (const Case& k : cases) {
        Recorder rec;
        CAnalysisEngine engine(&rec);
        engine.Analyze(song.data(), k.count, k.rate, nullptr);
        for (CFloatMatrix* m : {engine.ChordMatrix(), engine.BassMatrix(), engine.ToneMatrix(), engine.BassToneMatrix()}) {
            ASSERT_EQ(1, m->GetRows()) << k.count << " " << k.rate;
            ASSERT_EQ(1, m->GetCols());
            EXPECT_EQ(0.0f, *m->At(0, 0));
        }
        for (int p : rec.posts)
            EXPECT_LE(p, 80) << k.count << " " << k.rate;
    }
}

TEST(AnalyzeDriver, KeyNamesOfDiatonicSongs)
{
    struct Song {
        int tonicMidi;
        const char* key;
        int rate;
        double a4;
    } songs[] = {{60, "C", 22050, 440.0}, {67, "G", 22050, 432.0}, {63, "D#", 44100, 440.0},
                 {58, "Bb", 22050, 446.0}, {64, "E", 44100, 452.5}};
    for (const Song& s : songs) {
        std::vector<float> song = synth::DiatonicSong(s.rate, 8.0, s.a4, s.tonicMidi, 1.0);
        Recorder rec;
        CAnalysisEngine engine(&rec);
        engine.Analyze(song.data(), (int)song.size(), s.rate, nullptr);
        EXPECT_STREQ(s.key, engine.GetKeyName()) << s.tonicMidi << " at " << s.rate;
        EXPECT_NEAR(s.a4, engine.GetReferencePitch(), 0.5) << s.tonicMidi;
        ASSERT_FALSE(rec.posts.empty());
        EXPECT_EQ(100, rec.posts.back());
    }
}

namespace {
std::vector<float> AllResults(CAnalysisEngine& e)
{
    std::vector<float> out;
    for (CFloatMatrix* m : {e.ChordMatrix(), e.BassMatrix(), e.ToneMatrix(), e.BassToneMatrix()}) {
        out.push_back((float)m->GetRows());
        out.insert(out.end(), m->Data(), m->Data() + (size_t)m->GetRows() * m->GetCols());
    }
    out.push_back(e.GetReferencePitch());
    return out;
}
} // namespace

TEST(AnalyzeDriver, NonFiniteSamplesAreSilenceAndHugeOnesAreSafe)
{
    const int rate = 22050;
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    std::vector<float> silence(rate * 6, 0.0f);
    CAnalysisEngine quiet(nullptr);
    quiet.Analyze(silence.data(), (int)silence.size(), rate, nullptr);
    const std::vector<float> want = AllResults(quiet);
    for (float v : {nan, inf, -inf}) {
        std::vector<float> x(silence.size(), v);
        CAnalysisEngine e(nullptr);
        e.Analyze(x.data(), (int)x.size(), rate, nullptr);
        EXPECT_EQ(want, AllResults(e)) << v;
    }
    // Music with NaN and infinite holes, music far beyond full scale, the
    // largest floats, and a song at 352800 Hz: every run ends with results
    // of the usual shape.
    std::vector<float> song = synth::Progression(rate, 6.0, 440.0, 60);
    std::vector<float> holes = song, huge = song, extreme(song.size());
    for (size_t i = 0; i < song.size(); i += 997)
        holes[i] = (i / 997) % 2 ? nan : -inf;
    for (float& v : huge)
        v *= 1e30f;
    for (size_t i = 0; i < extreme.size(); ++i)
        extreme[i] = i % 2 ? std::numeric_limits<float>::max() : -std::numeric_limits<float>::max();
    const std::vector<float> high = synth::Progression(352800, 4.0, 440.0, 60);
    struct { const std::vector<float>* x; int rate; } runs[] = {
        {&holes, rate}, {&huge, rate}, {&extreme, rate}, {&high, 352800}};
    for (const auto& run : runs) {
        CAnalysisEngine e(nullptr);
        e.Analyze(run.x->data(), (int)run.x->size(), run.rate, nullptr);
        EXPECT_EQ(10, e.ChordMatrix()->GetRows()) << run.rate;
    }
}
