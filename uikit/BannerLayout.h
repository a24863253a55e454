#pragma once
// Geometry of the side banner, kept apart from the window so that it is
// tested natively: the strip of the dialog, where the icon, the title and the
// caption go, and the caption's character walk.
#include <cstddef>
#include <vector>

struct BannerPoint {
    int x;
    int y;
};

struct BannerRect {
    int left;
    int top;
    int right;
    int bottom;
};

// Edges of the dialog.
enum : int { kBannerLeft = 1, kBannerTop = 2, kBannerRight = 4, kBannerBottom = 8 };
// Icon placement: along the strip, then across it.
enum : int {
    kIconTitleEnd = 1,
    kIconOtherEnd = 2,
    kIconCentred = 4,
    kIconNearSide = 8,
    kIconFarSide = 0x10,
};

// The first set edge flag, tested left, right, top, bottom; 0 for none.
int BannerEdgeOf(int edgeFlags);

// The strip of a client rectangle along the edge.
BannerRect BannerStrip(const BannerRect& client, int edgeFlags, int thickness);

// Escapement of the banner's fonts in tenths of a degree: text runs upwards
// on a left banner, downwards on a right one.
int BannerEscapement(int edgeFlags);

// Places an icon of w x h inside rect and shrinks rect by the space it takes
// along the strip; returns the icon's top-left corner.
BannerPoint PlaceBannerIcon(int edgeFlags, int placement, BannerRect& rect, BannerPoint margin, int w, int h);

// Title origin and caption start; titleHeight is the title font's lfHeight
// (negative for fonts made by point size).
void BannerTextOrigins(int edgeFlags, const BannerRect& rect, BannerPoint margin, BannerPoint captionOffset,
                       int titleHeight, BannerPoint& title, BannerPoint& caption);

struct CaptionGlyph {
    char ch;
    BannerPoint at;
};

// Walks the caption one character at a time from start: "\r" is skipped,
// "\n" and a character that would leave rect start the next line, one
// lineHeight further across the strip. widths holds the caption font's
// widths of characters 0..255.
std::vector<CaptionGlyph> LayOutCaption(const char* text, std::size_t length, const int (&widths)[256],
                                        int edgeFlags, BannerPoint start, const BannerRect& rect, int lineHeight);
