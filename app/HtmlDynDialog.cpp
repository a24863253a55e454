#include "app/HtmlDynDialog.h"

#include <map>

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

namespace {
std::map<UINT_PTR, CHtmlDynDialog*>& Watches()
{
    static std::map<UINT_PTR, CHtmlDynDialog*> watches;
    return watches;
}
} // namespace

CHtmlDynDialog::~CHtmlDynDialog() { StopWatch(); }

bool CHtmlDynDialog::Navigate(const CString& path)
{
    // A missing file would show the browser's error page, not ours.
    m_navigated = m_pView && ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES && m_pView->Navigate(path);
    StopWatch();
    if (!m_pageHandler && !m_showWhenShown)
        return m_navigated;
    m_watchStart = ::GetTickCount();
    m_watchTimer = ::SetTimer(nullptr, 0, 100, &CHtmlDynDialog::OnPageTimer);
    if (m_watchTimer)
        Watches()[m_watchTimer] = this;
    return m_navigated;
}

bool CHtmlDynDialog::IsPageShown() const
{
    IWebBrowser2* browser = m_navigated && m_pView ? m_pView->GetBrowser() : nullptr;
    if (!browser)
        return false;
    READYSTATE state = READYSTATE_UNINITIALIZED;
    IDispatch* document = nullptr;
    const bool complete = SUCCEEDED(browser->get_ReadyState(&state)) && state == READYSTATE_COMPLETE &&
                          SUCCEEDED(browser->get_Document(&document)) && document;
    if (document)
        document->Release();
    return complete;
}

void CHtmlDynDialog::StopWatch()
{
    if (!m_watchTimer)
        return;
    ::KillTimer(nullptr, m_watchTimer);
    Watches().erase(m_watchTimer);
    m_watchTimer = 0;
}

void CALLBACK CHtmlDynDialog::OnPageTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    auto it = Watches().find(id);
    if (it == Watches().end()) {
        ::KillTimer(nullptr, id);
        return;
    }
    CHtmlDynDialog* dialog = it->second;
    const bool shown = dialog->IsPageShown();
    if (!shown && dialog->m_navigated && ::GetTickCount() - dialog->m_watchStart < (DWORD)kPageTimeoutMs)
        return;
    dialog->StopWatch();
    if (shown && dialog->m_showWhenShown && dialog->m_hWnd)
        dialog->ShowWindow(SW_SHOWNOACTIVATE);
    dialog->m_showWhenShown = false;
    const PageHandler handler = dialog->m_pageHandler;
    dialog->m_pageHandler = nullptr;
    if (handler)
        handler(dialog->m_pageContext, shown);
}

void CHtmlDynDialog::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (m_pView && m_pView->m_hWnd)
        m_pView->MoveWindow(0, 0, cx, cy);
}
