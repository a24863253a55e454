#include "app/ChildFrame.h"

#include "app/KestrixApp.h"
#include "app/MainFrame.h"
#include "app/MenuTexts.h"
#include "resources/resource.h"
#include "uikit/MenuXP.h"

IMPLEMENT_DYNCREATE(CChildFrame, CMDIChildWnd)

BEGIN_MESSAGE_MAP(CChildFrame, CMDIChildWnd)
ON_COMMAND_RANGE(ID_LANGUAGE_FIRST, ID_LANGUAGE_LAST, OnLanguage)
ON_UPDATE_COMMAND_UI_RANGE(ID_LANGUAGE_FIRST, ID_LANGUAGE_LAST, OnUpdateLanguage)
ON_WM_WINDOWPOSCHANGED()
ON_COMMAND(ID_HELP_FINDER, OnHelpTopics)
ON_WM_INITMENUPOPUP()
ON_WM_MEASUREITEM()
ON_WM_DRAWITEM()
ON_WM_MENUCHAR()
END_MESSAGE_MAP()

CChildFrame::CChildFrame() : m_hFrameIcon(nullptr), m_languageItemCount(1) {}

CChildFrame::~CChildFrame() {}

BOOL CChildFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style |= WS_VISIBLE;
    return CMDIChildWnd::PreCreateWindow(cs);
}

void CChildFrame::ActivateFrame(int) { CMDIChildWnd::ActivateFrame(SW_SHOWMAXIMIZED); }

void CChildFrame::PostNcDestroy()
{
    if (m_hFrameIcon)
        ::DestroyIcon(m_hFrameIcon);
    m_hFrameIcon = nullptr;
    CMDIChildWnd::PostNcDestroy();
}

HMENU CChildFrame::FrameMenu() const
{
    CWnd* main = AfxGetMainWnd();
    return main && main->m_hWnd ? ::GetMenu(main->m_hWnd) : nullptr;
}

int CChildFrame::MenuOffset() const
{
    // The maximised child's system menu takes the first place on the bar.
    HMENU menu = FrameMenu();
    return menu && ::GetMenuItemCount(menu) > 7 ? 1 : 0;
}

void CChildFrame::OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt)
{
    CMDIChildWnd::OnUpdateFrameMenu(bActivate, pActivateWnd, hMenuAlt);
    if (!bActivate)
        return;
    // Another song in front: the panels show its state, not the last one's.
    if (CKestrixApp* app = GetKestrixApp())
        app->RefreshPanels();
    HMENU menu = FrameMenu();
    HMENU languages = menu ? ::GetSubMenu(menu, MenuOffset() + 5) : nullptr;
    m_languageItemCount = 1;
    CKestrixApp* app = GetKestrixApp();
    if (languages && app) {
        const std::vector<CString> names = app->GetLanguageNames();
        const int n = (int)names.size();
        m_languageItemCount = n;
        // Deleting moves the later items up: what was left over goes when
        // the popup opens.
        for (int i = 0; i < n; ++i)
            ::DeleteMenu(languages, (UINT)i, MF_BYPOSITION);
        for (int i = 0; i < n; ++i)
            ::AppendMenuA(languages, MF_STRING, (UINT_PTR)(ID_LANGUAGE_FIRST + i), names[(size_t)i]);
    }
    TranslateMenu();
    // The maximised child's system menu sits at the left of the menu bar.
    if (HMENU system = ::GetSystemMenu(m_hWnd, FALSE))
        CMenuXP::ConvertMenu(this, system, true, false);
}

void CChildFrame::OnUpdateLanguage(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    CMenu* popup = pCmdUI->m_pMenu;
    CKestrixApp* app = GetKestrixApp();
    if (!popup || !app)
        return;
    if (popup->GetMenuItemCount() > m_languageItemCount)
        popup->DeleteMenu(0, MF_BYPOSITION);
    const int current = app->GetLanguageIndex();
    for (int i = 0; i < m_languageItemCount && i < popup->GetMenuItemCount(); ++i)
        popup->CheckMenuItem((UINT)i, MF_BYPOSITION | (i == current ? MF_CHECKED : MF_UNCHECKED));
}

void CChildFrame::OnLanguage(UINT nID)
{
    HMENU menu = FrameMenu();
    HMENU languages = menu ? ::GetSubMenu(menu, MenuOffset() + 5) : nullptr;
    CKestrixApp* app = GetKestrixApp();
    if (!languages || !app)
        return;
    for (int i = 0; i < m_languageItemCount; ++i)
        ::CheckMenuItem(languages, (UINT)i, MF_BYPOSITION | MF_UNCHECKED);
    ::CheckMenuItem(languages, nID, MF_BYCOMMAND | MF_CHECKED);
    char name[256] = "";
    ::GetMenuStringA(languages, nID, name, sizeof name, MF_BYCOMMAND);
    app->SetLanguage(name);
    TranslateMenu();
}

void CChildFrame::TranslateMenu()
{
    HMENU menu = FrameMenu();
    if (!menu || menu != m_hMenuShared)
        return;
    CMainFrame::TranslatePopups(menu, MenuOffset(), kDocMenuTexts, 7);
    if (CWnd* main = AfxGetMainWnd()) {
        CMenuXP::UpdateMenuBar(main);
        main->DrawMenuBar();
    }
}

void CChildFrame::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    CMDIChildWnd::OnWindowPosChanged(lpwndpos);
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    GetWindowPlacement(&wp);
    HICON old = m_hFrameIcon;
    m_hFrameIcon = nullptr;
    if (wp.showCmd == SW_SHOWMAXIMIZED) {
        // A plain button-face square: the bitmap is both colour and mask.
        HBITMAP bmp = (HBITMAP)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDB_BLANK_ICON), IMAGE_BITMAP,
                                            16, 16, 0);
        if (bmp) {
            HDC dc = ::CreateCompatibleDC(nullptr);
            HGDIOBJ prev = ::SelectObject(dc, bmp);
            RECT rc = {0, 0, 16, 16};
            HBRUSH face = ::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
            ::FillRect(dc, &rc, face);
            ::DeleteObject(face);
            ::SelectObject(dc, prev);
            ::DeleteDC(dc);
            ICONINFO ii = {TRUE, 0, 0, bmp, bmp};
            m_hFrameIcon = ::CreateIconIndirect(&ii);
            ::DeleteObject(bmp);
        }
    } else {
        m_hFrameIcon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_CHILD_RESTORED), IMAGE_ICON,
                                           16, 16, 0);
    }
    SetIcon(m_hFrameIcon, FALSE);
    if (old)
        ::DestroyIcon(old);
}

void CChildFrame::OnHelpTopics() { CMainFrame::OpenHelpFile(); }

void CChildFrame::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    CMDIChildWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
    if (pPopupMenu)
        CMenuXP::ConvertMenu(this, pPopupMenu->m_hMenu, CMenuXP::IsXPWindow(this), false);
}

void CChildFrame::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMIS)
{
    if (lpMIS && lpMIS->CtlType == ODT_MENU)
        CMenuXP::OnMeasureItem(lpMIS);
    else
        CMDIChildWnd::OnMeasureItem(nIDCtl, lpMIS);
}

void CChildFrame::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDIS)
{
    if (!CMenuXP::OnDrawItem(lpDIS, m_hWnd))
        CMDIChildWnd::OnDrawItem(nIDCtl, lpDIS);
}

LRESULT CChildFrame::OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu)
{
    if (pMenu && CMenuXP::IsMenuOwnerDraw(pMenu->m_hMenu))
        return CMenuXP::OnMenuChar(pMenu->m_hMenu, nChar, nFlags);
    return Default();
}
