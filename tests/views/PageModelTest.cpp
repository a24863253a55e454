#include <gtest/gtest.h>

#include "app/DocTypes.h"
#include "views/PageModel.h"

namespace {

TEST(Rows, CountsLengthsWidthsAndPages)
{
    int pages = 0;
    // An empty song still has one row, of width 1.
    auto rows = MakeRows(0, 6000, 7, 0.2, pages);
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(0, rows[0].length);
    EXPECT_FLOAT_EQ(1.0f, rows[0].width);
    EXPECT_EQ(1, rows[0].page);
    EXPECT_EQ(1, pages);

    // An exact multiple ends with a row of length 0.
    rows = MakeRows(12000, 6000, 7, 0.2, pages);
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ(6000, rows[0].length);
    EXPECT_EQ(6000, rows[1].length);
    EXPECT_EQ(0, rows[2].length);
    EXPECT_FLOAT_EQ(1200.0f, rows[0].width);

    // A short last row is as wide as its share, plus one.
    rows = MakeRows(9000, 6000, 7, 0.2, pages);
    ASSERT_EQ(2u, rows.size());
    EXPECT_EQ(3000, rows[1].length);
    EXPECT_FLOAT_EQ(601.0f, rows[1].width);

    // Seven rows to a page: row 7 opens page 2.
    rows = MakeRows(7 * 6000 + 10, 6000, 7, 0.2, pages);
    ASSERT_EQ(8u, rows.size());
    EXPECT_EQ(1, rows[6].page);
    EXPECT_EQ(2, rows[7].page);
    EXPECT_EQ(2, pages);
}

TEST(Rows, NonsenseSettingsFallBackToDefaults)
{
    // "lengthPerRow=abc" reads as 0: no division by zero, default rows.
    int pages = 0;
    auto rows = MakeRows(13000, 0, 0, 0.2, pages);
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ(6000, rows[0].length);
    EXPECT_EQ(1000, rows[2].length);
    rows = MakeRows(60000, -5, -1, 0.2, pages);
    EXPECT_EQ(11u, rows.size());
    EXPECT_EQ(2, pages); // 7 rows a page
    // Rows shorter than the dialog's 3 seconds would give a window per
    // lyric line beyond what any document may hold.
    EXPECT_EQ(3u, MakeRows(13000, 2999, 7, 0.2, pages).size());
    EXPECT_EQ(5u, MakeRows(13000, kMinRowMs, 7, 0.2, pages).size());

    PageGeometry g;
    g.Layout(1000, 800, 0.6f, 0, 0, 1);
    EXPECT_EQ(6000, g.rowMs);
    EXPECT_EQ(7, g.rowsPerPage);
    EXPECT_GT(g.pixelsPerMs, 0.0);
}

TEST(Pages, GeometryAtFullAndSmallZoom)
{
    PageGeometry g;
    g.Layout(1000, 800, 1.0f, 6000, 7, 3);
    EXPECT_EQ(900, g.pageW);
    EXPECT_EQ(1244, g.pageH); // 900 x 1.3831...
    EXPECT_DOUBLE_EQ(780.0 / 6000, g.pixelsPerMs);
    // Zoom 1: no insets, the page is centred.
    GridRect p0 = g.PageRect(0);
    EXPECT_EQ(50, p0.left);
    EXPECT_EQ(950, p0.right);
    EXPECT_EQ(20, p0.top);
    EXPECT_EQ(20 + 1244, p0.bottom);
    GridRect p1 = g.PageRect(1);
    EXPECT_EQ(1244 + 40, p1.top); // 20 pixels apart
    EXPECT_EQ(1244 * 3 + 80, g.scrollH);

    // Zoom 0.3: a page at 30 %, centred, still 20 pixels apart.
    g.Layout(1000, 800, 0.3f, 6000, 7, 3);
    p0 = g.PageRect(0);
    p1 = g.PageRect(1);
    EXPECT_EQ(315 + 50, p0.left);  // inset (900 - 270) / 2
    EXPECT_EQ(950 - 315, p0.right);
    EXPECT_EQ(20, p0.top);
    EXPECT_NEAR(373, p0.Height(), 1);
    EXPECT_EQ(static_cast<int>(1244 * 0.3f * 1 + 40), p1.top);
    EXPECT_GE(p1.top - p0.bottom, 19);
}

TEST(Pages, ShortDocumentScrollsOverTheScreen)
{
    PageGeometry g;
    g.Layout(1000, 2000, 0.3f, 6000, 7, 1);
    EXPECT_EQ(2000, g.scrollH);
    EXPECT_EQ(1000, g.scrollW);
}

TEST(Pages, RowPlacementAndTimeUnderTheMouse)
{
    PageGeometry g;
    g.Layout(1000, 800, 1.0f, 6000, 7, 2);
    const int spacing = g.RowSpacing(0);
    EXPECT_EQ(1244 / 8, spacing);
    EXPECT_EQ(20 + spacing, g.RowY(0, 0));
    EXPECT_EQ(20 + 7 * spacing, g.RowY(6, 0));
    EXPECT_EQ(g.PageRect(1).top + g.RowSpacing(1), g.RowY(7, 0));
    EXPECT_EQ(g.RowY(3, 0) - 100, g.RowY(3, 100));
    const int x0 = g.RowX0(0, 0);
    EXPECT_EQ(50 + 60, x0);
    EXPECT_EQ(x0 + 780, g.RowX1(x0, 780.0f));

    // Time under the mouse inverts the placement of an offset.
    for (int ms : {0, 1500, 3000, 5999}) {
        const int x = g.XOfOffset(x0, ms);
        EXPECT_NEAR(ms, g.TimeAtX(x, 0, 0, 0), 8) << ms;
        EXPECT_NEAR(6000 + ms, g.TimeAtX(x, 0, 1, 6000), 8) << ms;
    }
    // At zoom 0.6 the conversion uses the zoomed pixels too.
    g.Layout(1000, 800, 0.6f, 6000, 7, 2);
    const int z0 = g.RowX0(2, 0);
    EXPECT_NEAR(4500, g.TimeAtX(g.XOfOffset(z0, 4500), 0, 2, 0), 8);
}

TEST(Pages, VisiblePagesAndIntersection)
{
    PageGeometry g;
    g.Layout(1000, 800, 1.0f, 6000, 7, 3);
    GridRect visible{0, 0, 1000, 700};
    EXPECT_EQ(std::vector<int>{0}, g.VisiblePages(visible));
    visible = GridRect{0, 1200, 1000, 1400};
    EXPECT_EQ((std::vector<int>{0, 1}), g.VisiblePages(visible));

    const GridRect a{0, 0, 10, 10}, b{10, 0, 20, 10}, c{5, 5, 15, 15};
    EXPECT_EQ(0, IntersectGridRects(a, b).Width()); // touching is not overlapping
    const GridRect x = IntersectGridRects(a, c);
    EXPECT_EQ(5, x.left);
    EXPECT_EQ(10, x.right);
    EXPECT_EQ(5, x.Height());
}

TEST(Loop, JumpsWhenPlaybackReachesItsEnd)
{
    // Previous tick already past the end (a seek there): only within 100 ms.
    EXPECT_TRUE(LoopJumpDue(true, true, 14000, 14000, 14000));
    EXPECT_TRUE(LoopJumpDue(true, true, 14050, 14020, 14000));
    EXPECT_TRUE(LoopJumpDue(true, true, 14099, 14099, 14000));
    EXPECT_FALSE(LoopJumpDue(true, true, 14100, 14100, 14000));
    // Crossed the end since the last tick, however late the tick.
    EXPECT_TRUE(LoopJumpDue(true, true, 14300, 13990, 14000));
    EXPECT_FALSE(LoopJumpDue(true, true, 13999, 13900, 14000));
    EXPECT_FALSE(LoopJumpDue(false, true, 14050, 13990, 14000));
    EXPECT_FALSE(LoopJumpDue(true, false, 14050, 13990, 14000));
}

TEST(Rows, RowHoldingATimeAtBoundaries)
{
    int pages = 0;
    const auto rows = MakeRows(14000, 6000, 7, 0.1, pages);
    int start = -1;
    EXPECT_EQ(0, RowHoldingTime(rows, 0, &start));
    EXPECT_EQ(0, start);
    EXPECT_EQ(0, RowHoldingTime(rows, 6000, &start)); // a boundary is the earlier row's
    EXPECT_EQ(1, RowHoldingTime(rows, 6001, &start));
    EXPECT_EQ(6000, start);
    EXPECT_EQ(2, RowHoldingTime(rows, 14000, &start));
    EXPECT_EQ(-1, RowHoldingTime(rows, 14001, &start));
    EXPECT_EQ(-1, RowHoldingTime(rows, -1, &start));
}

} // namespace
