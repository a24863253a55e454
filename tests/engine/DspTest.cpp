// Windows, the smoothing kernel, the FFT and the note magnitudes against
// direct computation.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <vector>

#include "engine/AnalysisEngine.h"
#include "engine/DspHelper.h"
#include "engine/SpectrumAnalyzer.h"

namespace {
const double kTwoPi = 6.283185307179586;
}

TEST(DspHelper, HannWindowAndKernel)
{
    float w[4];
    CDspHelper::MakeHannWindow(w, 4);
    EXPECT_FLOAT_EQ(0.0f, w[0]);
    EXPECT_FLOAT_EQ(0.5f, w[1]);
    EXPECT_FLOAT_EQ(1.0f, w[2]);
    EXPECT_FLOAT_EQ(0.5f, w[3]);
    float one = 0.0f;
    CDspHelper::MakeHannWindow(&one, 1);
    EXPECT_EQ(1.0f, one);

    std::vector<float> k;
    CDspHelper::MakeSmoothingKernel(k, 22050, 450);
    ASSERT_EQ(48u, k.size());
    EXPECT_NEAR(1.0, std::accumulate(k.begin(), k.end(), 0.0), 1e-5);
    EXPECT_EQ(0.0f, k[0]);
    EXPECT_FLOAT_EQ(k[1], k[47]); // Hann of 48 points, first value 0
    EXPECT_GT(k[24], k[12]);
    // c = 1 and c = 2 (a one-point Hann would be a lone zero): pass through.
    for (int rate : {800, 900, 1349}) {
        CDspHelper::MakeSmoothingKernel(k, rate, 450);
        ASSERT_EQ(1u, k.size()) << rate;
        EXPECT_EQ(1.0f, k[0]) << rate;
    }
    CDspHelper::MakeSmoothingKernel(k, 1350, 450); // c = 3: two taps 0, 1
    ASSERT_EQ(2u, k.size());
    EXPECT_FLOAT_EQ(0.0f, k[0]);
    EXPECT_FLOAT_EQ(1.0f, k[1]);
}

TEST(SpectrumAnalyzer, MagnitudeSpectrumMatchesDirectDft)
{
    const unsigned n = 64;
    std::vector<double> x(n);
    for (unsigned i = 0; i < n; ++i)
        x[i] = std::sin(0.37 * i) + 0.25 * std::cos(1.9 * i) + (i % 5) * 0.1 - 0.3;
    std::vector<double> data(n + 2, 0.0);
    data[0] = 123.0; // not an input
    for (unsigned i = 0; i < n; ++i)
        data[i + 1] = x[i];
    CSpectrumAnalyzer::MagnitudeSpectrum(data.data(), n);
    for (unsigned k = 0; k <= n / 2; ++k) {
        double re = 0.0, im = 0.0;
        for (unsigned i = 0; i < n; ++i) {
            re += x[i] * std::cos(kTwoPi * k * i / n);
            im -= x[i] * std::sin(kTwoPi * k * i / n);
        }
        double want = (k == 0 || k == n / 2) ? re : std::sqrt(re * re + im * im);
        EXPECT_NEAR(want, data[k], 1e-9) << k;
    }
}

TEST(SpectrumAnalyzer, MagnitudeSpectrumOfABinRangeIsTheWholeSpectrumsThere)
{
    const unsigned n = 256;
    std::vector<double> whole(n + 2, 0.0);
    for (unsigned i = 0; i < n; ++i)
        whole[i + 1] = std::sin(0.21 * i) * std::cos(0.05 * i) + (i % 7) * 0.03;
    const std::vector<double> input(whole);
    std::vector<double> part(input);
    CSpectrumAnalyzer::MagnitudeSpectrum(whole.data(), n);
    CSpectrumAnalyzer::MagnitudeSpectrum(part.data(), n, 40, 90);
    for (unsigned k = 40; k < 90; ++k)
        EXPECT_EQ(whole[k], part[k]) << k; // bit for bit
    EXPECT_EQ(whole[0], part[0]);
    EXPECT_EQ(whole[n / 2], part[n / 2]);
    // A range past the magnitudes stops at them.
    std::vector<double> tail(input);
    CSpectrumAnalyzer::MagnitudeSpectrum(tail.data(), n, 120, 5000);
    for (unsigned k = 120; k < n / 2; ++k)
        EXPECT_EQ(whole[k], tail[k]) << k;
}

TEST(SpectrumAnalyzer, NoteMagnitudeOfASineAndFromTheTables)
{
    const int rate = 22050;
    const double hz = 441.0; // 50 samples a period
    const int len = 5000;
    std::vector<float> x(len + 10);
    for (int i = 0; i < (int)x.size(); ++i)
        x[i] = (float)(0.8 * std::sin(kTwoPi * hz * i / rate));
    CSpectrumAnalyzer a(-1.0);
    a.SetReference(hz); // slot 0 is A = 441 Hz
    float phase = 0.0f;
    float first = a.NoteMagnitude(&phase, (float)hz, x.data(), 0, len, rate, true);
    EXPECT_NEAR(0.4 * len, first, 0.4 * len * 1e-3);
    // A sine: the cosine sum vanishes, so the phase is a quarter turn.
    EXPECT_NEAR(1.5707963, std::fabs(phase), 1e-3);
    float cached = a.NoteMagnitude(&phase, (float)hz, x.data(), 0, len, rate, true);
    EXPECT_NEAR(first, cached, first * 1e-5); // float sums over the tables
    // Same frequency with another start: the tables hold, the value too.
    float shifted = a.NoteMagnitude(&phase, (float)hz, x.data(), 10, len, rate, true);
    EXPECT_NEAR(first, shifted, first * 1e-3);
    // A note of the octave far from the sine hardly responds.
    float other = a.NoteMagnitude(&phase, (float)(hz * std::pow(2.0, -7.0 / 12)), x.data(), 0, len, rate, true);
    EXPECT_LT(other, first * 0.01);
    a.FreeBuffers();
    EXPECT_NEAR(first, a.NoteMagnitude(nullptr, (float)hz, x.data(), 0, len, rate, false), first * 1e-6);
}

TEST(WindowedSpectrum, SizeBinsAndFade)
{
    const int rate = 22050;
    std::vector<float> x(3 * rate, 1.0f);
    double binsPerHz = 0.0;
    std::vector<double> s = CAnalysisEngine::WindowedSpectrum(x.data(), rate, 1.0, rate, &binsPerHz);
    ASSERT_EQ(32768u + 2, s.size());
    EXPECT_DOUBLE_EQ(32768.0 / 22050.0, binsPerHz);
    // DC of the faded constant: elements 1 .. L-1 enter the transform; the
    // 176-sample ramps scale element j and L-1-j by j / 176.
    const int fade = 176, L = rate;
    double dc = 0.0;
    for (int i = 1; i < L; ++i) {
        double v = 1.0;
        if (i < fade)
            v = (double)i / fade;
        if (L - 1 - i < fade)
            v *= (double)(L - 1 - i) / fade;
        dc += v;
    }
    EXPECT_NEAR(dc, s[0], 1e-6);
}
