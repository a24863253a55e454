#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "uikit/BannerLayout.h"

namespace {

const BannerRect kStrip = {0, 0, 50, 200};

struct Widths {
    int w[256];
    explicit Widths(int each)
    {
        for (int& x : w)
            x = each;
    }
};

std::vector<CaptionGlyph> Walk(const std::string& text, const Widths& widths, int edge, BannerPoint start,
                               const BannerRect& rect, int lineHeight = -12)
{
    return LayOutCaption(text.data(), text.size(), widths.w, edge, start, rect, lineHeight);
}

} // namespace

TEST(BannerLayout, FirstEdgeFlagWins)
{
    // Left wins over everything, right over top and bottom.
    const BannerRect client = {0, 0, 350, 120};
    const BannerRect left = BannerStrip(client, kBannerLeft | kBannerRight | kBannerTop, 50);
    EXPECT_EQ(0, left.left);
    EXPECT_EQ(50, left.right);
    EXPECT_EQ(120, left.bottom);
    EXPECT_EQ(300, BannerStrip(client, kBannerRight | kBannerTop, 50).left);
    EXPECT_EQ(50, BannerStrip(client, kBannerTop | kBannerBottom, 50).bottom);
    EXPECT_EQ(0, BannerEdgeOf(0));
}

TEST(BannerLayout, DialogIconSitsCentredAtTheBottomBelowTheTitle)
{
    // The dialogs' placement: title end and centred, on a left banner.
    BannerRect r = kStrip;
    const BannerPoint at = PlaceBannerIcon(kBannerLeft, kIconTitleEnd | kIconCentred, r, {5, 3}, 32, 32);
    EXPECT_EQ(25 - 16, at.x);
    EXPECT_EQ(200 - 3 - 32, at.y);
    EXPECT_EQ(at.y, r.bottom);
    EXPECT_EQ(0, r.top);

    BannerPoint title, caption;
    BannerTextOrigins(kBannerLeft, r, {5, 3}, {4, 10}, -9, title, caption);
    EXPECT_EQ(5, title.x);
    EXPECT_EQ(at.y - 3, title.y);
    EXPECT_EQ(5 + 4 + 9, caption.x);
    EXPECT_EQ(title.y - 10, caption.y);
}

TEST(CaptionWalk, LineFeedStartsTheNextLineAcrossTheStrip)
{
    const Widths widths(6);
    const BannerPoint start = {18, 180};
    auto glyphs = Walk("ab\r\ncd", widths, kBannerLeft, start, kStrip);
    ASSERT_EQ(4u, glyphs.size());
    EXPECT_EQ('a', glyphs[0].ch);
    EXPECT_EQ(18, glyphs[0].at.x);
    EXPECT_EQ(180, glyphs[0].at.y);
    EXPECT_EQ(174, glyphs[1].at.y); // upwards
    EXPECT_EQ('c', glyphs[2].ch);
    EXPECT_EQ(18 + 12, glyphs[2].at.x); // one caption-font height to the right
    EXPECT_EQ(180, glyphs[2].at.y);
    EXPECT_EQ(174, glyphs[3].at.y);

    // Right banners run downwards and step to the left; top banners run right
    // and step down.
    glyphs = Walk("ab\ncd", widths, kBannerRight, {40, 10}, {300, 0, 350, 200});
    EXPECT_EQ(16, glyphs[1].at.y);
    EXPECT_EQ(28, glyphs[2].at.x);
    glyphs = Walk("ab\ncd", widths, kBannerTop, {10, 5}, {0, 0, 300, 50});
    EXPECT_EQ(16, glyphs[1].at.x);
    EXPECT_EQ(17, glyphs[2].at.y);
}

TEST(CaptionWalk, WrapsBeforeACharacterThatWouldLeaveTheStrip)
{
    const Widths widths(10);
    // From y = 35 upwards there is room for the characters at 35, 25 and 15;
    // the fourth would cross the top at 0 and starts a new line.
    auto glyphs = Walk("abcd", widths, kBannerLeft, {10, 35}, {0, 0, 50, 40});
    ASSERT_EQ(4u, glyphs.size());
    EXPECT_EQ(15, glyphs[2].at.y);
    EXPECT_EQ(10, glyphs[2].at.x);
    EXPECT_EQ(35, glyphs[3].at.y);
    EXPECT_EQ(22, glyphs[3].at.x);
    // A line feed right after the last fitting character makes one new line.
    glyphs = Walk("abc\nd", widths, kBannerLeft, {10, 35}, {0, 0, 50, 40});
    EXPECT_EQ(22, glyphs[3].at.x);
}

TEST(CaptionWalk, CharactersAbove127UseTheirOwnWidths)
{
    Widths widths(5);
    widths.w[0xE4] = 9; // a-umlaut in the Western code page
    widths.w[0xFC] = 11;
    const char text[] = "\xE4\xFCx";
    auto glyphs = LayOutCaption(text, std::strlen(text), widths.w, kBannerTop, {0, 0}, {0, 0, 300, 50}, -12);
    ASSERT_EQ(3u, glyphs.size());
    EXPECT_EQ('\xE4', glyphs[0].ch);
    EXPECT_EQ(9, glyphs[1].at.x);
    EXPECT_EQ(20, glyphs[2].at.x);
}

TEST(CaptionWalk, EmptyCaptionDrawsNothing)
{
    EXPECT_TRUE(Walk("", Widths(6), kBannerLeft, {0, 0}, kStrip).empty());
    EXPECT_TRUE(Walk("\r\n\n", Widths(6), kBannerLeft, {0, 0}, kStrip).empty());
}
