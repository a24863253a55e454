#include "framework/DocView.h"

#include "framework/Gdi.h"

// The window class carries no class record of its own.
IMPLEMENT_DYNAMIC(CView, CObject)

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_MOUSEACTIVATE()
    ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
END_MESSAGE_MAP()

namespace {
CView* g_activeView = nullptr;
}

CView::CView() : m_pDocument(nullptr) {}

CView::~CView()
{
    if (g_activeView == this)
        g_activeView = nullptr;
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

void CView::OnPrepareDC(CDC*) {}

void CView::OnActivateView(BOOL bActivate, CView*, CView*)
{
    if (bActivate && m_hWnd && ::GetFocus() != m_hWnd && !::IsChild(m_hWnd, ::GetFocus()))
        ::SetFocus(m_hWnd);
}

CView* CView::GetActiveView() { return g_activeView; }

void CView::SetActiveView(CView* pView)
{
    CView* old = g_activeView;
    if (old == pView)
        return;
    g_activeView = pView;
    if (old)
        old->OnActivateView(FALSE, pView, old);
    if (pView)
        pView->OnActivateView(TRUE, pView, old);
}

BOOL CView::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    return CWnd::PreCreateWindow(cs);
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

int CView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    // The context comes from the frame (or the template) creating the view.
    auto* ctx = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (ctx && ctx->m_pCurrentDoc)
        ctx->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnDestroy()
{
    if (g_activeView == this)
        g_activeView = nullptr;
    CWnd::OnDestroy();
}

void CView::PostNcDestroy()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
    delete this;
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    const int r = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (r == MA_NOACTIVATE || r == MA_NOACTIVATEANDEAT)
        return r;
    SetActiveView(this);
    return r;
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM)
{
    OnInitialUpdate();
    return 0;
}

// Scrolling view.

IMPLEMENT_DYNAMIC(CScrollView, CView)

BEGIN_MESSAGE_MAP(CScrollView, CView)
    ON_WM_SIZE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

CScrollView::CScrollView() : m_nMapMode(MM_TEXT) {}

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, SIZE sizePage, SIZE sizeLine)
{
    m_nMapMode = nMapMode;
    m_totalLog = CSize(sizeTotal.cx < 0 ? 0 : sizeTotal.cx, sizeTotal.cy < 0 ? 0 : sizeTotal.cy);
    m_pageDev = CSize(sizePage.cx ? sizePage.cx : m_totalLog.cx / 10, sizePage.cy ? sizePage.cy : m_totalLog.cy / 10);
    m_lineDev = CSize(sizeLine.cx ? sizeLine.cx : m_pageDev.cx / 10, sizeLine.cy ? sizeLine.cy : m_pageDev.cy / 10);
    if (m_lineDev.cx < 1)
        m_lineDev.cx = 1;
    if (m_lineDev.cy < 1)
        m_lineDev.cy = 1;
    if (m_hWnd)
        UpdateBars();
}

CPoint CScrollView::GetScrollPosition() const { return m_pos; }

void CScrollView::ScrollToPosition(POINT pt)
{
    ScrollBy(SB_HORZ, pt.x);
    ScrollBy(SB_VERT, pt.y);
}

void CScrollView::OnPrepareDC(CDC* pDC)
{
    pDC->SetMapMode(m_nMapMode);
    pDC->SetViewportOrg(-m_pos.x, -m_pos.y);
    CView::OnPrepareDC(pDC);
}

void CScrollView::UpdateBars()
{
    RECT rc;
    GetClientRect(&rc);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    const int total[2] = {m_totalLog.cx, m_totalLog.cy};
    const int client[2] = {w, h};
    for (int bar = SB_HORZ; bar <= SB_VERT; ++bar) {
        SCROLLINFO si = {};
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMin = 0;
        si.nMax = total[bar] > 0 ? total[bar] - 1 : 0;
        si.nPage = static_cast<UINT>(client[bar] > 0 ? client[bar] : 0);
        const int maxPos = total[bar] - client[bar] > 0 ? total[bar] - client[bar] : 0;
        LONG& pos = bar == SB_HORZ ? m_pos.x : m_pos.y;
        if (pos > maxPos)
            pos = maxPos;
        si.nPos = pos;
        SetScrollInfo(bar, &si, TRUE);
    }
}

void CScrollView::ScrollBy(int bar, int newPos)
{
    RECT rc = {};
    if (m_hWnd)
        GetClientRect(&rc);
    const int total = bar == SB_HORZ ? m_totalLog.cx : m_totalLog.cy;
    const int client = bar == SB_HORZ ? rc.right - rc.left : rc.bottom - rc.top;
    const int maxPos = total - client > 0 ? total - client : 0;
    if (newPos > maxPos)
        newPos = maxPos;
    if (newPos < 0)
        newPos = 0;
    LONG& pos = bar == SB_HORZ ? m_pos.x : m_pos.y;
    const int delta = pos - newPos;
    if (!delta)
        return;
    pos = newPos;
    if (m_hWnd) {
        SetScrollPos(bar, newPos, TRUE);
        if (bar == SB_HORZ)
            ScrollWindow(delta, 0);
        else
            ScrollWindow(0, delta);
    }
}

void CScrollView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    UpdateBars();
}

namespace {
int NewScrollPos(UINT code, UINT thumb, int pos, int line, int page)
{
    switch (code) {
    case SB_LINEUP: return pos - line;
    case SB_LINEDOWN: return pos + line;
    case SB_PAGEUP: return pos - page;
    case SB_PAGEDOWN: return pos + page;
    case SB_TOP: return 0;
    case SB_BOTTOM: return 0x3FFFFFFF;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return static_cast<int>(thumb);
    default: return pos;
    }
}
} // namespace

void CScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_TRACKPOS;
    if ((nSBCode == SB_THUMBTRACK || nSBCode == SB_THUMBPOSITION) && GetScrollInfo(SB_HORZ, &si, SIF_TRACKPOS))
        nPos = static_cast<UINT>(si.nTrackPos); // beyond 16 bits
    ScrollBy(SB_HORZ, NewScrollPos(nSBCode, nPos, m_pos.x, m_lineDev.cx, m_pageDev.cx));
}

void CScrollView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_TRACKPOS;
    if ((nSBCode == SB_THUMBTRACK || nSBCode == SB_THUMBPOSITION) && GetScrollInfo(SB_VERT, &si, SIF_TRACKPOS))
        nPos = static_cast<UINT>(si.nTrackPos);
    ScrollBy(SB_VERT, NewScrollPos(nSBCode, nPos, m_pos.y, m_lineDev.cy, m_pageDev.cy));
}

BOOL CScrollView::OnMouseWheel(UINT, short zDelta, CPoint)
{
    ScrollBy(SB_VERT, m_pos.y - zDelta / WHEEL_DELTA * 3 * m_lineDev.cy);
    return TRUE;
}
