#include <gtest/gtest.h>

#include "UikitWinTestSupport.h"
#include "framework/App.h"
#include "resources/resource.h"
#include "uikit/DrawHelpers.h"
#include "uikit/KCSideBannerWnd.h"

namespace {

const COLORREF kDarkBlue = RGB(0x00, 0x26, 0x93);

// Reaches the banner's inner state: GradientFill can be swapped for a
// counting stand-in or taken away.
class TestBanner : public CKCSideBannerWnd {
public:
    static int s_gradientCalls;
    static BOOL WINAPI CountingGradientFill(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG)
    {
        ++s_gradientCalls;
        return TRUE;
    }
    void UseGradientFill(GradientFillProc p) { m_gradientFill = p; }
    void SetColours(COLORREF one, COLORREF two)
    {
        m_colour1 = one;
        m_colour2 = two;
    }
    void SetEdgeFlag(int edge) { m_edge = edge; }
    HICON Icon() const { return m_icon; }
};
int TestBanner::s_gradientCalls = 0;

class SideBannerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dialog.CreateEx(WS_EX_TOPMOST, nullptr, "Banner host", WS_POPUP | WS_VISIBLE, 100, 100, 300,
                                      200, nullptr, nullptr));
        m_button = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24, m_dialog.m_hWnd,
                                   (HMENU)1, GetModuleHandleA(nullptr), nullptr);
        m_group = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 20, 60, 200, 100, m_dialog.m_hWnd,
                                  (HMENU)2, GetModuleHandleA(nullptr), nullptr);
        m_grandchild = CreateWindowExA(0, "STATIC", "x", WS_CHILD | WS_VISIBLE, 5, 5, 30, 20, m_group,
                                       (HMENU)3, GetModuleHandleA(nullptr), nullptr);
    }
    void TearDown() override { m_dialog.DestroyWindow(); }

    static RECT InParent(HWND h)
    {
        RECT r;
        GetWindowRect(h, &r);
        MapWindowPoints(nullptr, GetParent(h), (POINT*)&r, 2);
        return r;
    }

    CWnd m_dialog;
    HWND m_button = nullptr;
    HWND m_group = nullptr;
    HWND m_grandchild = nullptr;
};

} // namespace

TEST_F(SideBannerTest, LeftBannerWidensTheDialogAndMovesOnlyItsOwnControls)
{
    TestBanner banner;
    EXPECT_EQ(0, banner.Attach(nullptr, kBannerLeft, 0xFFF0));
    CWnd windowless;
    EXPECT_EQ(0, banner.Attach(&windowless, kBannerLeft, 0xFFF0));
    EXPECT_EQ(nullptr, banner.GetSafeHwnd());

    ASSERT_EQ(1, banner.Attach(&m_dialog, kBannerLeft, 0xFFF0));
    CRect window;
    m_dialog.GetWindowRect(&window);
    EXPECT_EQ(350, window.Width());
    EXPECT_EQ(200, window.Height());
    EXPECT_EQ(100, window.left); // it grows, it does not move
    EXPECT_EQ(60, InParent(m_button).left);
    EXPECT_EQ(10, InParent(m_button).top);
    EXPECT_EQ(70, InParent(m_group).left);
    EXPECT_EQ(5, InParent(m_grandchild).left);

    HWND strip = GetDlgItem(m_dialog.m_hWnd, 0xFFF0);
    ASSERT_EQ(banner.m_hWnd, strip);
    char cls[32] = {};
    GetClassNameA(strip, cls, sizeof cls);
    EXPECT_STREQ("KCSideBanner", cls);
    EXPECT_EQ(CRect(0, 0, 50, 200), CRect(InParent(strip)));

    // WM_SIZE of the dialog: the strip follows its new height.
    m_dialog.SetWindowPos(nullptr, 0, 0, 350, 260, SWP_NOMOVE | SWP_NOZORDER);
    banner.UpdateSize();
    EXPECT_EQ(260, InParent(strip).bottom);

    // A thicker strip pushes the controls further; another edge takes them back.
    banner.SetThickness(80);
    m_dialog.GetWindowRect(&window);
    EXPECT_EQ(380, window.Width());
    EXPECT_EQ(80, CRect(InParent(strip)).Width());
    EXPECT_EQ(90, InParent(m_button).left);
    banner.SetEdge(kBannerTop);
    EXPECT_EQ(10, InParent(m_button).left);
    EXPECT_EQ(90, InParent(m_button).top);
    EXPECT_EQ(CRect(0, 0, 300, 80), CRect(InParent(strip)));
}

TEST_F(SideBannerTest, GradientRunsFromDarkBlueAtTheTopToTheBackground)
{
    TestBanner banner;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    ASSERT_EQ(1, banner.Attach(&m_dialog, kBannerLeft, 0xFFF0));
    banner.SetColorBkg(face);
    banner.SetColorEdge(RGB(0, 0, 0));
    banner.SetIcon(nullptr, 0, false);
    banner.SetTitle("");
    banner.SetCaption("");
    banner.Invalidate();
    Settle();

    CRect r;
    banner.GetWindowRect(&r);
    HBITMAP shot = CaptureScreenRect(r);
    ASSERT_NE(nullptr, shot);
    EXPECT_TRUE(Near(kDarkBlue, PixelOf(shot, 20, 0), 3));
    EXPECT_TRUE(Near(face, PixelOf(shot, 20, r.Height() - 1), 6));
    // Every channel moves steadily towards the background colour.
    int previousDistance = 3 * 256;
    for (int y = 0; y < r.Height(); y += 20) {
        const COLORREF c = PixelOf(shot, 20, y);
        const int distance = abs(GetRValue(c) - GetRValue(face)) + abs(GetGValue(c) - GetGValue(face)) +
                             abs(GetBValue(c) - GetBValue(face));
        EXPECT_LT(distance, previousDistance) << y;
        previousDistance = distance;
    }
    // The edge line faces the dialog.
    EXPECT_EQ(RGB(0, 0, 0), PixelOf(shot, 49, r.Height() / 2));
    DeleteObject(shot);
}

TEST_F(SideBannerTest, FallbackGradientAndSolidFill)
{
    TestBanner banner;
    banner.SetEdgeFlag(kBannerLeft);
    banner.SetColours(RGB(200, 100, 0), kDarkBlue);
    banner.SetColorEdge(RGB(255, 255, 255));
    MemorySurface s(50, 100);

    // Without GradientFill: exact colours at both ends.
    banner.UseGradientFill(nullptr);
    banner.DrawBackground(CDC::FromHandle(s.dc()), CRect(0, 0, 50, 100));
    EXPECT_EQ(kDarkBlue, s.At(10, 0));
    EXPECT_EQ(RGB(200, 100, 0), s.At(10, 99));
    EXPECT_EQ(RGB(98, 68, 74), s.At(10, 49)); // t = 49/99, truncated channels
    EXPECT_EQ(RGB(255, 255, 255), s.At(49, 50));

    // Right banner: the colours swap ends.
    banner.SetEdgeFlag(kBannerRight);
    banner.DrawBackground(CDC::FromHandle(s.dc()), CRect(0, 0, 50, 100));
    EXPECT_EQ(RGB(200, 100, 0), s.At(10, 0));
    EXPECT_EQ(kDarkBlue, s.At(10, 99));
    EXPECT_EQ(RGB(255, 255, 255), s.At(0, 50));

    // Equal colours: one solid fill, GradientFill never asked.
    banner.SetEdgeFlag(kBannerLeft);
    banner.UseGradientFill(&TestBanner::CountingGradientFill);
    TestBanner::s_gradientCalls = 0;
    banner.SetColours(RGB(1, 2, 3), RGB(1, 2, 3));
    banner.DrawBackground(CDC::FromHandle(s.dc()), CRect(0, 0, 50, 100));
    EXPECT_EQ(0, TestBanner::s_gradientCalls);
    EXPECT_EQ(RGB(1, 2, 3), s.At(10, 10));
    banner.SetColours(RGB(1, 2, 3), RGB(4, 5, 6));
    banner.DrawBackground(CDC::FromHandle(s.dc()), CRect(0, 0, 50, 100));
    EXPECT_EQ(1, TestBanner::s_gradientCalls);

    // Solid mode ignores the second colour.
    banner.SetFillMode(CKCSideBannerWnd::kFillSolid);
    banner.DrawBackground(CDC::FromHandle(s.dc()), CRect(0, 0, 50, 100));
    EXPECT_EQ(RGB(1, 2, 3), s.At(10, 99));
    EXPECT_EQ(RGB(1, 2, 3), s.At(10, 0));
}

TEST(FallbackGradient, OnePixelAndLowColourDisplays)
{
    MemorySurface s(40, 40);
    const COLORREF from = RGB(240, 240, 240), to = RGB(0, 38, 147);
    // A one-pixel strip would divide by zero; it takes the first colour.
    s.Fill(RGB(255, 0, 255));
    FillFallbackGradient(s.dc(), from, to, CRect(5, 5, 30, 6), false, false);
    EXPECT_EQ(from, s.At(5, 5));
    EXPECT_EQ(from, s.At(29, 5));
    EXPECT_EQ(RGB(255, 0, 255), s.At(5, 6));
    FillFallbackGradient(s.dc(), from, to, CRect(5, 10, 6, 30), true, true);
    EXPECT_EQ(to, s.At(5, 20));

    // 8 bits per pixel: the whole strip in the first colour.
    FillFallbackGradient(s.dc(), from, to, CRect(0, 0, 40, 40), false, false, 8);
    EXPECT_EQ(from, s.At(0, 0));
    EXPECT_EQ(from, s.At(39, 39));
    FillFallbackGradient(s.dc(), from, to, CRect(0, 0, 40, 40), true, true, 8);
    EXPECT_EQ(to, s.At(0, 0));

    // Horizontal and swapped, as a top banner paints: first colour at the left.
    FillFallbackGradient(s.dc(), from, to, CRect(0, 0, 40, 40), true, true, 32);
    EXPECT_EQ(from, s.At(0, 20));
    EXPECT_EQ(to, s.At(39, 20));
    // An empty rectangle covers the clip box.
    FillFallbackGradient(s.dc(), from, to, CRect(), false, false, 32);
    EXPECT_EQ(to, s.At(20, 0));
    EXPECT_EQ(from, s.At(20, 39));
}

TEST_F(SideBannerTest, TextsAndIconDrawOnlyWhereSet)
{
    TestBanner banner;
    banner.SetEdgeFlag(kBannerLeft);
    banner.UseGradientFill(nullptr);
    const CRect rect(0, 0, 50, 200);
    MemorySurface background(50, 200), drawn(50, 200);
    banner.DrawBackground(CDC::FromHandle(background.dc()), rect);

    // Empty title and caption, no icon: only the background and the edge.
    banner.SetTitle("");
    banner.SetCaption("");
    banner.DrawBackground(CDC::FromHandle(drawn.dc()), rect);
    banner.DrawTextFields(CDC::FromHandle(drawn.dc()), rect);
    int differ = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 50; ++x)
            differ += background.At(x, y) != drawn.At(x, y);
    EXPECT_EQ(0, differ);

    // A title rises from the bottom along the near side of the strip; a
    // caption with an umlaut and two lines lies beside it.
    banner.SetTitle("Title");
    banner.SetCaption("Gr\xFC\xDF" "e\nzwei");
    banner.DrawBackground(CDC::FromHandle(drawn.dc()), rect);
    banner.DrawTextFields(CDC::FromHandle(drawn.dc()), rect);
    int inTitle = 0, elsewhere = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 49; ++x)
            if (background.At(x, y) != drawn.At(x, y))
                (y > 120 && x < 20 ? inTitle : elsewhere) += 1;
    EXPECT_GT(inTitle, 10);
    EXPECT_GT(elsewhere, 10);
}

TEST_F(SideBannerTest, DialogBannerKeepsThePrivateIconItOwns)
{
    // The shared icon that windows and other dialogs use must survive
    // banners coming and going.
    HICON shared = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(nullptr, shared);
    for (int i = 0; i < 2; ++i) {
        CWnd dialog;
        ASSERT_TRUE(dialog.CreateEx(0, nullptr, "Dialog", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
        TestBanner banner;
        ASSERT_EQ(1, AttachDialogBanner(banner, &dialog, IDR_MAINFRAME, CString()));
        ASSERT_NE(nullptr, banner.Icon());
        EXPECT_NE(shared, banner.Icon());
        EXPECT_EQ(CString(), banner.GetTitle());
        EXPECT_EQ(CString(), banner.GetCaption());
        dialog.DestroyWindow();
    }
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(shared, &info));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);

    // A null icon is refused and leaves no room reserved.
    TestBanner banner;
    EXPECT_FALSE(banner.SetIcon(nullptr, kIconTitleEnd, true));
    EXPECT_EQ(nullptr, banner.Icon());
}

TEST_F(SideBannerTest, TiledBitmapFill)
{
    TestBanner banner;
    banner.SetEdgeFlag(kBannerLeft);
    banner.SetColorEdge(RGB(0, 0, 0));
    // A 2 x 2 checker of red and white, tiled over the strip.
    const DWORD pixels[4] = {0x00FF0000, 0x00FFFFFF, 0x00FFFFFF, 0x00FF0000};
    HBITMAP checker = CreateBitmap(2, 2, 1, 32, pixels);
    banner.SetFillBitmap(checker, true);
    banner.SetFillMode(CKCSideBannerWnd::kFillBitmap);
    MemorySurface s(50, 100);
    banner.DrawBackground(CDC::FromHandle(s.dc()), CRect(0, 0, 50, 100));
    EXPECT_NE(s.At(10, 10), s.At(11, 10));
    EXPECT_EQ(s.At(10, 10), s.At(12, 10));
    EXPECT_EQ(s.At(10, 10), s.At(11, 11));
    EXPECT_EQ(RGB(0, 0, 0), s.At(49, 10));
}
