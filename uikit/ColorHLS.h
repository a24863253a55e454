#pragma once
// Colour arithmetic in hue, lightness and saturation, so that the kit's
// colours can be derived from system colours by percentages. Single
// precision and truncation throughout: the painted colours depend on it.
// Colours are laid out as COLORREF (red in bits 0-7, green 8-15, blue
// 16-23); a packed HLS value holds hue, lightness and saturation bytes in
// bits 0-7, 8-15 and 16-23 (hue 0..255 stands for 0..360 degrees).
#include <cstdint>

using ColourRef = std::uint32_t;
using PackedHLS = std::uint32_t;

constexpr ColourRef PackRGB(int r, int g, int b)
{
    return (ColourRef)(r & 0xFF) | ((ColourRef)(g & 0xFF) << 8) | ((ColourRef)(b & 0xFF) << 16);
}
constexpr int RedOf(ColourRef c) { return (int)(c & 0xFF); }
constexpr int GreenOf(ColourRef c) { return (int)((c >> 8) & 0xFF); }
constexpr int BlueOf(ColourRef c) { return (int)((c >> 16) & 0xFF); }

PackedHLS RGBtoHLS(ColourRef colour);
ColourRef HLStoRGB(PackedHLS hls);
// One channel for hue h in degrees between m1 and m2.
int HueToRGB(float m1, float m2, float h);
// Moves lightness and saturation by percentages in -100..100: positive
// towards 255, negative towards 0. The hue stays.
ColourRef HLSTransform(ColourRef colour, int lightnessPercent, int saturationPercent);

// Colour of offset i of an n-pixel gradient: offset 0 has the second colour,
// offset n - 1 the first; a one-pixel gradient takes the first colour.
ColourRef GradientStepColour(ColourRef first, ColourRef second, int i, int n);
