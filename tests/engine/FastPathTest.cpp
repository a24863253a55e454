// The vectorised spectrogram against the straightforward one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "SongSynth.h"
#include "engine/AnalysisEngine.h"
#include "engine/CpuFeatures.h"
#include "engine/FirFilter.h"
#include "engine/SpectrumAnalyzer.h"

namespace {
using namespace song;

struct Recorder : IEngineNotify {
    std::vector<int> posts;
    void PostProgress(int percent) override { posts.push_back(percent); }
};

std::vector<float> TestSong(double seconds, int rate, double a4)
{
    std::vector<Chord> chords = Progression({{3, kMajor}, {10, kMajor}, {0, kMinor}, {8, kMajor}, {5, kMinor},
                                             {10, kSeventh}, {3, kMajor}},
                                            0.5, (seconds - 1.0) / 7);
    std::vector<float> y = Render(chords, seconds, rate, a4);
    AddNoise(y, 0.002);
    return y;
}

CFloatMatrix Spectrogram(const std::vector<float>& y, int rate, float reference, bool referencePath,
                         std::vector<int>* posts = nullptr)
{
    Recorder rec;
    CAnalysisEngine engine(&rec);
    engine.UseReferencePath(referencePath);
    CAnalysisEngine::FrameLayout lay;
    CAnalysisEngine::ComputeFrameLayout((int)y.size(), rate, lay);
    CFloatMatrix S;
    S.Create(73, lay.frames, 0.0f);
    EXPECT_TRUE(engine.BuildSpectrogram(y.data(), (int)y.size(), lay, reference, S, nullptr));
    if (posts)
        *posts = rec.posts;
    return S;
}

// Both paths over the same song: every value within 1e-5 of the reference,
// relative to the frame's strongest note. The reference sums 7717 products
// one after another in float, so its weakest notes carry errors of about
// that size; a tolerance relative to each value would test its rounding.
void ExpectSameSpectrogram(const std::vector<float>& y, int rate, float reference)
{
    std::vector<int> fastPosts, refPosts;
    CFloatMatrix fast = Spectrogram(y, rate, reference, false, &fastPosts);
    CFloatMatrix ref = Spectrogram(y, rate, reference, true, &refPosts);
    EXPECT_EQ(refPosts, fastPosts);
    ASSERT_EQ(ref.GetCols(), fast.GetCols());
    int checked = 0;
    for (int c = 0; c < ref.GetCols(); ++c) {
        EXPECT_EQ(ref.GetAt(72, c), fast.GetAt(72, c)) << "column " << c;
        float peak = 0.0f;
        for (int r = 0; r < 72; ++r)
            peak = std::max(peak, ref.GetAt(r, c));
        for (int r = 0; r < 72; ++r) {
            float a = ref.GetAt(r, c), b = fast.GetAt(r, c);
            ASSERT_LE(std::fabs(a - b), 1e-5f * peak) << "row " << r << " column " << c;
            ++checked;
        }
    }
    EXPECT_GT(checked, 0);
}
} // namespace

TEST(FastPath, FilterMatchesTheDirectSumAtEveryEdge)
{
    for (int n : {1, 48, 80, 100}) {
        for (int len : {0, 1, 7, 101, 1000}) {
            std::vector<float> x(len), taps(n), out(len, 9.0f), want(len, 0.0f);
            for (int i = 0; i < len; ++i)
                x[i] = (float)std::sin(0.37 * i) + 0.01f * (i % 7);
            for (int j = 0; j < n; ++j)
                taps[j] = (float)(0.5 - 0.5 * std::cos(6.283185 * j / n)) / n;
            int half = n / 2;
            for (int i = half; i <= len - half - 1; ++i) {
                float acc = 0.0f;
                for (int j = 0; j < n; ++j)
                    acc += taps[j] * x[i - half + j];
                want[i] = acc;
            }
            for (int i = std::max(0, len - half); i < len; ++i)
                want[i] = x[i];
            for (bool baseline : {false, true}) {
                CpuForceBaseline(baseline);
                FirFilterBlock(x.data(), out.data(), len, taps.data(), n);
                CpuForceBaseline(false);
                for (int i = 0; i < len; ++i) {
                    // Without fused multiply-adds the sums are the direct ones.
                    if (baseline)
                        ASSERT_EQ(want[i], out[i]) << n << " " << len << " " << i;
                    else
                        ASSERT_NEAR(want[i], out[i], 1e-6f * (1.0f + std::fabs(want[i]))) << n << " " << len << " " << i;
                }
            }
        }
    }
}

TEST(FastPath, FftStagesGiveTheBaselineValuesBitForBit)
{
    // The wide butterflies make the same products and sums, both ways.
    for (unsigned n : {2u, 4u, 8u, 1024u}) {
        for (int sign : {-1, 1}) {
            std::vector<double> wide(2 * n), base;
            for (unsigned i = 0; i < 2 * n; ++i)
                wide[i] = std::sin(0.73 * i) + 0.125 * (double)(i % 5);
            base = wide;
            CSpectrumAnalyzer::ComplexFft(wide.data(), n, sign);
            CpuForceBaseline(true);
            CSpectrumAnalyzer::ComplexFft(base.data(), n, sign);
            CpuForceBaseline(false);
            for (unsigned i = 0; i < 2 * n; ++i)
                ASSERT_EQ(base[i], wide[i]) << n << " " << sign << " " << i;
        }
    }
}

TEST(FastPath, SpectrogramMatchesTheReferenceAcrossBlocksAndRates)
{
    // 44.1 kHz decimated and more than one block; a plain 22.05 kHz song;
    // an undecimated 16 kHz one with its own window length.
    ExpectSameSpectrogram(TestSong(26.0, 44100, 440.0), 44100, 440.0f);
    ExpectSameSpectrogram(TestSong(9.0, 22050, 446.0), 22050, 446.0f);
    ExpectSameSpectrogram(TestSong(6.0, 16000, 432.0), 16000, 432.0f);
}

TEST(FastPath, BaselineVectorsMatchTheReferenceToo)
{
    // The SSE2 code that processors without AVX2 run.
    CpuForceBaseline(true);
    ExpectSameSpectrogram(TestSong(25.0, 44100, 440.0), 44100, 440.0f);
    CpuForceBaseline(false);
}

TEST(FastPath, SameChordsBassAndKeyThroughTheWholeAnalysis)
{
    std::vector<float> y = TestSong(28.0, 44100, 436.0);
    CAnalysisEngine fast(nullptr), ref(nullptr);
    ref.UseReferencePath(true);
    fast.Analyze(y.data(), (int)y.size(), 44100, nullptr);
    ref.Analyze(y.data(), (int)y.size(), 44100, nullptr);
    EXPECT_EQ(ref.GetReferencePitch(), fast.GetReferencePitch());
    EXPECT_STREQ((const char*)ref.GetKeyName(), (const char*)fast.GetKeyName());
    // Pitch rows must match exactly; strengths and times only to rounding.
    auto expectSame = [](const CFloatMatrix& a, const CFloatMatrix& b, std::vector<int> exactRows) {
        ASSERT_EQ(a.GetRows(), b.GetRows());
        ASSERT_EQ(a.GetCols(), b.GetCols());
        for (int r = 0; r < a.GetRows(); ++r)
            for (int c = 0; c < a.GetCols(); ++c) {
                bool exact = std::find(exactRows.begin(), exactRows.end(), r) != exactRows.end();
                float x = a.GetAt(r, c), y = b.GetAt(r, c);
                if (exact)
                    EXPECT_EQ(x, y) << "row " << r << " column " << c;
                else
                    EXPECT_NEAR(x, y, 1e-3f * (1.0f + std::fabs(x))) << "row " << r << " column " << c;
            }
    };
    ASSERT_GT(ref.ChordMatrix()->GetCols(), 3);
    expectSame(*ref.ChordMatrix(), *fast.ChordMatrix(), {0, 3, 8});
    expectSame(*ref.BassMatrix(), *fast.BassMatrix(), {0, 2});
    expectSame(*ref.ToneMatrix(), *fast.ToneMatrix(), {});
    expectSame(*ref.BassToneMatrix(), *fast.BassToneMatrix(), {});
}
