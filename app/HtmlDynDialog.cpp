#include "app/HtmlDynDialog.h"

#include "resources/resource.h"

IMPLEMENT_DYNCREATE(CHtmlDynView, CHtmlView)

BEGIN_MESSAGE_MAP(CHtmlDynView, CHtmlView)
ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

int CHtmlDynView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    return CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

BEGIN_MESSAGE_MAP(CHtmlDynDialog, CDialog)
ON_WM_SIZE()
END_MESSAGE_MAP()

CHtmlDynDialog::CHtmlDynDialog(CWnd* pParent)
    : CDialog(IDD_QUICK_START, pParent), m_browserReady(0), m_pView(nullptr), m_page("TutorialStart.html")
{
}

BOOL CHtmlDynDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_browserReady = 1;
    CObject* object = RUNTIME_CLASS(CHtmlDynView)->CreateObject();
    auto* view = dynamic_cast<CHtmlDynView*>(object);
    CRect rc;
    GetClientRect(&rc);
    // A view whose window fails has already deleted itself.
    if (view && view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rc, this, AFX_IDW_PANE_FIRST, nullptr)) {
        m_pView = view;
        m_pView->MoveWindow(&rc);
        m_pView->Navigate(m_page);
    } else {
        if (!view)
            delete object;
        m_browserReady = 0;
    }
    return TRUE;
}

bool CHtmlDynDialog::Navigate(const CString& path) { return m_pView && m_pView->Navigate(path); }

void CHtmlDynDialog::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (m_pView && m_pView->m_hWnd)
        m_pView->MoveWindow(0, 0, cx, cy);
}
