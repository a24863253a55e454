// Band-pass design: symmetry, band responses, the failure contract and the
// analysis bands over the range of rates and tunings.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <set>
#include <vector>

#include "engine/AnalysisEngine.h"
#include "engine/OctaveFilter.h"
#include "engine/RemezFilter.h"

namespace {
double Gain(const std::vector<float>& taps, double hz, double rate)
{
    std::complex<double> sum = 0.0;
    for (size_t i = 0; i < taps.size(); ++i)
        sum += (double)taps[i] * std::polar(1.0, -6.283185307179586 * hz / rate * (double)i);
    return std::abs(sum);
}
} // namespace

TEST(RemezFilter, AnalysisDesignAt22050IsASymmetricBandPass)
{
    // The octave of A = 440 Hz: f = D4 = 293.66 Hz, 100 taps.
    const double f = 440.0 * std::pow(2.0, -7.0 / 12.0);
    double bands[6] = {0.0, 0.6 * f, 0.8 * f, 2.5 * f, 2.9 * f, 11025.0};
    const double desired[3] = {0, 1, 0}, weights[3] = {2, 2, 5};
    std::vector<float> taps(100, 0.0f);
    CRemezFilter::Outcome how = CRemezFilter::BROKEN;
    ASSERT_EQ(0, CRemezFilter().Design(taps.data(), 100, 3, bands, 22050, desired, weights,
                                       CRemezFilter::BANDPASS, &how));
    EXPECT_EQ(CRemezFilter::CONVERGED, how);
    EXPECT_NEAR(234.9 / 22050, bands[2], 1e-5); // edges were normalised in place
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(taps[i], taps[99 - i]) << i;
    // Equiripple: the pass band sits around 1, the far stop band well below.
    for (double hz : {300.0, 440.0, 600.0, 700.0})
        EXPECT_NEAR(1.0, Gain(taps, hz, 22050), 0.7) << hz;
    for (double hz : {2000.0, 5000.0, 10000.0})
        EXPECT_LT(Gain(taps, hz, 22050), 0.35) << hz;
}

TEST(RemezFilter, NonConvergenceFailsAndKeepsTheTaps)
{
    double bands[6] = {0.0, 0.0398, 0.3113, 0.3770, 0.4047, 0.4293};
    const double desired[3] = {0, 1, 1}, weights[3] = {19, 2, 3};
    std::vector<double> taps(57, 7.0);
    CRemezFilter::Outcome how = CRemezFilter::CONVERGED;
    EXPECT_EQ(-1, CRemezFilter().Remez(taps.data(), 57, 3, bands, 1.0, desired, weights,
                                       CRemezFilter::BANDPASS, &how));
    EXPECT_EQ(CRemezFilter::NOT_CONVERGED, how);
    for (double t : taps)
        EXPECT_EQ(7.0, t);
    // The lowest filtered octave at 88200 Hz does not converge: its last
    // iteration is all zeros, so the design must fail rather than be used.
    std::vector<float> octave;
    EXPECT_FALSE(DesignOctaveFilter(440.0f, 88200, octave, &how));
    EXPECT_EQ(CRemezFilter::NOT_CONVERGED, how);
}

TEST(RemezFilter, EdgesOutsideTheBandAreBroken)
{
    // At 6000 Hz the top octave's upper stop band would start above rate/2.
    double bands[6] = {0.0, 700.0, 940.0, 2937.0, 3406.0, 3000.0};
    const double desired[3] = {0, 1, 0}, weights[3] = {2, 2, 5};
    std::vector<float> taps(80, 3.0f);
    CRemezFilter::Outcome how = CRemezFilter::CONVERGED;
    EXPECT_EQ(-1, CRemezFilter().Design(taps.data(), 80, 3, bands, 6000, desired, weights,
                                        CRemezFilter::BANDPASS, &how));
    EXPECT_EQ(CRemezFilter::BROKEN, how);
    EXPECT_EQ(3.0f, taps[0]);
}

TEST(RemezFilter, EveryOctaveDesignsAtAllRatesAndTunings)
{
    // Input rates 8000 to 48000 Hz and the usual high ones, at the rate the
    // analysis works at, against every tuning the estimate can give.
    int failures = 0;
    std::vector<int> rates = {11025, 22050, 44100, 88200, 96000, 176400, 192000, 352800, 384000};
    for (int rate = 8000; rate <= 48000; rate += 2000)
        rates.push_back(rate);
    std::set<int> swept;
    for (int rate : rates) {
        CAnalysisEngine::FrameLayout lay;
        CAnalysisEngine::ComputeFrameLayout(rate, rate, lay);
        const int R = lay.rate;
        if (!swept.insert(R).second)
            continue;
        for (int half = 852; half <= 908; ++half) {
            float ref = half / 2.0f;
            for (int o = 0; o <= 2; ++o) {
                float A = ref * (float)(1 << o);
                std::vector<float> taps;
                if (!DesignOctaveFilter(A, R, taps)) {
                    ADD_FAILURE() << "no design at " << rate << " Hz, ref " << ref << ", octave " << o;
                    if (++failures > 5)
                        return;
                    continue;
                }
                ASSERT_EQ(A < 500.0f ? 100u : 80u, taps.size());
                double d = A * std::pow(2.0, -7.0 / 12.0);
                // The octave's notes pass, the far stop bands do not. Above
                // 30000 Hz the 100 taps of the lowest filtered octave make
                // softer edges.
                const double pass = R > 30000 ? 0.45 : 0.6, stop = R > 30000 ? 0.7 : 0.6;
                for (int k = 0; k < 12; k += 3) {
                    double g = Gain(taps, d * std::pow(2.0, k / 12.0), R);
                    EXPECT_TRUE(g > pass && g < 1.2) << rate << " " << ref << " " << o << " k " << k << " " << g;
                }
                EXPECT_LT(Gain(taps, 0.3 * d, R), stop) << rate << " " << ref << " " << o;
                if (4.0 * d < R / 2) {
                    EXPECT_LT(Gain(taps, 4.0 * d, R), 0.6) << rate << " " << ref << " " << o;
                }
            }
        }
    }
}
