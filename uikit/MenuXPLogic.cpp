#include "uikit/MenuXPLogic.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace menuxp {

std::uint32_t PackBarItem(int labelWidth) { return (std::uint32_t)labelWidth << 16; }

std::uint32_t PackSeparator(int separatorHeight) { return (std::uint32_t)separatorHeight & 0xFF; }

std::uint32_t PackPopupItem(int itemHeight, int widestAccel, int widestLabel)
{
    return (((std::uint32_t)widestAccel << 8) & 0xFF00) | ((std::uint32_t)itemHeight & 0xFF) |
           ((std::uint32_t)widestLabel << 16);
}

ItemSize MeasureItem(std::uint32_t data)
{
    const int height = (int)(data & 0xFF);
    if (height == 0)
        return {(int)(data >> 16) + 4, 0};
    return {(int)(data >> 16) + (int)((data >> 8) & 0xFF) + 42, height};
}

int ItemHeight(int tmHeight) { return std::max(tmHeight + 2, 16) + 4; }
int SeparatorHeight(int tmHeight) { return tmHeight / 2 + 2; }

std::string LabelOf(const std::string& text)
{
    const size_t tab = text.find('\t');
    return tab == std::string::npos ? text : text.substr(0, tab);
}

std::string AcceleratorOf(const std::string& text)
{
    const size_t tab = text.find('\t');
    return tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

std::string KeepAccelerator(const std::string& text, const std::string& old)
{
    if (text.find('\t') != std::string::npos || AcceleratorOf(old).empty())
        return text;
    return text + '\t' + AcceleratorOf(old);
}

std::string WithoutFirstAmpersand(const std::string& label)
{
    std::string s = label;
    const size_t amp = s.find('&');
    if (amp != std::string::npos)
        s.erase(amp, 1);
    return s;
}

namespace {
char Upper(char c) { return (char)std::toupper((unsigned char)c); }
} // namespace

bool HasMnemonic(const std::string& label, char ch)
{
    const char want = Upper(ch);
    for (int p = (int)label.size() - 2; p >= 0; --p) {
        if (label[(size_t)p] != '&' || Upper(label[(size_t)p + 1]) != want)
            continue;
        if (p == 0 || label[(size_t)p - 1] != '&')
            return true;
    }
    return false;
}

int FindMnemonic(const std::vector<std::string>& labels, char ch)
{
    for (size_t i = 0; i < labels.size(); ++i)
        if (HasMnemonic(labels[i], ch))
            return (int)i;
    return -1;
}

std::vector<Band> GradientBands(ColourRef start, ColourRef end, int left, int right)
{
    std::vector<Band> bands;
    if (start == end) {
        bands.push_back({left, right, start});
        return bands;
    }
    const int dR = RedOf(end) - RedOf(start), dG = GreenOf(end) - GreenOf(start), dB = BlueOf(end) - BlueOf(start);
    const int n = std::max(std::abs(dR), std::max(std::abs(dG), std::abs(dB)));
    const float w = (float)(right - left) / (float)n;
    const float sR = (float)dR / (float)n, sG = (float)dG / (float)n, sB = (float)dB / (float)n;
    auto colourAt = [&](int i) {
        return PackRGB((int)((float)RedOf(start) + (float)i * sR), (int)((float)GreenOf(start) + (float)i * sG),
                       (int)((float)BlueOf(start) + (float)i * sB));
    };
    for (int i = 0; i < n; ++i)
        bands.push_back({left + (int)((float)i * w), left + (int)((float)(i + 1) * w), colourAt(i)});
    // Rounding may stop the last band short of the edge.
    if (bands.back().right < right) {
        bands.back().right = right;
        bands.back().colour = colourAt(n);
    }
    return bands;
}

ColourRef Shade(ColourRef c, int k)
{
    const int f = 93 - 5 * k;
    return PackRGB(RedOf(c) * f / 100, GreenOf(c) * f / 100, BlueOf(c) * f / 100);
}

namespace {
// Darkness of a shadow pixel `depth` pixels in from the outer edge and
// `along` pixels from the edge's rounded end.
int ShadeLevel(int depth, int along)
{
    if (along == 0)
        return 0;
    if (along == 1)
        return depth >= 2 ? 1 : 0;
    if (along == 2)
        return std::min(depth, 2);
    return depth;
}

// A vertical 4-pixel edge left of x = right, from y = top + 4 down,
// rounded at its top; `height` sets its length.
void VerticalEdge(int right, int top, int height, std::vector<ShadePixel>& px)
{
    for (int i = 0; i <= 3; ++i)
        for (int j = i < 2 ? 2 - i : 0; j < height - i - (i == 0 ? 2 : 1); ++j)
            px.push_back({right - 1 - i, top + 4 + j, ShadeLevel(i, j)});
}

void KeepInside(std::vector<ShadePixel>& px, int left, int top, int right, int bottom)
{
    px.erase(std::remove_if(px.begin(), px.end(),
                            [&](const ShadePixel& p) {
                                return p.x < left || p.x >= right || p.y < top || p.y >= bottom;
                            }),
             px.end());
}
} // namespace

std::vector<ShadePixel> MenuShadowPixels(int w, int h)
{
    std::vector<ShadePixel> px;
    // Bottom edge, rounded at its left end.
    for (int i = 0; i <= w - 2; ++i) {
        const int from = i < 2 ? 2 - i : (i > w - 7 ? i - (w - 7) : 0);
        const int to = i > w - 8 ? w - 4 - i : 4;
        for (int j = from; j < to; ++j)
            px.push_back({i + 4, h - 1 - j, ShadeLevel(j, i)});
    }
    // Right edge, rounded at its top end.
    VerticalEdge(w, 0, h - 4, px);
    KeepInside(px, 0, 0, w, h);
    return px;
}

std::vector<ShadePixel> BarStripPixels(int left, int top, int right, int bottom)
{
    std::vector<ShadePixel> px;
    VerticalEdge(right, top, bottom - top, px);
    KeepInside(px, left, top, right, bottom);
    return px;
}

int VersionClass(bool queried, int platform, int major, int minor)
{
    if (!queried)
        return 0;
    switch (platform) {
    case kWin32s:
        return 1;
    case kWindows:
        if (major == 4 && minor == 10)
            return 3;
        if (major == 4 && minor == 90)
            return 4;
        return 2;
    case kNT:
        if (major == 4)
            return 6;
        if (major == 5 && minor == 0)
            return 7;
        if (major == 5 && minor == 1)
            return 8;
        return 5;
    default:
        return 0;
    }
}

void PopupPlacement::Adjust(bool beforeXP, bool hasMove, bool hasSize, int& x, int& y, int& cx, int& cy)
{
    if (hasSize && beforeXP) {
        if (!(m_hasSize && cx == m_cx && cy == m_cy)) {
            cx += 4;
            cy += 4;
        }
        m_hasSize = true;
        m_cx = cx;
        m_cy = cy;
    }
    if (hasMove) {
        if (!(m_hasPos && x == m_x && y == m_y))
            y -= 1;
        m_hasPos = true;
        m_x = x;
        m_y = y;
    }
}

} // namespace menuxp
