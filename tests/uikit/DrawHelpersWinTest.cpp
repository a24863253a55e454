#include <gtest/gtest.h>

#include "UikitWinTestSupport.h"
#include "uikit/DrawHelpers.h"

namespace {

HFONT MakeFont(int weight, const char* face = "Arial")
{
    LOGFONTA lf = {};
    lf.lfHeight = -12;
    lf.lfWeight = weight;
    lstrcpyA(lf.lfFaceName, face);
    return CreateFontIndirectA(&lf);
}

LONG WeightOfCurrentFont(HDC dc)
{
    LOGFONTA lf = {};
    GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf);
    return lf.lfWeight;
}

} // namespace

TEST(DrawGuards, NestedGuardsLeaveTheDCAsTheyFoundIt)
{
    MemorySurface s(20, 20);
    HDC dc = s.dc();
    HFONT base = MakeFont(FW_NORMAL);
    SelectObject(dc, base);
    SetTextColor(dc, RGB(1, 2, 3));
    HGDIOBJ pen0 = GetCurrentObject(dc, OBJ_PEN);
    HGDIOBJ brush0 = GetCurrentObject(dc, OBJ_BRUSH);
    {
        CPenDC pen(dc, RGB(255, 0, 0));
        LOGPEN lp = {};
        GetObjectA(GetCurrentObject(dc, OBJ_PEN), sizeof lp, &lp);
        EXPECT_EQ(RGB(255, 0, 0), lp.lopnColor);
        {
            CBrushDC brush(dc, RGB(0, 255, 0));
            EXPECT_NE(brush0, GetCurrentObject(dc, OBJ_BRUSH));
            {
                CFontDC font(dc, DEFAULT_GUI_FONT, RGB(9, 9, 9));
                EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), GetCurrentObject(dc, OBJ_FONT));
                EXPECT_EQ(RGB(9, 9, 9), GetTextColor(dc));
                font.SetTextColor(RGB(7, 7, 7));
                {
                    CBoldDC bold(dc, true);
                    EXPECT_EQ(FW_BOLD, WeightOfCurrentFont(dc));
                }
                EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), GetCurrentObject(dc, OBJ_FONT));
                // Re-colouring keeps a guard's place in the nesting.
                pen.Color(RGB(0, 0, 255));
                GetObjectA(GetCurrentObject(dc, OBJ_PEN), sizeof lp, &lp);
                EXPECT_EQ(RGB(0, 0, 255), lp.lopnColor);
            }
            // The colour saved the first time comes back, not the second.
            EXPECT_EQ(RGB(1, 2, 3), GetTextColor(dc));
            EXPECT_EQ((HGDIOBJ)base, GetCurrentObject(dc, OBJ_FONT));
        }
        EXPECT_EQ(brush0, GetCurrentObject(dc, OBJ_BRUSH));
    }
    EXPECT_EQ(pen0, GetCurrentObject(dc, OBJ_PEN));
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(base);
}

TEST(DrawGuards, HollowBrushDrawsOnlyTheFrame)
{
    MemorySurface s(20, 20);
    s.Fill(RGB(255, 255, 255));
    {
        CPenDC pen(s.dc(), RGB(0, 0, 0));
        CBrushDC brush(s.dc(), (COLORREF)-1);
        EXPECT_EQ(GetStockObject(NULL_BRUSH), GetCurrentObject(s.dc(), OBJ_BRUSH));
        Rectangle(s.dc(), 2, 2, 18, 18);
        brush.Color(RGB(255, 0, 0));
        Rectangle(s.dc(), 0, 0, 1, 1); // a red brush now; the hollow one is gone
        brush.Color((COLORREF)-1);
        EXPECT_EQ(GetStockObject(NULL_BRUSH), GetCurrentObject(s.dc(), OBJ_BRUSH));
    }
    EXPECT_EQ(RGB(0, 0, 0), s.At(2, 10));
    EXPECT_EQ(RGB(0, 0, 0), s.At(17, 10));
    EXPECT_EQ(RGB(255, 255, 255), s.At(10, 10));
}

TEST(DrawGuards, BoldGuardChangesOnlyWhatDiffers)
{
    MemorySurface s(10, 10);
    HFONT semi = MakeFont(600);
    HFONT bold = MakeFont(FW_BOLD);
    SelectObject(s.dc(), semi);
    {
        CBoldDC normal(s.dc(), false); // 600 is not bold: nothing to undo
        EXPECT_EQ((HGDIOBJ)semi, GetCurrentObject(s.dc(), OBJ_FONT));
    }
    SelectObject(s.dc(), bold);
    {
        CBoldDC normal(s.dc(), false);
        EXPECT_EQ(FW_NORMAL, WeightOfCurrentFont(s.dc()));
        CBoldDC again(s.dc(), false);
        EXPECT_EQ(FW_NORMAL, WeightOfCurrentFont(s.dc()));
    }
    EXPECT_EQ((HGDIOBJ)bold, GetCurrentObject(s.dc(), OBJ_FONT));
    SelectObject(s.dc(), GetStockObject(SYSTEM_FONT));
    DeleteObject(semi);
    DeleteObject(bold);
}

TEST(DrawGuards, FontGuardFaceAndHandleForms)
{
    MemorySurface s(10, 10);
    HFONT arial = MakeFont(FW_NORMAL, "Arial");
    SelectObject(s.dc(), arial);
    {
        CFontDC same(s.dc(), "ARIAL"); // the same face in other case: nothing selected
        EXPECT_EQ((HGDIOBJ)arial, GetCurrentObject(s.dc(), OBJ_FONT));
    }
    {
        CFontDC other(s.dc(), "Courier New");
        LOGFONTA lf = {};
        GetObjectA(GetCurrentObject(s.dc(), OBJ_FONT), sizeof lf, &lf);
        EXPECT_STREQ("Courier New", lf.lfFaceName);
        EXPECT_EQ(-12, lf.lfHeight);
        // Selecting again starts from the original font.
        other.SelectFace("Arial");
        EXPECT_EQ((HGDIOBJ)arial, GetCurrentObject(s.dc(), OBJ_FONT));
        HFONT owned = MakeFont(FW_BOLD);
        other.SelectFont(owned);
        EXPECT_EQ((HGDIOBJ)owned, GetCurrentObject(s.dc(), OBJ_FONT));
    }
    EXPECT_EQ((HGDIOBJ)arial, GetCurrentObject(s.dc(), OBJ_FONT));
    SelectObject(s.dc(), GetStockObject(SYSTEM_FONT));
    DeleteObject(arial);
}

TEST(BufferDC, CopiesOnlyItsRectangleBackOnce)
{
    MemorySurface target(100, 100);
    target.Fill(RGB(255, 255, 255));
    {
        CBufferDC buffer(target.dc(), CRect(10, 20, 60, 70));
        CRect clip;
        buffer.GetClipBox(&clip);
        EXPECT_EQ(CRect(10, 20, 60, 70), clip); // above and left are excluded
        buffer.FillSolidRect(0, 0, 100, 100, RGB(0, 0, 255));
        EXPECT_EQ(RGB(255, 255, 255), target.At(30, 30)); // nothing reaches the target yet
    }
    EXPECT_EQ(RGB(0, 0, 255), target.At(10, 20));
    EXPECT_EQ(RGB(0, 0, 255), target.At(59, 69));
    EXPECT_EQ(RGB(255, 255, 255), target.At(9, 30));
    EXPECT_EQ(RGB(255, 255, 255), target.At(30, 19));
    EXPECT_EQ(RGB(255, 255, 255), target.At(60, 30));
    EXPECT_EQ(RGB(255, 255, 255), target.At(30, 70));
}

TEST(BufferDC, OriginRectangleExcludesNothingAndEmptyMeansClipBox)
{
    MemorySurface target(80, 60);
    {
        CBufferDC buffer(target.dc(), CRect(0, 0, 40, 30));
        CRect clip;
        buffer.GetClipBox(&clip);
        EXPECT_EQ(CRect(0, 0, 40, 30), clip);
    }
    {
        CBufferDC buffer(target.dc(), CRect());
        EXPECT_EQ(CRect(0, 0, 80, 60), buffer.GetRect());
        buffer.FillSolidRect(0, 0, 80, 60, RGB(10, 20, 30));
    }
    EXPECT_EQ(RGB(10, 20, 30), target.At(79, 59));
}

TEST(CaptureScreenRect, CopiesWhatAWindowShows)
{
    HWND w = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 40, 40, 60, 40, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, w);
    Settle(); // the static's own first paint comes first
    HDC dc = GetDC(w);
    RECT all = {0, 0, 60, 40};
    HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
    FillRect(dc, &all, green);
    ReleaseDC(w, dc);
    Settle();
    RECT r;
    GetWindowRect(w, &r);
    HBITMAP shot = CaptureScreenRect(r);
    ASSERT_NE(nullptr, shot);
    BITMAP bm = {};
    GetObjectA(shot, sizeof bm, &bm);
    EXPECT_EQ(60, bm.bmWidth);
    EXPECT_EQ(40, bm.bmHeight);
    EXPECT_TRUE(Near(RGB(0, 200, 0), PixelOf(shot, 30, 20), 2));
    DeleteObject(shot);
    DeleteObject(green);
    DestroyWindow(w);
}
