#include "framework/Dialog.h"

#include <algorithm>
#include <vector>

#include "framework/App.h"

INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

CDialog::CDialog() : m_lpszTemplateName(nullptr), m_pParentWnd(nullptr), m_hTemplateInstance(nullptr) {}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_pParentWnd(pParentWnd), m_hTemplateInstance(nullptr)
{
}

CDialog::CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd), m_hTemplateInstance(nullptr)
{
}

CDialog::~CDialog()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

LPCDLGTEMPLATEA CDialog::LoadTemplate(HINSTANCE& hInst) const
{
    hInst = m_hTemplateInstance ? m_hTemplateInstance : AfxGetResourceHandle();
    if (!m_lpszTemplateName)
        return nullptr;
    HRSRC res = ::FindResourceA(hInst, m_lpszTemplateName, (LPCSTR)RT_DIALOG);
    HGLOBAL data = res ? ::LoadResource(hInst, res) : nullptr;
    return data ? (LPCDLGTEMPLATEA)::LockResource(data) : nullptr;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) { return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd); }

BOOL CDialog::Create(LPCSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    HINSTANCE hInst;
    LPCDLGTEMPLATEA tmpl = LoadTemplate(hInst);
    if (!tmpl)
        return FALSE;
    return CreateIndirect(tmpl, m_pParentWnd, hInst);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst)
{
    if (!hInst)
        hInst = AfxGetResourceHandle();
    AfxHookWindowCreate(this);
    HWND h = ::CreateDialogIndirectParamA(hInst, lpDialogTemplate, pParentWnd->GetSafeHwnd(), &AfxDlgProc, 0);
    if (!AfxUnhookWindowCreate())
        PostNcDestroy();
    return h != nullptr && m_hWnd == h;
}

HWND CDialog::PreModal()
{
    HWND h = m_pParentWnd->GetSafeHwnd();
    if (!h) {
        CWnd* main = AfxGetMainWnd();
        h = main && main->GetSafeHwnd() ? main->m_hWnd : ::GetActiveWindow();
    }
    return AfxGetSafeOwner(CWnd::FromHandle(h));
}

INT_PTR CDialog::DoModal()
{
    HINSTANCE hInst;
    LPCDLGTEMPLATEA tmpl = LoadTemplate(hInst);
    if (!tmpl)
        return -1;
    HWND hOwner = PreModal();
    CModalHold hold(hOwner);
    BOOL enableOwner = FALSE;
    if (hOwner && hOwner != ::GetDesktopWindow() && ::IsWindowEnabled(hOwner)) {
        ::EnableWindow(hOwner, FALSE);
        enableOwner = TRUE;
    }
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    if (CreateIndirect(tmpl, CWnd::FromHandle(hOwner), hInst)) {
        // EndDialog inside OnInitDialog ends it before the loop starts.
        if (m_nFlags & WF_CONTINUEMODAL) {
            DWORD flags = MLF_SHOWONIDLE;
            if (GetStyle() & DS_NOIDLEMSG)
                flags |= MLF_NOIDLEMSG;
            RunModalLoop(flags);
        }
    }
    m_nFlags &= ~(WF_CONTINUEMODAL | WF_MODALLOOP);
    // The owner comes back before the box goes, so that it gets activated.
    if (enableOwner)
        ::EnableWindow(hOwner, TRUE);
    if (m_hWnd) {
        if (hOwner && ::GetActiveWindow() == m_hWnd)
            ::SetActiveWindow(hOwner);
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        DestroyWindow();
    }
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nResult);
    else if (m_hWnd)
        ::EndDialog(m_hWnd, nResult); // modeless: hides it
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    RECT before = {};
    ::GetWindowRect(m_hWnd, &before);
    const LRESULT result = OnInitDialog();
    // A modal box that did not place itself sits centred over the main
    // window, where the user looks (the template's place is relative to
    // whichever window owns it).
    RECT after = {};
    if ((m_nFlags & WF_CONTINUEMODAL) && ::IsWindow(m_hWnd) && ::GetWindowRect(m_hWnd, &after) &&
        after.left == before.left && after.top == before.top) {
        AfxCentreOverMainWindow(m_hWnd);
    }
    return result;
}

void AfxCentreOverMainWindow(HWND hBox)
{
    CWnd* box = CWnd::FromHandle(hBox);
    CWnd* main = AfxGetMainWnd();
    const bool overMain = main && main->m_hWnd && main->m_hWnd != hBox && ::IsWindowVisible(main->m_hWnd) &&
                          !::IsIconic(main->m_hWnd);
    box->CenterWindow(overMain ? main : nullptr);
}

namespace {
const char kCentredProp[] = "QuorvaCentred";
thread_local int t_centreDepth = 0;
thread_local HHOOK t_centreHook = nullptr;

LRESULT CALLBACK CentreBoxHook(int code, WPARAM wParam, LPARAM lParam)
{
    HWND w = (HWND)wParam;
    // Only boxes made while the guard lives: windows that exist already
    // (the panel that owns a box, activated again when it closes) stay put.
    if (code == HCBT_CREATEWND) {
        ::SetPropA(w, kCentredProp, (HANDLE)1);
    } else if (code == HCBT_ACTIVATE && ::GetPropA(w, kCentredProp) == (HANDLE)1) {
        ::SetPropA(w, kCentredProp, (HANDLE)2);
        char cls[16] = "";
        ::GetClassNameA(w, cls, sizeof cls);
        if (lstrcmpA(cls, "#32770") == 0 && !(::GetWindowLongA(w, GWL_STYLE) & WS_CHILD))
            AfxCentreOverMainWindow(w);
    } else if (code == HCBT_DESTROYWND) {
        ::RemovePropA(w, kCentredProp);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
} // namespace

CSystemBoxGuard::CSystemBoxGuard(HWND boxOwner) : m_hold(boxOwner)
{
    // Nested guards share the thread's one hook.
    if (t_centreDepth++ == 0)
        t_centreHook = ::SetWindowsHookExA(WH_CBT, &CentreBoxHook, nullptr, ::GetCurrentThreadId());
}

CSystemBoxGuard::~CSystemBoxGuard()
{
    if (--t_centreDepth == 0 && t_centreHook) {
        ::UnhookWindowsHookEx(t_centreHook);
        t_centreHook = nullptr;
    }
}

namespace {
struct HoldState {
    std::vector<HWND> tools; // registered tool windows
    std::vector<HWND> held;  // what the outermost hold disabled
    int depth = 0;
    HWND active = nullptr;   // the active window when it began
    HWND focus = nullptr;    // the window that had the keyboard then
};
HoldState& Hold()
{
    static HoldState s;
    return s;
}
void HoldOne(HoldState& s, HWND w, HWND boxOwner)
{
    if (w && w != boxOwner && ::IsWindow(w) && ::IsWindowEnabled(w)) {
        ::EnableWindow(w, FALSE);
        s.held.push_back(w);
    }
}
} // namespace

CModalHold::CModalHold(HWND boxOwner)
{
    HoldState& s = Hold();
    if (s.depth++ > 0)
        return;
    s.active = ::GetActiveWindow();
    s.focus = ::GetFocus();
    // The system makes the top-level window of a child owner own the box.
    if (boxOwner && (::GetWindowLongA(boxOwner, GWL_STYLE) & WS_CHILD))
        boxOwner = ::GetAncestor(boxOwner, GA_ROOT);
    CWnd* main = AfxGetMainWnd();
    HoldOne(s, main ? main->m_hWnd : nullptr, boxOwner);
    for (HWND w : s.tools)
        HoldOne(s, w, boxOwner);
}

CModalHold::~CModalHold()
{
    HoldState& s = Hold();
    if (--s.depth > 0)
        return;
    for (HWND w : s.held)
        if (::IsWindow(w))
            ::EnableWindow(w, TRUE);
    s.held.clear();
    // A box without an owner leaves nobody active when it goes: the
    // activation returns to where it was.
    if (!::GetActiveWindow() && s.active && ::IsWindow(s.active) && ::IsWindowVisible(s.active) &&
        ::IsWindowEnabled(s.active))
        ::SetActiveWindow(s.active);
    s.active = nullptr;
    // The keyboard goes back where it was (a text box the user typed in),
    // not to the window that activation hands it to.
    HWND focus = s.focus;
    s.focus = nullptr;
    if (focus && ::IsWindow(focus) && ::IsWindowVisible(focus) && ::IsWindowEnabled(focus) &&
        ::GetActiveWindow() == ::GetAncestor(focus, GA_ROOT) && ::GetFocus() != focus)
        ::SetFocus(focus);
}

void AfxHoldWhileModal(HWND wnd, bool hold)
{
    HoldState& s = Hold();
    auto drop = [wnd](std::vector<HWND>& v) { v.erase(std::remove(v.begin(), v.end(), wnd), v.end()); };
    drop(s.tools);
    drop(s.held);
    if (!hold || !wnd)
        return;
    s.tools.push_back(wnd);
    // Made while a box is up: held at once.
    if (s.depth > 0)
        HoldOne(s, wnd, nullptr);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (!m_hWnd)
        return FALSE;
    bool input = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                 (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
    if (!input)
        return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))
        return FALSE;
    // Tab, arrows, Enter and Escape as dialogs take them.
    return ::IsDialogMessageA(m_hWnd, pMsg);
}
