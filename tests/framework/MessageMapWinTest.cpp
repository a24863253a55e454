#include <gtest/gtest.h>

#include "framework/Afx.h"
#include "tests/framework/WinTestSupport.h"

namespace {
const UINT WM_BASE_PING = WM_APP + 1;
const UINT g_registered = RegisterWindowMessageA("QfwTestRegistered");

class CBaseWnd : public CWnd {
public:
    int created = 0;
    int baseCommands = 0;
    int destroyedPost = 0;
    LRESULT OnPing(WPARAM w, LPARAM l) { return (LRESULT)(w + l); }
    int OnCreate(LPCREATESTRUCT cs)
    {
        ++created;
        return CWnd::OnCreate(cs);
    }
    void OnBaseCommand() { ++baseCommands; }
    void PostNcDestroy() override { ++destroyedPost; }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
    ON_WM_CREATE()
    ON_MESSAGE(WM_BASE_PING, OnPing)
    ON_COMMAND(100, OnBaseCommand)
END_MESSAGE_MAP()

// A button that handles its own click (reflected) and a static that picks
// its own background brush.
class CSelfButton : public CButton {
public:
    int clicks = 0;
    void OnClicked() { ++clicks; }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSelfButton, CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

class CColorStatic : public CStatic {
public:
    CBrush brush{RGB(1, 2, 3)};
    UINT lastType = 99;
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor)
    {
        lastType = nCtlColor;
        pDC->SetTextColor(RGB(200, 0, 0));
        return brush;
    }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColorStatic, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CTestWnd : public CBaseWnd {
public:
    UINT lastRange = 0;
    int rangeCalls = 0;
    BOOL enable100 = TRUE;
    int buttonClicks = 0;
    int selfButtonParentClicks = 0;
    int notifies = 0;
    int sizes = 0;
    int registered = 0;
    int updates = 0;
    void OnRange(UINT id)
    {
        lastRange = id;
        ++rangeCalls;
    }
    void OnUpdate100(CCmdUI* ui)
    {
        ++updates;
        ui->Enable(enable100);
    }
    void OnButton() { ++buttonClicks; }
    void OnSelfButton() { ++selfButtonParentClicks; }
    void OnClick(NMHDR* nm, LRESULT* result)
    {
        ++notifies;
        *result = (LRESULT)nm->idFrom + 1000;
    }
    void OnSize(UINT type, int cx, int cy)
    {
        ++sizes;
        CBaseWnd::OnSize(type, cx, cy);
    }
    LRESULT OnRegistered(WPARAM w, LPARAM) { return (LRESULT)(++registered + (int)w); }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestWnd, CBaseWnd)
    ON_COMMAND_RANGE(200, 205, OnRange)
    ON_UPDATE_COMMAND_UI(100, OnUpdate100)
    ON_BN_CLICKED(300, OnButton)
    ON_BN_CLICKED(301, OnSelfButton)
    ON_NOTIFY(NM_CLICK, 300, OnClick)
    ON_WM_SIZE()
    ON_REGISTERED_MESSAGE(g_registered, OnRegistered)
END_MESSAGE_MAP()

struct Fixture : ::testing::Test {
    CTestWnd wnd;
    CButton button;
    CSelfButton selfButton;
    CColorStatic colorStatic;
    CStatic plainStatic;
    void SetUp() override
    {
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, "map test", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
        ASSERT_TRUE(button.Create("b", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 20), &wnd, 300));
        ASSERT_TRUE(selfButton.Create("s", WS_CHILD | WS_VISIBLE, CRect(50, 0, 90, 20), &wnd, 301));
        ASSERT_TRUE(colorStatic.Create("c", WS_CHILD | WS_VISIBLE, CRect(0, 30, 40, 50), &wnd, 302));
        ASSERT_TRUE(plainStatic.Create("p", WS_CHILD | WS_VISIBLE, CRect(50, 30, 90, 50), &wnd, 303));
    }
    void TearDown() override
    {
        if (wnd.m_hWnd)
            wnd.DestroyWindow();
        AfxDeleteTempMaps();
    }
};
} // namespace

TEST_F(Fixture, MessagesReachHandlersAlongTheBaseChain)
{
    EXPECT_EQ(1, wnd.created);
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(wnd.m_hWnd));
    EXPECT_EQ(11, wnd.SendMessage(WM_BASE_PING, 5, 6));
    wnd.MoveWindow(0, 0, 320, 220);
    EXPECT_GE(wnd.sizes, 1);
    // Unhandled messages take the default path.
    wnd.SetWindowText("changed");
    CString text;
    wnd.GetWindowText(text);
    EXPECT_STREQ("changed", text);
    EXPECT_EQ(1, wnd.SendMessage(g_registered, 0));
    EXPECT_EQ(12, wnd.SendMessage(g_registered, 10));
    EXPECT_EQ(0, wnd.SendMessage(WM_BASE_PING + 1, 5, 6)); // no entry: DefWindowProc
}

TEST_F(Fixture, CommandsRangesAndUpdateHandlers)
{
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(100, 0), 0);
    EXPECT_EQ(1, wnd.baseCommands);
    EXPECT_GE(wnd.updates, 1);
    // A menu command whose update handler disables it does not run.
    wnd.enable100 = FALSE;
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(100, 0), 0);
    EXPECT_EQ(1, wnd.baseCommands);
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(203, 1), 0); // accelerator
    EXPECT_EQ(203u, wnd.lastRange);
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(206, 0), 0);
    EXPECT_EQ(1, wnd.rangeCalls);

    // CCmdUI on a control, and the handler lookup only.
    CCmdUI ui;
    ui.m_nID = 100;
    ui.m_pOther = &button;
    EXPECT_TRUE(ui.DoUpdate(&wnd, TRUE));
    EXPECT_FALSE(button.IsWindowEnabled());
    AFX_CMDHANDLERINFO info = {};
    EXPECT_TRUE(wnd.OnCmdMsg(204, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(&wnd, info.pTarget);
    EXPECT_FALSE(wnd.OnCmdMsg(999, CN_COMMAND, nullptr, &info));
    ui.m_nID = 999; // no handler: disabled only where asked
    button.EnableWindow(TRUE);
    ui.DoUpdate(&wnd, FALSE);
    EXPECT_TRUE(button.IsWindowEnabled());
    ui.DoUpdate(&wnd, TRUE);
    EXPECT_FALSE(button.IsWindowEnabled());
}

TEST_F(Fixture, ControlNotificationsAndReflection)
{
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(1, wnd.buttonClicks);
    // The reflecting button handles its own click; the parent never sees it.
    selfButton.SendMessage(BM_CLICK);
    EXPECT_EQ(1, selfButton.clicks);
    EXPECT_EQ(0, wnd.selfButtonParentClicks);

    NMHDR nm = {button.m_hWnd, 300, (UINT)NM_CLICK};
    EXPECT_EQ(1300, wnd.SendMessage(WM_NOTIFY, 300, (LPARAM)&nm));
    EXPECT_EQ(1, wnd.notifies);
    nm.code = (UINT)NM_DBLCLK;
    EXPECT_EQ(0, wnd.SendMessage(WM_NOTIFY, 300, (LPARAM)&nm));

    // Control colours: the static's own brush, else the default one.
    CClientDC dc(&colorStatic);
    LRESULT own = wnd.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc.m_hDC, (LPARAM)colorStatic.m_hWnd);
    EXPECT_EQ((LRESULT)(HBRUSH)colorStatic.brush, own);
    EXPECT_EQ((UINT)CTLCOLOR_STATIC, colorStatic.lastType);
    EXPECT_EQ(RGB(200, 0, 0), GetTextColor(dc.m_hDC));
    LRESULT other = wnd.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc.m_hDC, (LPARAM)plainStatic.m_hWnd);
    EXPECT_NE(own, other);
}

namespace {
class CCharCounter : public CWnd {
public:
    int chars = 0;
    int killed = 0;
    void OnChar(UINT ch, UINT rep, UINT flags)
    {
        ++chars;
        CWnd::OnChar(ch, rep, flags);
    }
    void PostNcDestroy() override { ++killed; }

protected:
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CCharCounter, CWnd)
    ON_WM_CHAR()
END_MESSAGE_MAP()
} // namespace

TEST_F(Fixture, SubclassingTemporaryObjectsAndDestruction)
{
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 60, 80, 20, wnd.m_hWnd, (HMENU)304, nullptr, nullptr);
    ASSERT_NE(nullptr, edit);
    CWnd* temp = wnd.GetDlgItem(304);
    ASSERT_NE(nullptr, temp);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(edit));
    EXPECT_EQ(temp, CWnd::FromHandle(edit)); // the same wrapper until idle time
    AfxDeleteTempMaps();

    CCharCounter counter;
    ASSERT_TRUE(counter.SubclassDlgItem(304, &wnd));
    EXPECT_EQ(&counter, CWnd::FromHandle(edit));
    EXPECT_FALSE(CCharCounter().SubclassWindow(edit)); // one object per window
    counter.SendMessage(WM_CHAR, 'x', 1);
    EXPECT_EQ(1, counter.chars);
    CString text;
    counter.GetWindowText(text);
    EXPECT_STREQ("x", text); // the edit's own procedure still ran
    EXPECT_EQ(edit, counter.UnsubclassWindow());
    SendMessageA(edit, WM_CHAR, 'y', 1);
    EXPECT_EQ(1, counter.chars);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(edit));

    ASSERT_TRUE(counter.SubclassWindow(edit));
    DestroyWindow(edit);
    EXPECT_EQ(1, counter.killed);
    EXPECT_EQ(nullptr, counter.m_hWnd);

    HWND main = wnd.m_hWnd;
    wnd.DestroyWindow();
    EXPECT_EQ(1, wnd.destroyedPost);
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(main));
}

TEST(FrameworkGeometry, RectPointSizeOperators)
{
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(100, r.Width());
    EXPECT_EQ(50, r.Height());
    EXPECT_EQ(CPoint(60, 45), r.CenterPoint());
    r.OffsetRect(CPoint(5, -5));
    EXPECT_EQ(CRect(15, 15, 115, 65), r);
    r.DeflateRect(5, 5);
    EXPECT_EQ(CSize(90, 40), r.Size());
    EXPECT_TRUE(r.PtInRect(CPoint(20, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(110, 20))); // right edge is outside
    CRect a(0, 0, 10, 10), b(5, 5, 20, 20);
    EXPECT_EQ(CRect(5, 5, 10, 10), a & b);
    EXPECT_EQ(CRect(0, 0, 20, 20), a | b);
    EXPECT_EQ(CSize(3, 4), CPoint(4, 6) - CPoint(1, 2));
    CPoint packed((LPARAM)MAKELONG((WORD)-3, 7));
    EXPECT_EQ(CPoint(-3, 7), packed);
}

TEST(FrameworkGdi, MemoryContextSelectionAndDrawing)
{
    CClientDC screen(nullptr);
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(&screen));
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateCompatibleBitmap(&screen, 20, 10));
    CBitmap* old = mem.SelectObject(&bmp);
    ASSERT_NE(nullptr, old);
    mem.FillSolidRect(CRect(0, 0, 20, 10), RGB(10, 20, 30));
    EXPECT_EQ(RGB(10, 20, 30), mem.GetPixel(5, 5));
    CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
    CPen* oldPen = mem.SelectObject(&pen);
    mem.MoveTo(0, 2);
    mem.LineTo(20, 2);
    EXPECT_EQ(RGB(255, 0, 0), mem.GetPixel(10, 2));
    mem.SelectObject(oldPen);
    EXPECT_EQ(oldPen->m_hObject, mem.GetCurrentPen()->m_hObject);
    mem.SelectObject(old);
    BITMAP info = {};
    bmp.GetBitmap(&info);
    EXPECT_EQ(20, info.bmWidth);
    CFont font;
    EXPECT_TRUE(font.CreatePointFont(90, "Arial"));
    CRgn rgn;
    ASSERT_TRUE(rgn.CreateRectRgn(0, 0, 10, 10));
    EXPECT_TRUE(rgn.PtInRegion(5, 5));
    AfxDeleteTempMaps();
}
