#include "framework/Frame.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <map>

IMPLEMENT_DYNCREATE(CFrameWnd, CObject)
IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

CFrameWnd* AfxGetParentFrame(const CWnd* pWnd)
{
    if (!pWnd)
        return nullptr;
    for (HWND h = ::GetParent(pWnd->m_hWnd); h; h = ::GetParent(h))
        if (auto* f = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(h)))
            return f;
    return nullptr;
}

// --- control bars

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CSize CControlBar::CalcFixedLayout(BOOL, BOOL)
{
    CRect rc;
    GetWindowRect(&rc);
    return CSize(rc.Width(), rc.Height());
}

CFrameWnd* CControlBar::GetParentFrame() const { return AfxGetParentFrame(this); }

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    // The bar's own frame: an MDI frame asks its active child first and
    // then itself, so the handlers of both count.
    if (IsWindowVisible())
        if (CFrameWnd* f = GetParentFrame())
            OnUpdateCmdUI(f, (BOOL)wParam);
    return 0;
}

void CControlBar::PostNcDestroy() {} // bars are members of their frame

namespace {
// Update state of one toolbar button.
class CToolCmdUI : public CCmdUI {
public:
    CToolBar* bar = nullptr;
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        bar->EnableButton(m_nID, bOn);
    }
    void SetCheck(int nCheck) override { bar->CheckButton(m_nID, nCheck != 0); }
    void SetText(LPCSTR) override {}
};
} // namespace

CToolBar::CToolBar() {}
CToolBar::~CToolBar() { DestroyWindow(); }

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect, UINT nID)
{
    m_dwStyle = dwStyle & (CBRS_ALIGN_ANY | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_GRIPPER);
    DWORD style = (dwStyle & 0xFFFF0000u & ~CBRS_GRIPPER) | dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NORESIZE |
                  CCS_NODIVIDER | WS_CHILD;
    if (dwStyle & CBRS_TOOLTIPS)
        style |= TBSTYLE_TOOLTIPS;
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEA, nullptr, style, CRect(0, 0, 100, 30), pParentWnd, nID))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    if (auto* f = dynamic_cast<CFrameWnd*>(pParentWnd))
        f->AddControlBar(this);
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    while (SendMessage(TB_BUTTONCOUNT) > 0)
        SendMessage(TB_DELETEBUTTON, 0);
    std::vector<TBBUTTON> buttons((size_t)nIDCount);
    for (int i = 0; i < nIDCount; ++i) {
        TBBUTTON& b = buttons[(size_t)i];
        b = TBBUTTON();
        b.iBitmap = i;
        b.idCommand = (int)lpIDArray[i];
        b.fsState = TBSTATE_ENABLED;
        b.fsStyle = lpIDArray[i] == ID_SEPARATOR ? BTNS_SEP : BTNS_BUTTON;
        if (lpIDArray[i] == ID_SEPARATOR)
            b.iBitmap = 6;
    }
    return (BOOL)SendMessage(TB_ADDBUTTONSA, (WPARAM)nIDCount, (LPARAM)buttons.data());
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage)
{
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(sizeImage.cx, sizeImage.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELONG(sizeButton.cx, sizeButton.cy));
}

void CToolBar::SetImageList(CImageList* p) { SendMessage(TB_SETIMAGELIST, 0, (LPARAM)p->GetSafeHandle()); }
void CToolBar::SetDisabledImageList(CImageList* p)
{
    SendMessage(TB_SETDISABLEDIMAGELIST, 0, (LPARAM)p->GetSafeHandle());
}
void CToolBar::SetHotImageList(CImageList* p) { SendMessage(TB_SETHOTIMAGELIST, 0, (LPARAM)p->GetSafeHandle()); }
int CToolBar::GetCount() const { return (int)SendMessage(TB_BUTTONCOUNT); }

UINT CToolBar::GetItemID(int nIndex) const
{
    TBBUTTON b = {};
    SendMessage(TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)&b);
    return (b.fsStyle & BTNS_SEP) ? ID_SEPARATOR : (UINT)b.idCommand;
}

BOOL CToolBar::CheckButton(UINT nID, BOOL bCheck) { return (BOOL)SendMessage(TB_CHECKBUTTON, nID, MAKELONG(bCheck, 0)); }
BOOL CToolBar::EnableButton(UINT nID, BOOL bEnable)
{
    return (BOOL)SendMessage(TB_ENABLEBUTTON, nID, MAKELONG(bEnable, 0));
}
BOOL CToolBar::IsButtonChecked(UINT nID) const { return (BOOL)SendMessage(TB_ISBUTTONCHECKED, nID); }
BOOL CToolBar::IsButtonEnabled(UINT nID) const { return (BOOL)SendMessage(TB_ISBUTTONENABLED, nID); }

CSize CToolBar::GetMaxSize() const
{
    SIZE s = {0, 0};
    SendMessage(TB_GETMAXSIZE, 0, (LPARAM)&s);
    return CSize(s.cx, s.cy);
}

void CToolBar::AutoSize()
{
    const CSize s = GetMaxSize();
    SetWindowPos(nullptr, 0, 0, s.cx + 4, s.cy + 4, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CSize CToolBar::CalcFixedLayout(BOOL, BOOL)
{
    const CSize s = GetMaxSize();
    return CSize(s.cx + 4, s.cy + 4);
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler)
{
    CToolCmdUI state;
    state.bar = this;
    const int n = GetCount();
    state.m_nIndexMax = (UINT)n;
    for (int i = 0; i < n; ++i) {
        const UINT id = GetItemID(i);
        if (id == ID_SEPARATOR)
            continue;
        state.m_nIndex = (UINT)i;
        state.m_nID = id;
        // Disabled buttons with id 0 stay as they are.
        state.DoUpdate(pTarget, bDisableIfNoHandler);
    }
}

// --- status bar

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
ON_WM_SIZE()
END_MESSAGE_MAP()

CStatusBar::CStatusBar() {}

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALIGN_ANY;
    const DWORD style = (dwStyle & 0xFFFF0000u) | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | WS_CHILD;
    if (!CWnd::CreateEx(0, STATUSCLASSNAMEA, nullptr, style, CRect(0, 0, 100, 20), pParentWnd, nID))
        return FALSE;
    if (auto* f = dynamic_cast<CFrameWnd*>(pParentWnd))
        f->AddControlBar(this);
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    if (!m_hWnd || nIDCount <= 0 || nIDCount > 255)
        return FALSE;
    m_panes.clear();
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, (HGDIOBJ)SendMessage(WM_GETFONT));
    for (int i = 0; i < nIDCount; ++i) {
        Pane p = {lpIDArray[i], i == 0 || lpIDArray[i] == ID_SEPARATOR ? (UINT)SBPS_STRETCH : 0u, 0, CString()};
        if (lpIDArray[i] != ID_SEPARATOR) {
            p.text = AfxLoadString(lpIDArray[i]);
            SIZE s = {0, 0};
            ::GetTextExtentPoint32A(dc, p.text, p.text.GetLength(), &s);
            p.width = s.cx + 8;
            p.text.Empty(); // indicators show while their key is on
        }
        m_panes.push_back(p);
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    UpdateParts();
    return TRUE;
}

UINT CStatusBar::GetItemID(int i) const { return i >= 0 && i < GetCount() ? m_panes[(size_t)i].id : 0; }

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    SendMessage(SB_GETRECT, (WPARAM)nIndex, (LPARAM)lpRect);
}

UINT CStatusBar::GetPaneStyle(int i) const { return i >= 0 && i < GetCount() ? m_panes[(size_t)i].style : 0; }

void CStatusBar::SetPaneStyle(int i, UINT nStyle)
{
    if (i < 0 || i >= GetCount())
        return;
    m_panes[(size_t)i].style = nStyle;
    ApplyText(i);
}

BOOL CStatusBar::SetPaneText(int i, LPCSTR text, BOOL bUpdate)
{
    if (i < 0 || i >= GetCount())
        return FALSE;
    if (m_panes[(size_t)i].text == (text ? text : ""))
        return TRUE;
    m_panes[(size_t)i].text = text ? text : "";
    ApplyText(i);
    if (bUpdate)
        UpdateWindow();
    return TRUE;
}

CString CStatusBar::GetPaneText(int i) const { return i >= 0 && i < GetCount() ? m_panes[(size_t)i].text : CString(); }

void CStatusBar::ApplyText(int i)
{
    const Pane& p = m_panes[(size_t)i];
    const UINT drawStyle = p.style & (SBT_NOBORDERS | SBT_POPOUT);
    SendMessage(SB_SETTEXTA, (WPARAM)(i | drawStyle), (LPARAM)p.text.GetString());
}

void CStatusBar::UpdateParts()
{
    if (!m_hWnd || m_panes.empty())
        return;
    CRect rc;
    GetClientRect(&rc);
    int fixed = 0;
    for (const Pane& p : m_panes)
        fixed += (p.style & SBPS_STRETCH) ? 0 : p.width;
    const int grip = (GetStyle() & SBARS_SIZEGRIP) ? 16 : 2;
    std::vector<int> rights;
    int x = 0;
    for (const Pane& p : m_panes) {
        x += (p.style & SBPS_STRETCH) ? std::max(0, rc.Width() - fixed - grip) : p.width;
        rights.push_back(x);
    }
    SendMessage(SB_SETPARTS, rights.size(), (LPARAM)rights.data());
    for (int i = 0; i < GetCount(); ++i)
        ApplyText(i);
}

void CStatusBar::OnSize(UINT nType, int cx, int cy)
{
    CControlBar::OnSize(nType, cx, cy);
    UpdateParts();
}

CSize CStatusBar::CalcFixedLayout(BOOL, BOOL)
{
    CRect rc;
    GetWindowRect(&rc);
    int h = rc.Height();
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, (HGDIOBJ)SendMessage(WM_GETFONT));
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(dc, &tm);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    h = std::max<int>(h, tm.tmHeight + 8);
    return CSize(32767, h);
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd*, BOOL)
{
    // The keyboard indicators show their text while their key is on.
    for (int i = 0; i < GetCount(); ++i) {
        const UINT id = m_panes[(size_t)i].id;
        int vk = id == ID_INDICATOR_CAPS ? VK_CAPITAL : id == ID_INDICATOR_NUM ? VK_NUMLOCK : id == ID_INDICATOR_SCRL ? VK_SCROLL : 0;
        if (vk)
            SetPaneText(i, (::GetKeyState(vk) & 1) ? AfxLoadString(id) : CString(), FALSE);
    }
}

// --- frame window

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_WM_INITMENUPOPUP()
ON_WM_DROPFILES()
ON_WM_SETCURSOR()
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd()
    : m_hAccelTable(nullptr), m_nIDHelp(0), m_hMenuDefault(nullptr), m_pViewActive(nullptr), m_hWndViewActive(nullptr),
      m_bInRecalcLayout(FALSE)
{
}

CFrameWnd::~CFrameWnd()
{
    if (m_hMenuDefault && (!m_hWnd || ::GetMenu(m_hWnd) != m_hMenuDefault))
        ::DestroyMenu(m_hMenuDefault);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW),
                                           (HBRUSH)(COLOR_WINDOW + 1),
                                           m_nIDHelp ? AfxGetApp()->LoadIcon(m_nIDHelp) : nullptr);
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    const CString full = AfxLoadString(nIDResource);
    const int nl = full.Find('\n');
    m_strTitle = nl < 0 ? full : full.Left(nl);
    HINSTANCE inst = AfxGetResourceHandle();
    m_hMenuDefault = ::LoadMenuA(inst, MAKEINTRESOURCEA(nIDResource));
    m_hAccelTable = ::LoadAcceleratorsA(inst, MAKEINTRESOURCEA(nIDResource));
    const DWORD style = dwDefaultStyle & ~FWS_ADDTOTITLE;
    if (!CWnd::CreateEx(0, nullptr, m_strTitle, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                        pParentWnd->GetSafeHwnd(), m_hMenuDefault, pContext))
        return FALSE;
    if (HICON icon = AfxGetApp()->LoadIcon(nIDResource)) {
        SetIcon(icon, TRUE);
        SetIcon(icon, FALSE);
    }
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    auto* ctx = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (!OnCreateClient(lpcs, ctx))
        return -1;
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (pContext && pContext->m_pNewViewClass)
        return CreateView(pContext) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    CObject* o = pContext->m_pNewViewClass->CreateObject();
    CWnd* view = dynamic_cast<CWnd*>(o);
    if (!view) {
        delete o;
        return nullptr;
    }
    CRect rc;
    GetClientRect(&rc);
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rc, this, nID, pContext))
        return nullptr; // the view went with its window
    if (auto* v = dynamic_cast<CView*>(view))
        if (!GetActiveView()) {
            m_pViewActive = v;
            m_hWndViewActive = v->m_hWnd;
        }
    return view;
}

void CFrameWnd::AddControlBar(CControlBar* pBar)
{
    if (std::find(m_bars.begin(), m_bars.end(), pBar) == m_bars.end())
        m_bars.push_back(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar)
{
    m_bars.erase(std::remove(m_bars.begin(), m_bars.end(), pBar), m_bars.end());
    m_dockPlaces.erase(std::remove_if(m_dockPlaces.begin(), m_dockPlaces.end(),
                                      [pBar](const DockPlace& p) { return p.bar == pBar; }),
                       m_dockPlaces.end());
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) const
{
    for (CControlBar* b : m_bars)
        if (b->m_hWnd && (UINT)b->GetDlgCtrlID() == nID)
            return b;
    return nullptr;
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL)
{
    pBar->ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
    RecalcLayout();
}

BOOL CFrameWnd::OnBarCheck(UINT nID)
{
    CControlBar* bar = GetControlBar(nID);
    if (!bar)
        return FALSE;
    ShowControlBar(bar, !bar->IsWindowVisible(), FALSE);
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
    CControlBar* bar = GetControlBar(pCmdUI->m_nID);
    if (!bar) {
        pCmdUI->ContinueRouting();
        return;
    }
    pCmdUI->SetCheck(bar->IsWindowVisible() ? 1 : 0);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT, LPCRECT lpRect)
{
    AddControlBar(pBar);
    m_dockPlaces.erase(std::remove_if(m_dockPlaces.begin(), m_dockPlaces.end(),
                                      [pBar](const DockPlace& p) { return p.bar == pBar; }),
                       m_dockPlaces.end());
    if (!lpRect || !m_hWnd)
        return;
    CRect wanted(*lpRect);
    ScreenToClient(&wanted);
    CRect client;
    GetClientRect(&client);
    m_dockPlaces.push_back({pBar, CPoint(wanted.left, wanted.top), wanted.right >= client.right});
}

void CFrameWnd::RepositionBars(CRect& rc)
{
    // Top bars: each docked bar goes to the row its top falls in (a new row
    // below the others when none) at its docked place, never over the bar
    // before it nor past the right edge; undocked bars follow in row 0.
    struct Row {
        int height = 0;
        int nextX = 0;
    };
    struct Placed {
        CControlBar* bar;
        size_t row;
        int x;
        CSize size;
    };
    std::vector<Row> rows;
    std::vector<Placed> placed;
    for (CControlBar* b : m_bars) {
        if (!b->m_hWnd || !b->IsWindowVisible() || !(b->GetBarStyle() & CBRS_ALIGN_TOP))
            continue;
        const CSize s = b->CalcFixedLayout(FALSE, TRUE);
        auto place = std::find_if(m_dockPlaces.begin(), m_dockPlaces.end(),
                                  [b](const DockPlace& p) { return p.bar == b; });
        size_t row = 0;
        if (place != m_dockPlaces.end()) {
            int bottom = rc.top;
            for (row = 0; row < rows.size(); ++row) {
                bottom += rows[row].height;
                if (place->wanted.y < bottom)
                    break;
            }
        }
        if (row >= rows.size()) {
            rows.resize(row + 1);
            rows[row].nextX = rc.left;
        }
        Row& r = rows[row];
        int x = r.nextX;
        if (place != m_dockPlaces.end()) {
            x = place->atRightEdge ? rc.right - s.cx : place->wanted.x;
            x = std::max(r.nextX, std::min<int>(x, rc.right - s.cx));
        }
        placed.push_back({b, row, x, s});
        r.nextX = x + s.cx;
        r.height = std::max<int>(r.height, s.cy);
    }
    std::vector<int> rowTop(rows.size(), rc.top);
    for (size_t i = 1; i < rows.size(); ++i)
        rowTop[i] = rowTop[i - 1] + rows[i - 1].height;
    for (const Placed& p : placed)
        p.bar->SetWindowPos(nullptr, p.x, rowTop[p.row], p.size.cx, p.size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    for (const Row& r : rows)
        rc.top += r.height;
    for (CControlBar* b : m_bars) {
        if (!b->m_hWnd || !b->IsWindowVisible() || !(b->GetBarStyle() & CBRS_ALIGN_BOTTOM))
            continue;
        const CSize s = b->CalcFixedLayout(TRUE, TRUE);
        rc.bottom -= s.cy;
        b->SetWindowPos(nullptr, rc.left, rc.bottom, rc.Width(), s.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
}

HWND CFrameWnd::GetPaneWindow() { return ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST); }

void CFrameWnd::RecalcLayout(BOOL)
{
    if (m_bInRecalcLayout || !m_hWnd)
        return;
    m_bInRecalcLayout = TRUE;
    CRect rc;
    GetClientRect(&rc);
    RepositionBars(rc);
    if (HWND pane = GetPaneWindow())
        ::SetWindowPos(pane, nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1)
        nCmdShow = IsIconic() ? SW_RESTORE : SW_SHOW;
    ShowWindow(nCmdShow);
    BringWindowToTop();
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CString title = m_strTitle;
    if (bAddToTitle)
        if (CDocument* doc = GetActiveDocument())
            title = doc->GetTitle() + " - " + m_strTitle;
    CString now;
    GetWindowText(now);
    if (now != title)
        SetWindowText(title);
}

void CFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt)
{
    HMENU menu = hMenuAlt ? hMenuAlt : m_hMenuDefault;
    if (menu && ::GetMenu(m_hWnd) != menu) {
        ::SetMenu(m_hWnd, menu);
        DrawMenuBar();
    }
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL)
{
    CView* old = GetActiveView();
    m_pViewActive = pViewNew;
    m_hWndViewActive = pViewNew ? pViewNew->m_hWnd : nullptr;
    CView::SetActiveView(pViewNew);
    if (old != pViewNew) {
        if (old && old->m_hWnd)
            old->OnActivateView(FALSE, pViewNew, old);
        if (pViewNew && pViewNew->m_hWnd)
            pViewNew->OnActivateView(TRUE, pViewNew, old);
    }
}

CView* CFrameWnd::GetActiveView() const
{
    // A view that went with its window leaves no dangling pointer behind.
    if (m_pViewActive && (!m_hWndViewActive || CWnd::FromHandlePermanent(m_hWndViewActive) != m_pViewActive))
        return nullptr;
    return m_pViewActive;
}

CDocument* CFrameWnd::GetActiveDocument()
{
    CView* view = GetActiveView();
    return view ? view->GetDocument() : nullptr;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The active view (and through it its document) first, then the frame,
    // then the application.
    CView* view = GetActiveView();
    if (view && view->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable)
        return ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg);
    return FALSE;
}

void CFrameWnd::OnInitMenuPopup(CMenu* pMenu, UINT, BOOL bSysMenu)
{
    if (bSysMenu || !pMenu)
        return;
    CCmdUI state;
    state.m_pMenu = pMenu;
    // The count is read afresh: an update handler may insert or remove items.
    for (state.m_nIndex = 0; state.m_nIndex < (UINT)pMenu->GetMenuItemCount(); ++state.m_nIndex) {
        state.m_nIndexMax = (UINT)pMenu->GetMenuItemCount();
        state.m_nID = pMenu->GetMenuItemID((int)state.m_nIndex);
        if (state.m_nID == 0)
            continue; // separator
        state.m_pSubMenu = nullptr;
        if (state.m_nID == (UINT)-1) {
            // A popup: it takes the state of its first item.
            CMenu* sub = pMenu->GetSubMenu((int)state.m_nIndex);
            if (!sub || (state.m_nID = sub->GetMenuItemID(0)) == 0 || state.m_nID == (UINT)-1)
                continue;
            state.m_pSubMenu = sub;
        }
        // Through this frame: an MDI frame asks its active child first and
        // then itself, so the handlers of both frames reach the menu.
        CFrameWnd* target = this;
        const UINT before = (UINT)pMenu->GetMenuItemCount();
        state.DoUpdate(target, state.m_nID < 0xF000);
        const UINT after = (UINT)pMenu->GetMenuItemCount();
        if (after > before)
            state.m_nIndex += after - before; // inserted items need no update
    }
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    if (GetStyle() & WS_CHILD)
        return 0;
    OnUpdateFrameTitle(TRUE);
    return 0;
}

void CFrameWnd::OnDropFiles(HDROP hDropInfo)
{
    SetActiveWindow();
    const UINT n = ::DragQueryFileA(hDropInfo, 0xFFFFFFFF, nullptr, 0);
    CFrameApp* app = AfxGetFrameApp();
    for (UINT i = 0; i < n && app; ++i) {
        char name[MAX_PATH];
        if (::DragQueryFileA(hDropInfo, i, name, MAX_PATH))
            app->OpenDocumentFile(name);
    }
    ::DragFinish(hDropInfo);
}

BOOL CFrameWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    CFrameApp* app = AfxGetFrameApp();
    if (app && app->IsWaitCursor()) {
        ::SetCursor(::LoadCursorA(nullptr, (LPCSTR)IDC_WAIT));
        return TRUE;
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CFrameWnd::OnClose()
{
    CFrameApp* app = AfxGetFrameApp();
    if (app && app->m_pMainWnd == this) {
        if (!app->SaveAllModified())
            return;
        app->CloseAllDocuments(FALSE);
    } else if (CDocument* doc = GetActiveDocument()) {
        if (!doc->CanCloseFrame(this))
            return;
    }
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    CWinApp* app = AfxGetApp();
    // The menu in the bar dies with the window; keep our own.
    if (m_hMenuDefault && ::GetMenu(m_hWnd) == m_hMenuDefault)
        ::SetMenu(m_hWnd, nullptr);
    CWnd::OnDestroy();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
}

void CFrameWnd::PostNcDestroy() { delete this; }

// --- MDI frame

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CMDIFrameWnd::CMDIFrameWnd() : m_hWndMDIClient(nullptr) {}

BOOL CMDIFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    return CFrameWnd::LoadFrame(nIDResource, dwDefaultStyle | WS_CLIPCHILDREN, pParentWnd, pContext);
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext*)
{
    CMenu* menu = GetMenu();
    CMenu* windowMenu = nullptr;
    if (menu && menu->m_hMenu) {
        const int n = menu->GetMenuItemCount();
        windowMenu = n > 1 ? menu->GetSubMenu(n - 2) : nullptr;
    }
    return CreateClient(lpcs, windowMenu);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT, CMenu* pWindowMenu)
{
    CLIENTCREATESTRUCT ccs = {};
    ccs.hWindowMenu = pWindowMenu ? pWindowMenu->m_hMenu : nullptr;
    ccs.idFirstChild = 0xFF00;
    m_hWndMDIClient = ::CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL |
                                            WS_HSCROLL | MDIS_ALLCHILDSTYLES,
                                        0, 0, 0, 0, m_hWnd, (HMENU)(UINT_PTR)AFX_IDW_MDICLIENT,
                                        AfxGetInstanceHandle(), &ccs);
    return m_hWndMDIClient != nullptr;
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefFrameProcA(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const
{
    BOOL max = FALSE;
    HWND h = m_hWndMDIClient ? (HWND)::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, (LPARAM)&max) : nullptr;
    if (pbMaximized)
        *pbMaximized = h ? max : FALSE;
    return dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(h));
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    CMDIChildWnd* child = MDIGetActive();
    return child ? static_cast<CFrameWnd*>(child) : this;
}

CDocument* CMDIFrameWnd::GetActiveDocument()
{
    CMDIChildWnd* child = MDIGetActive();
    return child ? child->GetActiveDocument() : nullptr;
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The active child (its view and document) comes first.
    CMDIChildWnd* child = MDIGetActive();
    if (child && child->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // The window list's items activate their child.
    const UINT id = LOWORD(wParam);
    if (!lParam && id >= 0xFF00) {
        DefWindowProc(WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    return CFrameWnd::OnCommand(wParam, lParam);
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (m_hWndMDIClient && ::TranslateMDISysAccel(m_hWndMDIClient, pMsg))
        return TRUE;
    return CFrameWnd::PreTranslateMessage(pMsg);
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt)
{
    HMENU menu = hMenuAlt ? hMenuAlt : m_hMenuDefault;
    if (!menu || !m_hWndMDIClient)
        return;
    if (::GetMenu(m_hWnd) != menu) {
        ::SendMessageA(m_hWndMDIClient, WM_MDISETMENU, (WPARAM)menu, 0);
        DrawMenuBar();
    }
}

LRESULT CMDIFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam)
{
    // With no child left the frame's own menu comes back.
    if (!MDIGetActive())
        OnUpdateFrameMenu(nullptr);
    return CFrameWnd::OnIdleUpdateCmdUI(wParam, lParam);
}

// --- MDI child

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_MESSAGE(WM_MDIACTIVATE, OnMDIActivate)
END_MESSAGE_MAP()

CMDIChildWnd::CMDIChildWnd() : m_hMenuShared(nullptr), m_pMDIFrame(nullptr) {}

namespace {
// One menu per template resource, shared by its children for the program's life.
HMENU SharedMenu(UINT id)
{
    static std::map<UINT, HMENU>* menus = new std::map<UINT, HMENU>();
    auto it = menus->find(id);
    if (it != menus->end() && ::IsMenu(it->second))
        return it->second;
    HMENU m = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id));
    (*menus)[id] = m;
    return m;
}
} // namespace

BOOL CMDIChildWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CWnd* pParentWnd, UINT, CCreateContext* pContext)
{
    m_pMDIFrame = dynamic_cast<CMDIFrameWnd*>(pParentWnd);
    if (!m_pMDIFrame)
        m_pMDIFrame = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
    if (!m_pMDIFrame || !m_pMDIFrame->m_hWndMDIClient) {
        PostNcDestroy();
        return FALSE;
    }
    UINT resId = pContext && pContext->m_pNewDocTemplate ? pContext->m_pNewDocTemplate->m_nIDResource : 0;
    m_nIDHelp = resId;
    if (resId) {
        m_hMenuShared = SharedMenu(resId);
        m_hAccelTable = ::LoadAcceleratorsA(AfxGetResourceHandle(), MAKEINTRESOURCEA(resId));
    }
    CREATESTRUCTA cs = {};
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = (dwStyle & ~(WS_CHILD | WS_VISIBLE)) | WS_CHILD | WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
    (void)rect;
    cs.hwndParent = m_pMDIFrame->m_hWndMDIClient;
    cs.hInstance = AfxGetInstanceHandle();
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    MDICREATESTRUCTA mcs = {};
    mcs.szClass = cs.lpszClass;
    mcs.szTitle = cs.lpszName;
    mcs.hOwner = cs.hInstance;
    mcs.x = cs.x;
    mcs.y = cs.y;
    mcs.cx = cs.cx;
    mcs.cy = cs.cy;
    mcs.style = cs.style & ~(WS_MAXIMIZE | WS_VISIBLE);
    mcs.lParam = (LPARAM)pContext;
    AfxHookWindowCreate(this);
    HWND h = (HWND)::SendMessageA(m_pMDIFrame->m_hWndMDIClient, WM_MDICREATE, 0, (LPARAM)&mcs);
    if (!AfxUnhookWindowCreate()) {
        PostNcDestroy();
        return FALSE;
    }
    if (!h)
        return FALSE; // destroyed (and deleted) while being created
    // The template only shows its frame: activating it is the frame's part.
    if (cs.style & WS_VISIBLE)
        ActivateFrame();
    RecalcLayout();
    return TRUE;
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    auto* mcs = static_cast<MDICREATESTRUCTA*>(lpcs->lpCreateParams);
    CREATESTRUCTA copy = *lpcs;
    copy.lpCreateParams = mcs ? (LPVOID)mcs->lParam : nullptr;
    if (CWnd::OnCreate(&copy) == -1)
        return -1;
    return OnCreateClient(&copy, static_cast<CCreateContext*>(copy.lpCreateParams)) ? 0 : -1;
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefMDIChildProcA(m_hWnd, message, wParam, lParam);
}

BOOL CMDIChildWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    if (m_pMDIFrame && m_pMDIFrame->m_hWndMDIClient && ::IsWindow(m_pMDIFrame->m_hWndMDIClient)) {
        ::SendMessageA(m_pMDIFrame->m_hWndMDIClient, WM_MDIDESTROY, (WPARAM)m_hWnd, 0);
        return TRUE;
    }
    return CWnd::DestroyWindow();
}

void CMDIChildWnd::OnClose()
{
    if (CDocument* doc = GetActiveDocument()) {
        if (!doc->CanCloseFrame(this))
            return;
        // The document's close takes its views, and maybe this frame, with it.
        if (doc->GetViewCount() <= 1) {
            const HWND self = m_hWnd;
            doc->OnCloseDocument();
            if (::IsWindow(self) && CWnd::FromHandlePermanent(self) == this)
                DestroyWindow();
            return;
        }
    }
    DestroyWindow();
}

void CMDIChildWnd::OnDestroy()
{
    if (CView::GetActiveView() && ::IsChild(m_hWnd, CView::GetActiveView()->m_hWnd))
        CView::SetActiveView(nullptr);
    m_pViewActive = nullptr;
    m_hWndViewActive = nullptr;
    CWnd::OnDestroy();
}

void CMDIChildWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CMDIChildWnd::ActivateFrame(int nCmdShow)
{
    BOOL maximized = FALSE;
    CMDIChildWnd* active = m_pMDIFrame ? m_pMDIFrame->MDIGetActive(&maximized) : nullptr;
    if (nCmdShow == -1)
        nCmdShow = maximized ? SW_SHOWMAXIMIZED : SW_SHOW;
    if (nCmdShow == SW_SHOWMAXIMIZED)
        MDIMaximize();
    else
        ShowWindow(nCmdShow);
    if (active != this)
        MDIActivate();
    RecalcLayout();
}

void CMDIChildWnd::MDIActivate()
{
    if (m_pMDIFrame)
        ::SendMessageA(m_pMDIFrame->m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)m_hWnd, 0);
}

void CMDIChildWnd::MDIMaximize()
{
    if (m_pMDIFrame)
        ::SendMessageA(m_pMDIFrame->m_hWndMDIClient, WM_MDIMAXIMIZE, (WPARAM)m_hWnd, 0);
}

LRESULT CMDIChildWnd::OnMDIActivate(WPARAM wParam, LPARAM lParam)
{
    Default();
    const BOOL activating = (HWND)lParam == m_hWnd;
    if (activating && GetActiveView())
        CView::SetActiveView(GetActiveView());
    // Deactivated with no successor: the frame's own menu returns at idle.
    if (activating || !lParam)
        OnUpdateFrameMenu(activating, CWnd::FromHandle((HWND)lParam), nullptr);
    (void)wParam;
    return 0;
}

void CMDIChildWnd::OnUpdateFrameMenu(BOOL bActivate, CWnd*, HMENU hMenuAlt)
{
    if (!m_pMDIFrame)
        return;
    if (bActivate)
        m_pMDIFrame->OnUpdateFrameMenu(hMenuAlt ? hMenuAlt : m_hMenuShared);
    else
        m_pMDIFrame->OnUpdateFrameMenu(nullptr);
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable && m_pMDIFrame)
        return ::TranslateAcceleratorA(m_pMDIFrame->m_hWnd, m_hAccelTable, pMsg);
    return FALSE;
}

// --- command line

void CCommandLineInfo::ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL)
{
    if (bFlag) {
        if (lstrcmpiA(pszParam, "p") == 0)
            m_nShellCommand = FilePrint;
        else if (lstrcmpiA(pszParam, "nologo") == 0)
            m_bShowSplash = FALSE;
        return;
    }
    if (m_strFileName.IsEmpty()) {
        m_strFileName = pszParam;
        if (m_nShellCommand == FileNew)
            m_nShellCommand = FileOpen;
    }
}

// --- recent files

void CRecentFileList::Add(LPCSTR lpszPathName)
{
    char full[MAX_PATH];
    if (!::GetFullPathNameA(lpszPathName, MAX_PATH, full, nullptr))
        lstrcpynA(full, lpszPathName, MAX_PATH);
    for (size_t i = 0; i < m_files.size(); ++i)
        if (m_files[i].CompareNoCase(full) == 0) {
            m_files.erase(m_files.begin() + (long)i);
            break;
        }
    m_files.insert(m_files.begin(), CString(full));
    if ((int)m_files.size() > m_nSize)
        m_files.resize((size_t)m_nSize);
}

void CRecentFileList::Remove(int i)
{
    if (i >= 0 && i < GetSize())
        m_files.erase(m_files.begin() + i);
}

void CRecentFileList::ReadList()
{
    m_files.clear();
    CWinApp* app = AfxGetApp();
    for (int i = 0; i < m_nSize && app; ++i) {
        char key[16];
        wsprintfA(key, "File%d", i + 1);
        CString f = app->GetProfileString("Recent File List", key, "");
        if (!f.IsEmpty())
            m_files.push_back(f);
    }
}

void CRecentFileList::WriteList()
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    app->WriteProfileString("Recent File List", nullptr, nullptr);
    for (int i = 0; i < GetSize(); ++i) {
        char key[16];
        wsprintfA(key, "File%d", i + 1);
        app->WriteProfileString("Recent File List", key, m_files[(size_t)i]);
    }
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI)
{
    CMenu* menu = pCmdUI->m_pMenu;
    if (!menu || pCmdUI->m_pSubMenu)
        return;
    // Remove what an earlier opening inserted, keep the placeholder's place.
    const UINT first = pCmdUI->m_nIndex;
    for (int id = ID_FILE_MRU_FILE1; id < ID_FILE_MRU_FILE1 + m_nSize; ++id)
        menu->DeleteMenu((UINT)id, MF_BYCOMMAND);
    if (m_files.empty()) {
        CString text = AfxLoadString(ID_FILE_MRU_FILE1);
        menu->InsertMenu(first, MF_BYPOSITION | MF_STRING | MF_GRAYED, ID_FILE_MRU_FILE1,
                         text.IsEmpty() ? "Recent File" : text.GetString());
        return;
    }
    for (int i = 0; i < GetSize(); ++i) {
        CString name = m_files[(size_t)i];
        const int slash = std::max(name.ReverseFind('\\'), name.ReverseFind('/'));
        if (slash >= 0)
            name = name.Mid(slash + 1);
        CString text;
        text.Format("&%d %s", i + 1, name.GetString());
        menu->InsertMenu(first + (UINT)i, MF_BYPOSITION | MF_STRING, (UINT_PTR)(ID_FILE_MRU_FILE1 + i), text);
    }
    pCmdUI->m_nIndex = first + (UINT)GetSize() - 1;
    pCmdUI->m_bEnableChanged = TRUE;
}

// --- application with documents

namespace {
CFrameApp* g_frameApp = nullptr;
}

CFrameApp* AfxGetFrameApp() { return g_frameApp; }

BEGIN_MESSAGE_MAP(CFrameApp, CWinApp)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
ON_COMMAND_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE4, OnOpenRecentFile)
ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
END_MESSAGE_MAP()

CFrameApp::CFrameApp(LPCSTR lpszAppName)
    : CWinApp(lpszAppName), m_pRecentFileList(nullptr), m_nWaitCursorCount(0), m_bShellOpen(FALSE)
{
    g_frameApp = this;
}

CFrameApp::~CFrameApp()
{
    delete m_pRecentFileList;
    AfxSetDocManager(nullptr); // the templates go with the application
    if (g_frameApp == this)
        g_frameApp = nullptr;
}

void CFrameApp::AddDocTemplate(CDocTemplate* pTemplate) { AfxGetDocManager()->AddDocTemplate(pTemplate); }
POSITION CFrameApp::GetFirstDocTemplatePosition() const { return AfxGetDocManager()->GetFirstDocTemplatePosition(); }
CDocTemplate* CFrameApp::GetNextDocTemplate(POSITION& pos) const { return AfxGetDocManager()->GetNextDocTemplate(pos); }

void CFrameApp::OnFileNew() { AfxGetDocManager()->OnFileNew(); }

void CFrameApp::OnFileOpen()
{
    CString name;
    if (!AfxGetDocManager()->DoPromptFileName(name, "Open", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, nullptr))
        return;
    OpenDocumentFile(name);
}

CDocument* CFrameApp::OpenDocumentFile(LPCSTR lpszFileName)
{
    DoWaitCursor(1);
    CDocument* doc = AfxGetDocManager()->OpenDocumentFile(lpszFileName);
    DoWaitCursor(-1);
    if (doc && lpszFileName && *lpszFileName)
        AddToRecentFileList(lpszFileName);
    return doc;
}

void CFrameApp::AddToRecentFileList(LPCSTR lpszPathName)
{
    if (m_pRecentFileList) {
        m_pRecentFileList->Add(lpszPathName);
        m_pRecentFileList->WriteList();
    }
}

void CFrameApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (nMaxMRU) {
        m_pRecentFileList = new CRecentFileList((int)std::min(nMaxMRU, 4u));
        m_pRecentFileList->ReadList();
    }
}

void CFrameApp::OnOpenRecentFile(UINT nID)
{
    if (!m_pRecentFileList)
        return;
    const int i = (int)(nID - ID_FILE_MRU_FILE1);
    if (i < 0 || i >= m_pRecentFileList->GetSize())
        return;
    const CString path = (*m_pRecentFileList)[i];
    if (!OpenDocumentFile(path)) {
        m_pRecentFileList->Remove(i);
        m_pRecentFileList->WriteList();
    }
}

void CFrameApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI)
{
    if (!m_pRecentFileList)
        pCmdUI->Enable(FALSE);
    else
        m_pRecentFileList->UpdateMenu(pCmdUI);
}

void CFrameApp::OnAppExit()
{
    if (m_pMainWnd && m_pMainWnd->m_hWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

void CFrameApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    for (int i = 1; i < __argc; ++i) {
        const char* p = __argv[i];
        const BOOL flag = p[0] == '-' || p[0] == '/';
        rCmdInfo.ParseParam(flag ? p + 1 : p, flag, i == __argc - 1);
    }
}

BOOL CFrameApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr);
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    default:
        return TRUE;
    }
}

namespace {
// Writes a class key's default value unless it already holds it; true when
// it wrote.
bool SetClassKey(const CString& key, const CString& value)
{
    char old[1024];
    LONG size = sizeof old;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, key, old, &size) == ERROR_SUCCESS && value == old)
        return false;
    HKEY h;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return false;
    const bool written =
        RegSetValueExA(h, nullptr, 0, REG_SZ, (const BYTE*)value.GetString(), (DWORD)value.GetLength() + 1) ==
        ERROR_SUCCESS;
    RegCloseKey(h);
    return written;
}
} // namespace

bool CFrameApp::RegisterShellFileTypes(BOOL)
{
    char exe[MAX_PATH];
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    bool changed = false;
    POSITION pos = GetFirstDocTemplatePosition();
    while (pos) {
        CDocTemplate* t = GetNextDocTemplate(pos);
        CString id, name, ext;
        if (!t->GetDocString(id, CDocTemplate::regFileTypeId) || id.IsEmpty())
            continue;
        t->GetDocString(name, CDocTemplate::regFileTypeName);
        t->GetDocString(ext, CDocTemplate::filterExt);
        changed |= SetClassKey(id, name);
        changed |= SetClassKey(id + "\\DefaultIcon", CString(exe) + ",1");
        if (m_bShellOpen)
            changed |= SetClassKey(id + "\\shell\\open\\command", CString("\"") + exe + "\" \"%1\"");
        if (!ext.IsEmpty())
            changed |= SetClassKey(ext, id);
    }
    return changed;
}

void CFrameApp::DoWaitCursor(int nCode)
{
    m_nWaitCursorCount += nCode;
    if (m_nWaitCursorCount < 0)
        m_nWaitCursorCount = 0;
    ::SetCursor(::LoadCursorA(nullptr, m_nWaitCursorCount > 0 ? (LPCSTR)IDC_WAIT : (LPCSTR)IDC_ARROW));
}

BOOL CFrameApp::SaveAllModified() { return AfxGetDocManager()->SaveAllModified(); }
void CFrameApp::CloseAllDocuments(BOOL bEndSession) { AfxGetDocManager()->CloseAllDocuments(bEndSession); }

int CFrameApp::ExitInstance()
{
    if (m_pRecentFileList)
        m_pRecentFileList->WriteList();
    return CWinApp::ExitInstance();
}
