#pragma once
// XP-look menus: items switched to owner drawing when their popup opens,
// their texts remembered, images taken from the frames' toolbars, painted
// flat with colours derived from the system colours; and a call-window hook
// that gives the popup windows a flat border and, before XP, a soft shadow.
// Static operations and state only; all on the user-interface thread.
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <utility>

#include "framework/CString.h"
#include "uikit/MenuXPLogic.h"

class CWnd;
class CDC;

// An image of a menu item: a list (not owned) and an index. The toolbar it
// came from, when known, lets a replaced or destroyed list be noticed.
struct CImgDesc {
    HIMAGELIST m_hImgList = nullptr;
    int m_nIndex = 0;
    HWND m_hToolBar = nullptr;
    bool IsDrawable() const { return m_hImgList && m_nIndex != -1; }
};

class CWndMenuXP;

class CMenuXP {
public:
    static void SetXPWindow(CWnd* pWnd, bool on = true);
    static bool IsXPWindow(CWnd* pWnd);
    static bool IsXPWindow(HWND hWnd);
    static void UpdateMenuBar(CWnd* pFrame);
    static void ConvertMenu(CWnd* pWnd, HMENU hMenu, bool enable, bool menuBar);
    static bool IsMenuOwnerDraw(HMENU hMenu);
    static void OnMeasureItem(MEASUREITEMSTRUCT* pMIS);
    static bool OnDrawItem(DRAWITEMSTRUCT* pDIS, HWND hOwner);
    static LRESULT OnMenuChar(HMENU hMenu, UINT nChar, UINT nFlags);
    static void SetItemImage(UINT nID, HIMAGELIST hImgList, int nIndex);
    static void SetMenuBarItemRect(const RECT& rc);

    // Entries whose list is no longer the one their toolbar shows (the list
    // was replaced, or the toolbar is gone) are dropped.
    static void PurgeStaleImages();

    // The popup windows' hook, counted: the last RemoveHook unhooks.
    static void InstallHook();
    static void RemoveHook();
    static bool IsHookInstalled() { return s_hHook != nullptr; }
    static int GetHookCount() { return s_nHookCount; }
    static CWndMenuXP* FindWndMenu(HWND hWnd, bool findOnly);
    static LRESULT CALLBACK CallWndProcHook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MenuWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

    // Profile settings, read once.
    static bool ShowGradient();
    static bool ShowGradientSel();
    static COLORREF GradientStart();
    static COLORREF GradientEnd();
    static int GradientWidth();

    // Texts of items by command id within their menu: two menus (the menu
    // with no document and the document menu) hold the same ids with texts
    // of their own.
    static std::map<std::pair<HMENU, int>, CString> s_mapTextById;
    static std::map<HMENU, CString> s_mapTextByMenu;
    static std::map<int, CImgDesc> s_mapImageById;
    static std::map<HMENU, CImgDesc> s_mapImageByMenu;
    static std::map<HWND, CWndMenuXP*> s_mapWndMenu;
    static BYTE s_drawCounter;
    static RECT s_rcMenuBarItem; // screen coordinates; empty when none

private:
    static HHOOK s_hHook;
    static int s_nHookCount;
};

// A snapshot of one menu item for measuring and drawing.
class CMenuItemXP {
public:
    CMenuItemXP(HMENU hMenu, UINT nItem, bool byPosition);

    int GetLabel(CString& label) const;
    int GetAccelerator(CString& accel) const;
    bool IsSeparator() const { return (m_info.fType & MFT_SEPARATOR) != 0; }
    bool IsChecked() const { return (m_info.fState & MFS_CHECKED) != 0; }
    bool IsRadio() const { return (m_info.fType & MFT_RADIOCHECK) != 0; }
    // Either bit: an item greyed with MF_GRAYED alone cannot be chosen either.
    bool IsDisabled() const { return (m_info.fState & 3) != 0; }
    bool IsDefault() const { return (m_info.fState & MFS_DEFAULT) != 0; }
    int GetLabelWidth(CDC* pDC) const;
    int GetAccelWidth(CDC* pDC) const;
    DWORD GetItemData() const { return (DWORD)m_info.dwItemData; }
    const CString& GetText() const { return m_text; }
    const CImgDesc& GetImage() const { return m_image; }

    // True when it painted an open menu-bar item.
    bool Draw(CDC* pDC, const RECT& rc, bool selected, bool menuBar, bool hot, bool inactive, bool noAccel);
    static void DrawGradient(CDC* pDC, COLORREF start, COLORREF end, const RECT& rc);

private:
    MENUITEMINFOA m_info;
    CString m_text;
    CImgDesc m_image;
};

// One subclassed popup menu window: its flat border, the join with the open
// menu-bar item and, before XP, its shadow over the saved screen background.
class CWndMenuXP {
public:
    explicit CWndMenuXP(HWND hWnd);
    ~CWndMenuXP();

    void OnWindowPosChanging(WINDOWPOS* pPos);
    void OnEraseBkgnd();
    void OnNcPaint();
    void OnPrint(HDC hDC, bool itemsDrawn);
    // Redraws the border over what the system painted inside the window.
    void RepaintBorder();

    HWND m_hWnd;
    RECT m_rcLast;
    POINT m_ptPos;
    HBITMAP m_hBackground;

private:
    void DrawBorder(HDC hDC, RECT r, bool join) const;
    // The saved screen, darkened where the shadow falls; false without one.
    bool DrawShadowOverBackground(HDC hDC, const RECT& r) const;
    menuxp::PopupPlacement m_placement;
};

// Darkens the 4-pixel shadow of a popup of rectangle r (window-relative):
// pixels read from src, written to dst.
void DrawMenuShadow(HDC hSrc, HDC hDst, const RECT& r);
// The cached Windows version class (8 = XP).
int GetWinVersionClass();
