#include <gtest/gtest.h>

#include <set>

#include "uikit/MenuXPLogic.h"

using namespace menuxp;

TEST(MenuItemData, PopupItemsShareTheWidestLabelAndAccelerator)
{
    // Every item of a popup carries the same maxima: one width for all.
    const std::uint32_t withAccel = PackPopupItem(21, 40, 90);
    const std::uint32_t plain = PackPopupItem(21, 40, 90);
    EXPECT_EQ(withAccel, plain);
    EXPECT_EQ(90 + 40 + 42, MeasureItem(plain).width);
    EXPECT_EQ(21, MeasureItem(plain).height);

    // An accelerator wider than 255 pixels keeps only its low 8 bits.
    EXPECT_EQ(90 + (300 & 0xFF) + 42, MeasureItem(PackPopupItem(21, 300, 90)).width);
    EXPECT_EQ(21, MeasureItem(PackPopupItem(21, 300, 90)).height);

    // Menu-bar items: a zero low byte, the label width plus 4, no height.
    const std::uint32_t bar = PackBarItem(33);
    EXPECT_EQ(0u, bar & 0xFFFF);
    EXPECT_EQ(37, MeasureItem(bar).width);
    EXPECT_EQ(0, MeasureItem(bar).height);

    // Separators: their height only.
    EXPECT_EQ(9u, PackSeparator(9));
    EXPECT_EQ(9, MeasureItem(PackSeparator(9)).height);
}

TEST(MenuItemData, HeightsFromTheFont)
{
    EXPECT_EQ(20, ItemHeight(10)); // at least 16 + 4
    EXPECT_EQ(24, ItemHeight(18));
    EXPECT_EQ(8, SeparatorHeight(13));
}

TEST(MenuLabels, LabelAcceleratorAndMeasuredText)
{
    EXPECT_EQ("O", LabelOf("O\tCtrl+O"));
    EXPECT_EQ("Ctrl+O", AcceleratorOf("O\tCtrl+O"));
    EXPECT_EQ("&Open", LabelOf("&Open"));
    EXPECT_EQ("", AcceleratorOf("&Open"));
    // Only the first tab splits.
    EXPECT_EQ("a\tb", AcceleratorOf("x\ta\tb"));
    // A translated item keeps its shortcut unless the translation has one.
    EXPECT_EQ("&Neu\tCtrl+N", KeepAccelerator("&Neu", "&New\tCtrl+N"));
    EXPECT_EQ("&Neu\tStrg+N", KeepAccelerator("&Neu\tStrg+N", "&New\tCtrl+N"));
    EXPECT_EQ("&Neu", KeepAccelerator("&Neu", "&New"));
    EXPECT_EQ("Save As", WithoutFirstAmpersand("Save &As"));
    EXPECT_EQ("Fish & Chips", WithoutFirstAmpersand("Fish && Chips"));
}

TEST(MenuLabels, MnemonicsSkipEscapedAmpersands)
{
    EXPECT_TRUE(HasMnemonic("&About", 'a'));
    EXPECT_TRUE(HasMnemonic("&About", 'A'));
    EXPECT_FALSE(HasMnemonic("About", 'a'));
    // "&&S" is a literal ampersand before S; C is the mnemonic.
    EXPECT_TRUE(HasMnemonic("A&&S &Copy", 'c'));
    EXPECT_FALSE(HasMnemonic("A&&S &Copy", 's'));
    EXPECT_FALSE(HasMnemonic("&", '&'));

    const std::vector<std::string> labels = {"&New", "&Open", "Cl&ose", "&Neu"};
    EXPECT_EQ(0, FindMnemonic(labels, 'n')); // the lowest position wins
    EXPECT_EQ(1, FindMnemonic(labels, 'O'));
    EXPECT_EQ(-1, FindMnemonic(labels, 'x'));
}

TEST(MenuGradient, GreyOverThirtyPixelsHas95BandsOnePixelWide)
{
    const auto bands = GradientBands(0xA0A0A0, 0xFFFFFF, 10, 40);
    ASSERT_EQ(95u, bands.size());
    int filled = 0, next = 10;
    for (const Band& b : bands) {
        if (b.right == b.left)
            continue;
        ++filled;
        EXPECT_EQ(1, b.right - b.left);
        EXPECT_EQ(next, b.left); // no gaps
        next = b.right;
    }
    EXPECT_EQ(30, filled);
    EXPECT_EQ(40, next);
    EXPECT_EQ(PackRGB(0xA0, 0xA0, 0xA0), bands.front().colour);
    // Colours climb one step per band.
    EXPECT_EQ(PackRGB(0xA1, 0xA1, 0xA1), bands[1].colour);
}

TEST(MenuGradient, EqualEndsAreOneFillAndShortBandsReachTheEdge)
{
    const auto one = GradientBands(0x123456, 0x123456, 0, 30);
    ASSERT_EQ(1u, one.size());
    EXPECT_EQ(0, one[0].left);
    EXPECT_EQ(30, one[0].right);

    // Three steps over 10 pixels: the last band reaches the edge, in the end colour.
    const auto bands = GradientBands(PackRGB(0, 0, 0), PackRGB(3, 0, 0), 0, 10);
    ASSERT_EQ(3u, bands.size());
    EXPECT_EQ(10, bands.back().right);
    for (size_t i = 1; i < bands.size(); ++i)
        EXPECT_EQ(bands[i - 1].right, bands[i].left);
}

TEST(MenuShadow, FactorsAndShape)
{
    EXPECT_EQ(PackRGB(93, 186, 237), Shade(PackRGB(100, 200, 255), 0));
    EXPECT_EQ(PackRGB(78, 156, 198), Shade(PackRGB(100, 200, 255), 3));
    EXPECT_EQ(PackRGB(0, 0, 0), Shade(PackRGB(1, 1, 1), 0));

    const int w = 60, h = 40;
    const auto px = MenuShadowPixels(w, h);
    std::set<std::pair<int, int>> seen;
    for (const ShadePixel& p : px) {
        EXPECT_TRUE(seen.insert({p.x, p.y}).second) << "pixel twice: " << p.x << "," << p.y;
        EXPECT_GE(p.k, 0);
        EXPECT_LE(p.k, 3);
        // Only the 4-pixel band at the right and the bottom.
        EXPECT_TRUE(p.x >= w - 4 || p.y >= h - 4) << p.x << "," << p.y;
    }
    auto kAt = [&](int x, int y) {
        for (const ShadePixel& p : px)
            if (p.x == x && p.y == y)
                return p.k;
        return -1;
    };
    // Darkest next to the menu, lightest at the outer edge.
    EXPECT_EQ(3, kAt(w - 4, h / 2));
    EXPECT_EQ(0, kAt(w - 1, h / 2));
    EXPECT_EQ(3, kAt(w / 2, h - 4));
    EXPECT_EQ(0, kAt(w / 2, h - 1));
    // Rounded ends: the top-right and bottom-left corners stay untouched.
    EXPECT_EQ(-1, kAt(w - 1, 0));
    EXPECT_EQ(-1, kAt(w - 1, 4));
    EXPECT_EQ(-1, kAt(0, h - 1));
    EXPECT_EQ(-1, kAt(4, h - 1));
}

TEST(MenuShadow, OpenBarItemStripStaysInTheItem)
{
    const auto px = BarStripPixels(100, 0, 150, 19);
    ASSERT_FALSE(px.empty());
    for (const ShadePixel& p : px) {
        EXPECT_GE(p.x, 146);
        EXPECT_LT(p.x, 150);
        EXPECT_GE(p.y, 4);
        EXPECT_LT(p.y, 19);
    }
}

TEST(WinVersion, ClassesAndTheXPBoundary)
{
    EXPECT_EQ(0, VersionClass(false, kNT, 5, 1));
    EXPECT_EQ(1, VersionClass(true, kWin32s, 3, 10));
    EXPECT_EQ(2, VersionClass(true, kWindows, 4, 0));
    EXPECT_EQ(3, VersionClass(true, kWindows, 4, 10));
    EXPECT_EQ(4, VersionClass(true, kWindows, 4, 90));
    EXPECT_EQ(6, VersionClass(true, kNT, 4, 0));
    EXPECT_EQ(7, VersionClass(true, kNT, 5, 0));
    EXPECT_EQ(8, VersionClass(true, kNT, 5, 1));
    EXPECT_EQ(5, VersionClass(true, kNT, 5, 2));
    EXPECT_EQ(5, VersionClass(true, kNT, 10, 0));
    // Only XP itself draws no shadow; later versions count as before XP.
    EXPECT_FALSE(IsBeforeXP(8));
    EXPECT_TRUE(IsBeforeXP(5));
    EXPECT_TRUE(IsBeforeXP(0));
}

TEST(PopupPlacement, AdjustedOncePerGeometry)
{
    PopupPlacement p;
    int x = 100, y = 50, cx = 120, cy = 200;
    p.Adjust(true, true, true, x, y, cx, cy);
    EXPECT_EQ(49, y);
    EXPECT_EQ(124, cx);
    EXPECT_EQ(204, cy);
    EXPECT_EQ(49, p.Y());

    // The same (adjusted) geometry again: no growing, no climbing.
    p.Adjust(true, true, true, x, y, cx, cy);
    EXPECT_EQ(49, y);
    EXPECT_EQ(124, cx);
    EXPECT_EQ(204, cy);

    // A new place from the system is adjusted afresh.
    x = 300, y = 80, cx = 120, cy = 200;
    p.Adjust(true, true, true, x, y, cx, cy);
    EXPECT_EQ(79, y);
    EXPECT_EQ(124, cx);

    // On XP only the move; flags without position or size leave them alone.
    PopupPlacement xp;
    x = 10, y = 20, cx = 30, cy = 40;
    xp.Adjust(false, true, true, x, y, cx, cy);
    EXPECT_EQ(19, y);
    EXPECT_EQ(30, cx);
    int x2 = 0, y2 = 0;
    xp.Adjust(false, false, false, x2, y2, cx, cy);
    EXPECT_EQ(0, y2);
    EXPECT_EQ(19, xp.Y());
}
