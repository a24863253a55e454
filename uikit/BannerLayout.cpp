#include "uikit/BannerLayout.h"

#include <cstdlib>

int BannerEdgeOf(int edgeFlags)
{
    for (int edge : {kBannerLeft, kBannerRight, kBannerTop, kBannerBottom})
        if (edgeFlags & edge)
            return edge;
    return 0;
}

BannerRect BannerStrip(const BannerRect& c, int edgeFlags, int thickness)
{
    switch (BannerEdgeOf(edgeFlags)) {
    case kBannerLeft:
        return {c.left, c.top, c.left + thickness, c.bottom};
    case kBannerRight:
        return {c.right - thickness, c.top, c.right, c.bottom};
    case kBannerTop:
        return {c.left, c.top, c.right, c.top + thickness};
    case kBannerBottom:
        return {c.left, c.bottom - thickness, c.right, c.bottom};
    default:
        return {0, 0, 0, 0};
    }
}

int BannerEscapement(int edgeFlags)
{
    switch (BannerEdgeOf(edgeFlags)) {
    case kBannerLeft:
        return 900;
    case kBannerRight:
        return -900;
    default:
        return 0;
    }
}

BannerPoint PlaceBannerIcon(int edgeFlags, int placement, BannerRect& r, BannerPoint m, int w, int h)
{
    BannerPoint at = {r.left, r.top};
    switch (BannerEdgeOf(edgeFlags)) {
    case kBannerLeft:
        if (placement & kIconTitleEnd) {
            at.y = r.bottom - m.y - h;
            r.bottom = at.y;
        } else if (placement & kIconOtherEnd) {
            r.top += m.y;
            at.y = r.top;
        }
        if (placement & kIconNearSide)
            at.x = r.left;
        else if (placement & kIconCentred)
            at.x = (r.left + r.right) / 2 - w / 2;
        else if (placement & kIconFarSide)
            at.x = r.right - w - 1;
        break;
    case kBannerRight:
        if (placement & kIconTitleEnd) {
            at.y = r.top + m.y;
            r.top = at.y + h;
        } else if (placement & kIconOtherEnd) {
            r.bottom -= m.y + h;
            at.y = r.bottom;
        }
        at.x = r.left;
        if (placement & kIconNearSide)
            at.x = r.right - w;
        else if (placement & kIconCentred)
            at.x = (r.left + r.right) / 2 - w / 2;
        else if (placement & kIconFarSide)
            at.x = r.left + 1;
        break;
    case kBannerTop:
    case kBannerBottom:
        if (placement & kIconTitleEnd) {
            r.left += m.x;
            at.x = r.left;
            r.left += w;
        } else if (placement & kIconOtherEnd) {
            r.right = r.right - m.x - w;
            at.x = r.right;
        }
        at.y = r.top;
        if (placement & kIconNearSide)
            at.y = r.top + 1;
        else if (placement & kIconCentred)
            at.y = (r.top + r.bottom) / 2 - h / 2;
        else if (placement & kIconFarSide)
            at.y = r.bottom - h - 1;
        break;
    default:
        break;
    }
    return at;
}

void BannerTextOrigins(int edgeFlags, const BannerRect& r, BannerPoint m, BannerPoint o, int h, BannerPoint& title,
                       BannerPoint& caption)
{
    switch (BannerEdgeOf(edgeFlags)) {
    case kBannerLeft:
        title = {r.left + m.x, r.bottom - m.y};
        caption = {title.x + o.x - h, title.y - o.y};
        break;
    case kBannerRight:
        title = {r.right - m.x, r.top + m.y};
        caption = {title.x + h - o.x, title.y + o.y};
        break;
    default:
        title = {r.left + m.x, r.top + m.y};
        caption = {title.x + o.x, title.y + o.y - h};
        break;
    }
}

std::vector<CaptionGlyph> LayOutCaption(const char* text, std::size_t length, const int (&widths)[256],
                                        int edgeFlags, BannerPoint start, const BannerRect& rect, int lineHeight)
{
    const int edge = BannerEdgeOf(edgeFlags);
    const int step = std::abs(lineHeight);
    // Character codes of 128 and above are widths too, not negative indices.
    auto width = [&widths](char c) { return widths[(unsigned char)c]; };
    std::vector<CaptionGlyph> glyphs;
    int line = 0;
    BannerPoint at = start;
    auto newLine = [&]() {
        ++line;
        at = start;
        if (edge == kBannerLeft)
            at.x += line * step;
        else if (edge == kBannerRight)
            at.x -= line * step;
        else
            at.y += line * step;
    };
    for (std::size_t i = 0; i < length; ++i) {
        const char c = text[i];
        if (c == '\r')
            continue;
        if (c == '\n') {
            newLine();
            continue;
        }
        glyphs.push_back({c, at});
        if (edge == kBannerLeft)
            at.y -= width(c);
        else if (edge == kBannerRight)
            at.y += width(c);
        else
            at.x += width(c);
        if (i + 1 < length && text[i + 1] != '\r' && text[i + 1] != '\n') {
            const int next = width(text[i + 1]);
            const bool crosses = edge == kBannerLeft    ? at.y - next < rect.top
                                 : edge == kBannerRight ? at.y + next > rect.bottom
                                                        : at.x + next > rect.right;
            if (crosses)
                newLine();
        }
    }
    return glyphs;
}
