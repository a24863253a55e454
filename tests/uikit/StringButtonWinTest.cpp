#include <gtest/gtest.h>

#include <string>

#include "tests/app/DialogWatcher.h"
#include "uikit/StringButton.h"

namespace {

class StringButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "Link parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 500,
                                      200, nullptr, nullptr));
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    HWND MakeStatic(const char* text, DWORD align, int x, int width)
    {
        HWND h = CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | align, x, 20, width, 40,
                                 m_parent.m_hWnd, (HMENU)(INT_PTR)1035, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(h, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
        return h;
    }
    RECT RectInParent(HWND h)
    {
        RECT r;
        GetWindowRect(h, &r);
        MapWindowPoints(nullptr, m_parent.m_hWnd, (POINT*)&r, 2);
        return r;
    }
    static BOOL CALLBACK FindTip(HWND w, LPARAM p)
    {
        char cls[64];
        GetClassNameA(w, cls, sizeof cls);
        if (lstrcmpiA(cls, TOOLTIPS_CLASSA) == 0) {
            *(HWND*)p = w;
            return FALSE;
        }
        return TRUE;
    }
    static std::string TipText(CStringButton& link)
    {
        HWND tip = nullptr;
        // The tooltip is the one popup of this thread with the tooltip class.
        EnumThreadWindows(GetCurrentThreadId(), &FindTip, (LPARAM)&tip);
        if (!tip)
            return "<no tooltip>";
        char buf[256] = {0};
        TOOLINFOA ti = {};
        ti.cbSize = TTTOOLINFOA_V2_SIZE;
        ti.hwnd = link.m_hWnd;
        ti.uId = 1;
        ti.lpszText = buf;
        SendMessageA(tip, TTM_GETTEXTA, sizeof buf, (LPARAM)&ti);
        return buf;
    }

    CWnd m_parent;
};

} // namespace

TEST_F(StringButtonTest, AddressTextBecomesLinkAndTooltip)
{
    CStringButton link;
    HWND h = MakeStatic("http://www.quorva.example/", SS_LEFT, 30, 400);
    ASSERT_TRUE(link.SubclassWindow(h));
    EXPECT_STREQ("http://www.quorva.example/", link.GetLinkText());
    EXPECT_TRUE(GetWindowLongA(h, GWL_STYLE) & SS_NOTIFY);
    EXPECT_EQ("http://www.quorva.example/", TipText(link));

    // Underlined font of its own.
    LOGFONTA lf = {};
    GetObjectA((HFONT)SendMessageA(h, WM_GETFONT, 0, 0), sizeof lf, &lf);
    EXPECT_TRUE(lf.lfUnderline);

    // Auto-size, left aligned: the left edge and the top stay.
    RECT r = RectInParent(h);
    EXPECT_EQ(30, r.left);
    EXPECT_EQ(20, r.top);
    EXPECT_LT(r.right - r.left, 400);
    EXPECT_GT(r.right - r.left, 0);

    link.SetLinkText("http://www.quorva.example/a-much-longer-address/");
    EXPECT_EQ("http://www.quorva.example/a-much-longer-address/", TipText(link));
    RECT wider = RectInParent(h);
    EXPECT_GT(wider.right - wider.left, r.right - r.left);
    link.DestroyWindow();
}

TEST_F(StringButtonTest, AlignedStaticsKeepTheirAnchors)
{
    CStringButton right, centred;
    HWND hr = MakeStatic("short", SS_RIGHT, 20, 300);
    HWND hc = MakeStatic("short", SS_CENTER, 20, 300);
    ASSERT_TRUE(right.SubclassWindow(hr));
    ASSERT_TRUE(centred.SubclassWindow(hc));
    RECT r = RectInParent(hr);
    EXPECT_EQ(320, r.right);
    EXPECT_LT(r.right - r.left, 300);
    RECT c = RectInParent(hc);
    EXPECT_NEAR(170, (c.left + c.right) / 2, 1);
    right.DestroyWindow();
    centred.DestroyWindow();
}

TEST_F(StringButtonTest, HoverColourFollowsTheMouseWithCapture)
{
    CStringButton link;
    HWND h = MakeStatic("Link text", SS_LEFT, 30, 300);
    ASSERT_TRUE(link.SubclassWindow(h));

    HDC dc = GetDC(m_parent.m_hWnd);
    auto colourNow = [&]() {
        SetTextColor(dc, RGB(1, 2, 3));
        LRESULT brush = SendMessageA(m_parent.m_hWnd, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)h);
        EXPECT_EQ((LRESULT)GetStockObject(NULL_BRUSH), brush);
        EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
        return GetTextColor(dc);
    };
    EXPECT_EQ(RGB(0, 0, 0xEE), colourNow());

    SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(link.IsHovering());
    EXPECT_EQ(h, GetCapture());
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), colourNow());

    SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3)); // still inside
    EXPECT_TRUE(link.IsHovering());

    SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(-5 & 0xFFFF, -5 & 0xFFFF));
    EXPECT_FALSE(link.IsHovering());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(RGB(0, 0, 0xEE), colourNow());

    link.SetVisited(true);
    EXPECT_EQ(RGB(0x55, 0x1A, 0x8B), colourNow());
    ReleaseDC(m_parent.m_hWnd, dc);
    link.DestroyWindow();
}

TEST(StringButton, HyperlinkErrorText)
{
    CString text = CStringButton::HyperlinkErrorText(SE_ERR_NOASSOC);
    EXPECT_EQ(0, text.Find("Unable to open hyperlink:\n\n"));
    EXPECT_GT(text.GetLength(), 30);
}

TEST_F(StringButtonTest, LosingTheCaptureEndsTheHover)
{
    CStringButton link;
    HWND h = MakeStatic("Link text", SS_LEFT, 30, 300);
    ASSERT_TRUE(link.SubclassWindow(h));
    SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    ASSERT_TRUE(link.IsHovering());
    // Another window takes the mouse (a browser opened by the click, say).
    SetCapture(m_parent.m_hWnd);
    EXPECT_FALSE(link.IsHovering());
    ReleaseCapture();
    // The next move over the link hovers again.
    SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(link.IsHovering());
    EXPECT_EQ(h, GetCapture());
    ReleaseCapture();
    link.DestroyWindow();
}

TEST_F(StringButtonTest, LinkCursorIsACopyOrTheArrowFallback)
{
    // The help program's hand when the system has it, else no cursor of
    // its own and the arrow stays.
    char path[MAX_PATH + 32] = {0};
    GetWindowsDirectoryA(path, MAX_PATH);
    lstrcatA(path, "\\winhlp32.exe");
    HMODULE help = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const bool hasHand = help && LoadCursorA(help, MAKEINTRESOURCEA(106));
    if (help)
        FreeLibrary(help);

    CStringButton link;
    HWND h = MakeStatic("Link text", SS_LEFT, 30, 300);
    ASSERT_TRUE(link.SubclassWindow(h));
    EXPECT_EQ(hasHand, link.GetLinkCursor() != nullptr);
    const LRESULT handled = SendMessageA(h, WM_SETCURSOR, (WPARAM)h, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(hasHand ? TRUE : FALSE, handled != 0);

    HCURSOR hand = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)); // IDC_HAND
    ASSERT_NE(nullptr, hand);
    link.SetLinkCursor(hand);
    ASSERT_NE(nullptr, link.GetLinkCursor());
    EXPECT_NE(hand, link.GetLinkCursor()); // a copy of its own
    EXPECT_NE(0, SendMessageA(h, WM_SETCURSOR, (WPARAM)h, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(link.GetLinkCursor(), GetCursor());
    link.SetLinkCursor(nullptr);
    EXPECT_EQ(hasHand, link.GetLinkCursor() != nullptr);
    link.DestroyWindow();
}

TEST_F(StringButtonTest, AutoSizeOffKeepsTheWidth)
{
    CStringButton link;
    HWND h = MakeStatic("A link", SS_LEFT, 30, 300);
    ASSERT_TRUE(link.SubclassWindow(h));
    link.SetAutoSize(false);
    RECT before = RectInParent(h);
    link.SetLinkText("a much longer link text than before");
    RECT after = RectInParent(h);
    EXPECT_EQ(before.right - before.left, after.right - after.left);
    link.SetAutoSize(true);
    EXPECT_GT(RectInParent(h).right - RectInParent(h).left, before.right - before.left);
    link.DestroyWindow();
}

TEST_F(StringButtonTest, FailedOpenTellsTheUserWhy)
{
    CStringButton link;
    HWND h = MakeStatic("C:\\no-such-folder\\missing-link.qqq", SS_LEFT, 30, 300);
    ASSERT_TRUE(link.SubclassWindow(h));
    DialogWatcher watcher(GetCurrentThreadId(), DialogWatcher::kCommandOk);
    EXPECT_FALSE(link.OpenLink(SW_SHOWNORMAL));
    ASSERT_TRUE(watcher.found());
    bool told = false;
    for (const std::string& text : watcher.texts)
        told = told || text.rfind("Unable to open hyperlink:", 0) == 0;
    EXPECT_TRUE(told);
    link.DestroyWindow();
}
