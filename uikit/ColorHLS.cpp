#include "uikit/ColorHLS.h"

#include <algorithm>

PackedHLS RGBtoHLS(ColourRef colour)
{
    const int r = RedOf(colour), g = GreenOf(colour), b = BlueOf(colour);
    const int mx = std::max(r, std::max(g, b));
    const int mn = std::min(r, std::min(g, b));
    const float l = (float)(mx + mn) / 510.0f;
    float h = 0.0f, s = 0.0f;
    if (mx != mn) {
        const float d = (float)(mx - mn);
        s = l <= 0.5f ? d / (float)(mx + mn) : d / (float)(510 - (mx + mn));
        const float rc = (float)(mx - r) / d;
        const float gc = (float)(mx - g) / d;
        const float bc = (float)(mx - b) / d;
        // Later tests win on ties.
        if (r == mx)
            h = 60.0f * (6.0f + bc - gc);
        if (g == mx)
            h = 60.0f * (2.0f + rc - bc);
        if (b == mx)
            h = 60.0f * (4.0f + gc - rc);
        if (h > 360.0f)
            h -= 360.0f;
    }
    const unsigned hue = (unsigned)(int)(h * 255.0f / 360.0f) & 0xFF;
    const unsigned light = (unsigned)(int)(l * 255.0f) & 0xFF;
    const unsigned sat = (unsigned)(int)(s * 255.0f) & 0xFF;
    return hue | (light << 8) | (sat << 16);
}

int HueToRGB(float m1, float m2, float h)
{
    if (h > 360.0f)
        h -= 360.0f;
    else if (h < 0.0f)
        h += 360.0f;
    float v;
    if (h < 60.0f)
        v = m1 + (m2 - m1) * h / 60.0f;
    else if (h < 180.0f)
        v = m2;
    else if (h < 240.0f)
        v = m1 + (m2 - m1) * (240.0f - h) / 60.0f;
    else
        v = m1;
    return (int)(v * 255.0f);
}

ColourRef HLStoRGB(PackedHLS hls)
{
    const int hue = (int)(hls & 0xFF);
    const int light = (int)((hls >> 8) & 0xFF);
    const int sat = (int)((hls >> 16) & 0xFF);
    const float s = (float)sat / 255.0f;
    if (s == 0.0f)
        return PackRGB(light, light, light);
    const float l = (float)light / 255.0f;
    const float m2 = l <= 0.5f ? l + l * s : l + s - l * s;
    const float m1 = 2.0f * l - m2;
    const float h = (float)(hue * 360) / 255.0f;
    return PackRGB(HueToRGB(m1, m2, h + 120.0f), HueToRGB(m1, m2, h), HueToRGB(m1, m2, h - 120.0f));
}

namespace {
int Shift(int x, int percent)
{
    if (percent > 0)
        return x + (255 - x) * percent / 100;
    if (percent < 0)
        return x * (100 + percent) / 100;
    return x;
}
} // namespace

ColourRef HLSTransform(ColourRef colour, int lightnessPercent, int saturationPercent)
{
    const PackedHLS hls = RGBtoHLS(colour);
    const unsigned light = (unsigned)Shift((int)((hls >> 8) & 0xFF), lightnessPercent) & 0xFF;
    const unsigned sat = (unsigned)Shift((int)((hls >> 16) & 0xFF), saturationPercent) & 0xFF;
    return HLStoRGB((hls & 0xFF) | (light << 8) | (sat << 16));
}

ColourRef GradientStepColour(ColourRef first, ColourRef second, int i, int n)
{
    if (n <= 1)
        return first;
    const double t = (double)i / (double)(n - 1);
    auto mix = [t](int a, int b) { return (int)(t * a + (1.0 - t) * b); };
    return PackRGB(mix(RedOf(first), RedOf(second)), mix(GreenOf(first), GreenOf(second)),
                   mix(BlueOf(first), BlueOf(second)));
}
