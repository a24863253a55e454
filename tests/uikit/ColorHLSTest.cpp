#include <gtest/gtest.h>

#include "uikit/ColorHLS.h"

namespace {

void ExpectRGB(int r, int g, int b, ColourRef c)
{
    EXPECT_EQ(r, RedOf(c));
    EXPECT_EQ(g, GreenOf(c));
    EXPECT_EQ(b, BlueOf(c));
}

} // namespace

TEST(ColorHLS, PureRedKeepsHue360AndLosesALightnessStep)
{
    const PackedHLS red = RGBtoHLS(PackRGB(255, 0, 0));
    EXPECT_EQ(255u, red & 0xFF);         // 360 degrees exactly is not wrapped
    EXPECT_EQ(127u, (red >> 8) & 0xFF);  // 127.5 truncated
    EXPECT_EQ(255u, (red >> 16) & 0xFF);
    EXPECT_EQ(0u, red >> 24);
    ExpectRGB(254, 0, 0, HLStoRGB(red));
}

TEST(ColorHLS, HuesOfThePrimariesAndTies)
{
    // Green and blue sit a third and two thirds round the circle.
    EXPECT_EQ(85u, RGBtoHLS(PackRGB(0, 255, 0)) & 0xFF);
    EXPECT_EQ(170u, RGBtoHLS(PackRGB(0, 0, 255)) & 0xFF);
    // Red and blue both maximal: the blue test runs last and wins (300 degrees).
    EXPECT_EQ(212u, RGBtoHLS(PackRGB(255, 0, 255)) & 0xFF);
    // Light colours use the upper saturation formula.
    const PackedHLS pale = RGBtoHLS(PackRGB(255, 200, 200));
    EXPECT_EQ(255u, (pale >> 16) & 0xFF);
    EXPECT_EQ(227u, (pale >> 8) & 0xFF);
}

TEST(ColorHLS, TransformFigures)
{
    // Both percentages zero: only the round trip's steps.
    ExpectRGB(49, 108, 196, HLSTransform(PackRGB(49, 106, 197), 0, 0));
    ExpectRGB(209, 209, 209, HLSTransform(PackRGB(255, 255, 255), -18, 0));
    // Lightening moves a fifth of the way to white; full darkening is black.
    ExpectRGB(51, 51, 51, HLSTransform(PackRGB(0, 0, 0), 20, 0));
    ExpectRGB(0, 0, 0, HLSTransform(PackRGB(200, 30, 90), -100, 0));
    ExpectRGB(255, 255, 255, HLSTransform(PackRGB(0, 0, 0), 100, 0));
    // All saturation removed leaves a grey of the colour's lightness.
    const ColourRef grey = HLSTransform(PackRGB(49, 106, 197), 0, -100);
    EXPECT_EQ(RedOf(grey), GreenOf(grey));
    EXPECT_EQ(GreenOf(grey), BlueOf(grey));
    EXPECT_EQ(123, RedOf(grey));
}

TEST(ColorHLS, EveryGreyComesBackUnchanged)
{
    for (int v = 0; v <= 255; ++v) {
        const PackedHLS hls = RGBtoHLS(PackRGB(v, v, v));
        EXPECT_EQ(0u, hls & 0xFF) << v;
        EXPECT_EQ(0u, (hls >> 16) & 0xFF) << v;
        EXPECT_EQ(PackRGB(v, v, v), HLStoRGB(hls)) << v;
        EXPECT_EQ(PackRGB(v, v, v), HLSTransform(PackRGB(v, v, v), 0, 0)) << v;
    }
}

TEST(ColorHLS, RoundTripStaysClose)
{
    // The truncated bytes cost a few steps, most in dark saturated colours.
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 15)
            for (int b = 0; b < 256; b += 15) {
                const ColourRef back = HLStoRGB(RGBtoHLS(PackRGB(r, g, b)));
                EXPECT_NEAR(r, RedOf(back), 7) << r << "," << g << "," << b;
                EXPECT_NEAR(g, GreenOf(back), 7) << r << "," << g << "," << b;
                EXPECT_NEAR(b, BlueOf(back), 7) << r << "," << g << "," << b;
            }
}

TEST(GradientStep, EndsAndOnePixel)
{
    const ColourRef first = PackRGB(200, 100, 0), second = PackRGB(0, 38, 147);
    EXPECT_EQ(second, GradientStepColour(first, second, 0, 50));
    EXPECT_EQ(first, GradientStepColour(first, second, 49, 50));
    ExpectRGB(100, 69, 73, GradientStepColour(first, second, 1, 3));
    // A one-pixel strip would divide by zero; it takes the first colour.
    EXPECT_EQ(first, GradientStepColour(first, second, 0, 1));
}
