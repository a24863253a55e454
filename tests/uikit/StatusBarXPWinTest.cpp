#include <gtest/gtest.h>

#include "UikitWinTestSupport.h"
#include "uikit/DrawHelpers.h"
#include "uikit/StatusBarXP.h"

TEST(StatusBarXP, ThreeFlatFramedPanesAtLeast20High)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(WS_EX_TOPMOST, nullptr, "Status host", WS_POPUP | WS_VISIBLE, 50, 50, 400, 100,
                                nullptr, nullptr));
    CStatusBarXP bar;
    ASSERT_TRUE(bar.Create(&parent));
    const UINT ids[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};
    ASSERT_TRUE(bar.SetIndicators(ids, 3));
    EXPECT_EQ(3, bar.GetCount());
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(bar.GetPaneStyle(i) & SBPS_NOBORDERS) << i;
        // The control draws the pane without its sunken border.
        EXPECT_TRUE(HIWORD(bar.SendMessage(SB_GETTEXTLENGTHA, (WPARAM)i)) & SBT_NOBORDERS) << i;
    }
    const CSize size = bar.CalcFixedLayout(TRUE, TRUE);
    EXPECT_GE(size.cy, 20);

    bar.MoveWindow(0, 100 - size.cy, 400, size.cy);
    bar.ShowWindow(SW_SHOW);
    bar.Invalidate();
    Settle();
    CRect pane;
    bar.GetItemRect(1, &pane);
    CRect screen;
    bar.GetWindowRect(&screen);
    HBITMAP shot = CaptureScreenRect(screen);
    ASSERT_NE(nullptr, shot);
    // Each pane is framed by a shadow line.
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    EXPECT_TRUE(Near(shadow, PixelOf(shot, pane.left, (pane.top + pane.bottom) / 2), 2));
    EXPECT_TRUE(Near(shadow, PixelOf(shot, pane.right - 1, (pane.top + pane.bottom) / 2), 2));
    EXPECT_TRUE(Near(shadow, PixelOf(shot, (pane.left + pane.right) / 2, pane.top), 2));
    DeleteObject(shot);

    // Too few ids: the base refuses and so does the bar.
    EXPECT_FALSE(bar.SetIndicators(ids, 0));
    parent.DestroyWindow();
}
