#include <gtest/gtest.h>

#include "app/ChooseLanguageDlg.h"
#include "resources/resource.h"

namespace {

RECT InDialog(HWND h)
{
    RECT r;
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, GetParent(h), (POINT*)&r, 2);
    return r;
}

} // namespace

TEST(ChooseLanguageDlg, CarriesTheBannerOnItsLeftEdge)
{
    CChooseLanguageDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_CHOOSE_LANGUAGE, nullptr));
    HWND strip = GetDlgItem(dlg.m_hWnd, 0xFFF0);
    ASSERT_NE(nullptr, strip);
    char cls[32] = {};
    GetClassNameA(strip, cls, sizeof cls);
    EXPECT_STREQ("KCSideBanner", cls);

    RECT client;
    dlg.GetClientRect(&client);
    RECT s = InDialog(strip);
    EXPECT_EQ(0, s.left);
    EXPECT_EQ(50, s.right);
    EXPECT_EQ(client.bottom, s.bottom);

    // The controls moved aside by the strip's width.
    RECT combo = {7, 7, 169, 37};
    MapDialogRect(dlg.m_hWnd, &combo);
    EXPECT_EQ(combo.left + 50, InDialog(GetDlgItem(dlg.m_hWnd, IDC_LANGUAGE_LIST)).left);
    RECT ok = {30, 31, 80, 45};
    MapDialogRect(dlg.m_hWnd, &ok);
    EXPECT_EQ(ok.left + 50, InDialog(GetDlgItem(dlg.m_hWnd, IDOK)).left);

    // Resizing the dialog refits the strip.
    RECT window;
    dlg.GetWindowRect(&window);
    dlg.SetWindowPos(nullptr, 0, 0, window.right - window.left, window.bottom - window.top + 40,
                     SWP_NOMOVE | SWP_NOZORDER);
    dlg.GetClientRect(&client);
    EXPECT_EQ(client.bottom, InDialog(strip).bottom);
    dlg.DestroyWindow();
}
