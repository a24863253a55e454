// The popup menu windows' hook: every "#32768" window created while an XP
// window is in the foreground is subclassed and gets a flat border, the
// join with the open menu-bar item and, before XP, a drawn shadow.
#include <vector>

#include "framework/App.h"
#include "uikit/DrawHelpers.h"
#include "uikit/MenuXP.h"

namespace {
const char kPropOldProc[] = "XPWndProp_OldProc";

COLORREF T(int sysColour, int lightness, int saturation)
{
    return (COLORREF)HLSTransform((ColourRef)::GetSysColor(sysColour), lightness, saturation);
}

bool BeforeXP() { return menuxp::IsBeforeXP(GetWinVersionClass()); }

RECT WindowRelativeRect(HWND hWnd, POINT* topLeft)
{
    RECT r = {};
    ::GetWindowRect(hWnd, &r);
    if (topLeft)
        *topLeft = POINT{r.left, r.top};
    ::OffsetRect(&r, -r.left, -r.top);
    return r;
}
} // namespace

int GetWinVersionClass()
{
    static int cached = -1;
    if (cached < 0) {
        OSVERSIONINFOA v = {};
        v.dwOSVersionInfoSize = sizeof v;
        const bool ok = ::GetVersionExA(&v) != FALSE;
        cached = menuxp::VersionClass(ok, (int)v.dwPlatformId, (int)v.dwMajorVersion, (int)v.dwMinorVersion);
    }
    return cached;
}

void DrawMenuShadow(HDC hSrc, HDC hDst, const RECT& r)
{
    for (const menuxp::ShadePixel& p : menuxp::MenuShadowPixels(r.right - r.left, r.bottom - r.top)) {
        const int x = r.left + p.x, y = r.top + p.y;
        const COLORREF c = ::GetPixel(hSrc, x, y);
        if (c != CLR_INVALID)
            ::SetPixel(hDst, x, y, (COLORREF)menuxp::Shade((ColourRef)c, p.k));
    }
}

// --- the hook

void CMenuXP::InstallHook()
{
    ++s_nHookCount;
    if (!s_hHook)
        s_hHook = ::SetWindowsHookExA(WH_CALLWNDPROC, &CMenuXP::CallWndProcHook, AfxGetInstanceHandle(),
                                      ::GetCurrentThreadId());
}

void CMenuXP::RemoveHook()
{
    if (s_nHookCount == 0)
        return;
    if (--s_nHookCount > 0)
        return;
    std::vector<CWndMenuXP*> all;
    for (auto& entry : s_mapWndMenu)
        all.push_back(entry.second);
    for (CWndMenuXP* w : all)
        delete w;
    s_mapWndMenu.clear();
    if (s_hHook)
        ::UnhookWindowsHookEx(s_hHook);
    s_hHook = nullptr;
}

CWndMenuXP* CMenuXP::FindWndMenu(HWND hWnd, bool findOnly)
{
    auto it = s_mapWndMenu.find(hWnd);
    if (it != s_mapWndMenu.end())
        return it->second;
    if (findOnly)
        return nullptr;
    CWndMenuXP* w = new CWndMenuXP(hWnd);
    s_mapWndMenu[hWnd] = w;
    return w;
}

LRESULT CALLBACK CMenuXP::CallWndProcHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* cwp = (const CWPSTRUCT*)lParam;
    if (code == HC_ACTION && cwp && (cwp->message == WM_CREATE || cwp->message == 0x1E2) &&
        IsXPWindow(::GetForegroundWindow())) {
        char cls[10] = "";
        if (::GetClassNameA(cwp->hwnd, cls, sizeof cls) == 6 && lstrcmpA(cls, "#32768") == 0) {
            FindWndMenu(cwp->hwnd, false);
            if (!::GetPropA(cwp->hwnd, kPropOldProc)) {
                const LONG_PTR old = ::GetWindowLongPtrA(cwp->hwnd, GWLP_WNDPROC);
                if (old) {
                    ::SetPropA(cwp->hwnd, kPropOldProc, (HANDLE)old);
                    if (!::SetWindowLongPtrA(cwp->hwnd, GWLP_WNDPROC, (LONG_PTR)&CMenuXP::MenuWndProc))
                        ::RemovePropA(cwp->hwnd, kPropOldProc);
                }
            }
        }
    }
    return ::CallNextHookEx(s_hHook, code, wParam, lParam);
}

LRESULT CALLBACK CMenuXP::MenuWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC old = (WNDPROC)::GetPropA(hWnd, kPropOldProc);
    if (!old)
        return ::DefWindowProcA(hWnd, msg, wParam, lParam);
    CWndMenuXP* menu = FindWndMenu(hWnd, true);
    switch (msg) {
    case WM_ERASEBKGND:
        if (menu)
            menu->OnEraseBkgnd();
        break;
    case WM_SHOWWINDOW:
        if (!wParam)
            delete menu;
        break;
    case WM_NCDESTROY:
        delete menu;
        break;
    case WM_WINDOWPOSCHANGING:
        if (menu)
            menu->OnWindowPosChanging((WINDOWPOS*)lParam);
        break;
    case WM_NCCALCSIZE: {
        const LRESULT r = ::CallWindowProcA(old, hWnd, msg, wParam, lParam);
        if (menu && BeforeXP()) {
            RECT* client = (RECT*)lParam; // the first proposed rectangle in both forms
            client->right -= 4;
            client->bottom -= 4;
        }
        return r;
    }
    case WM_NCPAINT:
        if (menu) {
            menu->OnNcPaint();
            return 0;
        }
        break;
    case WM_PAINT: {
        // Some systems draw the menu's frame inside the window: the flat
        // border goes back over it.
        const LRESULT r = ::CallWindowProcA(old, hWnd, msg, wParam, lParam);
        if (menu)
            menu->RepaintBorder();
        return r;
    }
    case WM_PRINT: {
        const BYTE before = s_drawCounter;
        const LRESULT r = ::CallWindowProcA(old, hWnd, msg, wParam, lParam);
        if (menu)
            menu->OnPrint((HDC)wParam, s_drawCounter != before);
        return r;
    }
    default:
        break;
    }
    return ::CallWindowProcA(old, hWnd, msg, wParam, lParam);
}

// --- one popup window

CWndMenuXP::CWndMenuXP(HWND hWnd) : m_hWnd(hWnd), m_rcLast{0, 0, 0, 0}, m_ptPos{-0xFFFF, -0xFFFF}, m_hBackground(nullptr)
{
}

CWndMenuXP::~CWndMenuXP()
{
    if (::IsWindow(m_hWnd)) {
        if (HANDLE old = ::GetPropA(m_hWnd, kPropOldProc)) {
            ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)old);
            ::RemovePropA(m_hWnd, kPropOldProc);
        }
    }
    if (m_hBackground)
        ::DeleteObject(m_hBackground);
    CMenuXP::s_mapWndMenu.erase(m_hWnd);
}

void CWndMenuXP::OnWindowPosChanging(WINDOWPOS* pos)
{
    if (!pos)
        return;
    m_placement.Adjust(BeforeXP(), !(pos->flags & SWP_NOMOVE), !(pos->flags & SWP_NOSIZE), pos->x, pos->y, pos->cx,
                       pos->cy);
    if (m_placement.HasPosition())
        m_ptPos = POINT{m_placement.X(), m_placement.Y()};
    // Where the window is shown before it erases (as under Wine), the screen
    // behind it is kept now, while it is still there to be read.
    if ((pos->flags & SWP_SHOWWINDOW) && !(pos->flags & SWP_NOSIZE) && m_placement.HasPosition() &&
        !::IsWindowVisible(m_hWnd)) {
        if (m_hBackground)
            ::DeleteObject(m_hBackground);
        m_hBackground = CaptureScreenRect(RECT{m_ptPos.x, m_ptPos.y, m_ptPos.x + pos->cx, m_ptPos.y + pos->cy});
    }
}

void CWndMenuXP::OnEraseBkgnd()
{
    if (::IsWindowVisible(m_hWnd) || !m_placement.HasPosition())
        return;
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    if (m_hBackground)
        ::DeleteObject(m_hBackground);
    const RECT area = {m_ptPos.x, m_ptPos.y, m_ptPos.x + client.right + 10, m_ptPos.y + client.bottom + 10};
    m_hBackground = CaptureScreenRect(area);
}

void CWndMenuXP::DrawBorder(HDC hDC, RECT r, bool join) const
{
    CBrushDC brush(hDC, (COLORREF)-1);
    CPenDC pen(hDC, ::GetSysColor(COLOR_3DDKSHADOW));
    if (BeforeXP()) {
        r.right -= 4;
        r.bottom -= 4;
    }
    ::Rectangle(hDC, r.left, r.top, r.right, r.bottom);
    pen.Color(T(COLOR_BTNFACE, 75, 0));
    ::InflateRect(&r, -1, -1);
    ::Rectangle(hDC, r.left, r.top, r.right, r.bottom);
    ::InflateRect(&r, -1, -1);
    ::Rectangle(hDC, r.left, r.top, r.right, r.bottom);

    const RECT& bar = CMenuXP::s_rcMenuBarItem;
    if (join && !::IsRectEmpty(&bar) && bar.bottom == m_ptPos.y + 1) {
        pen.Color(T(COLOR_BTNFACE, 20, 0));
        ::MoveToEx(hDC, bar.left - m_ptPos.x - 3, 0, nullptr);
        ::LineTo(hDC, bar.left - m_ptPos.x + (bar.right - bar.left) - 5, 0);
    }
}

void CWndMenuXP::OnNcPaint()
{
    HDC dc = ::GetWindowDC(m_hWnd);
    if (!dc)
        return;
    const RECT r = WindowRelativeRect(m_hWnd, &m_ptPos);
    if (!::EqualRect(&r, &m_rcLast)) {
        m_rcLast = r;
        DrawBorder(dc, r, true);
        if (BeforeXP() && !DrawShadowOverBackground(dc, r))
            DrawMenuShadow(dc, dc, r);
    }
    ::ReleaseDC(m_hWnd, dc);
}

void CWndMenuXP::RepaintBorder()
{
    HDC dc = ::GetWindowDC(m_hWnd);
    if (!dc)
        return;
    DrawBorder(dc, WindowRelativeRect(m_hWnd, nullptr), true);
    ::ReleaseDC(m_hWnd, dc);
}

void CWndMenuXP::OnPrint(HDC hDC, bool itemsDrawn)
{
    const RECT r = WindowRelativeRect(m_hWnd, nullptr);
    m_rcLast = r;
    DrawBorder(hDC, r, itemsDrawn);
    if (!BeforeXP())
        return;
    if (!DrawShadowOverBackground(hDC, r)) {
        // Nothing saved yet: the shadow darkens what the window holds.
        DrawMenuShadow(hDC, hDC, r);
    }
}

bool CWndMenuXP::DrawShadowOverBackground(HDC hDC, const RECT& r) const
{
    if (!m_hBackground)
        return false;
    const int w = r.right, h = r.bottom;
    HDC memory = ::CreateCompatibleDC(hDC);
    HGDIOBJ old = ::SelectObject(memory, m_hBackground);
    ::BitBlt(hDC, 0, h - 4, 8, 4, memory, 0, h - 4, SRCCOPY);
    ::BitBlt(hDC, w - 4, h - 4, 4, 4, memory, w - 4, h - 4, SRCCOPY);
    ::BitBlt(hDC, w - 4, 0, 4, 8, memory, w - 4, 0, SRCCOPY);
    DrawMenuShadow(memory, hDC, r);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return true;
}
