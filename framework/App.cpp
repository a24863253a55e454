#include "framework/App.h"

#include <cstdlib>
#include <cstring>
#include <objbase.h>
#include <ole2.h>

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/DocView.h"
#include "framework/Gdi.h"
#include "framework/HandleMap.h"
#include "framework/Menu.h"

namespace {
CWinApp* g_pApp = nullptr;
HINSTANCE g_hResource = nullptr;

char* Dup(const char* s) { return s ? _strdup(s) : nullptr; }

// Command-UI of the bars and frames under a window. A view holds no bars:
// its children (a lyric edit per row of the song) are passed over, so idle
// time does not grow with the song.
void SendIdleUpdate(HWND parent)
{
    for (HWND child = ::GetTopWindow(parent); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        CWnd* p = CWnd::FromHandlePermanent(child);
        if (p)
            AfxCallWndProc(p, child, WM_IDLEUPDATECMDUI, TRUE, 0);
        if (!dynamic_cast<CView*>(p))
            SendIdleUpdate(child);
    }
}

void FreeStr(LPCSTR& s)
{
    free((void*)s);
    s = nullptr;
}
} // namespace

// --- message loop of CWinThread

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::ExitInstance() { return (int)m_msgCur.wParam; }

CWnd* CWinThread::GetMainWnd() { return m_pMainWnd; }

BOOL CWinThread::PumpMessage()
{
    if (!::GetMessageA(&m_msgCur, nullptr, 0, 0))
        return FALSE;
    if (m_msgCur.message != WM_KICKIDLE && !PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    CWnd* pMain = GetMainWnd();
    HWND hMain = pMain->GetSafeHwnd();
    if (AfxWalkPreTranslateTree(hMain, pMsg))
        return TRUE;
    // Windows outside the main window's chain still get its accelerators.
    if (hMain && pMsg->hwnd && pMsg->hwnd != hMain) {
        HWND top = pMsg->hwnd;
        while (top && (::GetWindowLongA(top, GWL_STYLE) & WS_CHILD))
            top = ::GetParent(top);
        if (top != hMain && !::GetWindow(top, GW_OWNER) && ::IsWindow(hMain))
            return pMain->PreTranslateMessage(pMsg);
    }
    return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        if (pMsg->message == m_nMsgLast && pMsg->pt.x == m_ptCursorLast.x && pMsg->pt.y == m_ptCursorLast.y)
            return FALSE;
        m_ptCursorLast = pMsg->pt;
        m_nMsgLast = pMsg->message;
        return TRUE;
    }
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118; // caret blink
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount <= 0) {
        // Command-UI of the main window and its control bars.
        CWnd* pMain = GetMainWnd();
        if (pMain && pMain->m_hWnd && ::IsWindowVisible(pMain->m_hWnd)) {
            AfxCallWndProc(pMain, pMain->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
            SendIdleUpdate(pMain->m_hWnd);
        }
    } else if (lCount == 1) {
        AfxDeleteTempMaps();
    }
    return lCount < 1;
}

int CWinThread::Run()
{
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    for (;;) {
        while (bIdle && !::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&m_msgCur)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
    }
}

// --- loop helpers for nested loops

namespace {
CWinThread* ThreadLoop()
{
    CWinApp* app = g_pApp;
    return app && app->m_nThreadID == ::GetCurrentThreadId() ? app : nullptr;
}
} // namespace

BOOL AfxWalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND h = pMsg->hwnd; h; h = ::GetParent(h)) {
        if (CWnd* p = CWnd::FromHandlePermanent(h)) {
            if (p->PreTranslateMessage(pMsg))
                return TRUE;
        }
        if (h == hWndStop)
            break;
    }
    return FALSE;
}

BOOL TranslateMainWindowShortcut(CWnd* tool, MSG* pMsg)
{
    const bool key = pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST;
    CWnd* main = AfxGetMainWnd();
    if (!key || !main || main == tool || !main->m_hWnd || !main->IsWindowEnabled())
        return FALSE;
    if (main->PreTranslateMessage(pMsg))
        return TRUE;
    // Alt and a letter open the main window's menu at that letter.
    if (pMsg->message == WM_SYSCHAR && ::GetMenu(main->m_hWnd)) {
        main->SendMessage(WM_SYSCOMMAND, SC_KEYMENU, pMsg->wParam);
        return TRUE;
    }
    return FALSE;
}

BOOL AfxPreTranslateMessage(MSG* pMsg)
{
    if (CWinThread* t = ThreadLoop())
        return t->PreTranslateMessage(pMsg);
    return AfxWalkPreTranslateTree(nullptr, pMsg);
}

BOOL AfxPumpMessage(MSG* pMsg)
{
    if (CWinThread* t = ThreadLoop()) {
        BOOL ok = t->PumpMessage();
        if (pMsg)
            *pMsg = t->m_msgCur;
        return ok;
    }
    MSG msg;
    BOOL ok = ::GetMessageA(&msg, nullptr, 0, 0);
    if (ok && msg.message != WM_KICKIDLE && !AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (pMsg)
        *pMsg = msg;
    return ok;
}

BOOL AfxIsIdleMessage(MSG* pMsg)
{
    if (CWinThread* t = ThreadLoop())
        return t->IsIdleMessage(pMsg);
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118 && pMsg->message != WM_MOUSEMOVE;
}

void AfxDeleteTempMaps()
{
    CWnd::DeleteTempMap();
    CDC::DeleteTempMap();
    CGdiObject::DeleteTempMap();
    CMenu::DeleteTempMap();
    CImageList::DeleteTempMap();
}

// --- CWinApp

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR lpszAppName)
    : m_hInstance(nullptr), m_lpCmdLine(nullptr), m_nCmdShow(SW_SHOWNORMAL), m_pszAppName(Dup(lpszAppName)),
      m_pszExeName(nullptr), m_pszProfileName(nullptr), m_pszHelpFilePath(nullptr), m_bHtmlHelp(FALSE)
{
    g_pApp = this;
    m_nThreadID = ::GetCurrentThreadId();
    m_bAutoDelete = FALSE;
}

CWinApp::~CWinApp()
{
    FreeStr(m_pszAppName);
    FreeStr(m_pszExeName);
    FreeStr(m_pszProfileName);
    FreeStr(m_pszHelpFilePath);
    if (g_pApp == this)
        g_pApp = nullptr;
}

void CWinApp::SetDefaultNames()
{
    if (!m_hInstance)
        m_hInstance = ::GetModuleHandleA(nullptr);
    char path[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(m_hInstance, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    char* base = strrchr(path, '\\');
    base = base ? base + 1 : path;
    char* dot = strrchr(base, '.');
    if (!m_pszExeName) {
        CString exe(base, dot ? (int)(dot - base) : (int)strlen(base));
        m_pszExeName = Dup(exe);
    }
    if (!m_pszAppName) {
        // The application's title string, when the program has one: message
        // boxes carry it as their caption.
        char title[256];
        m_pszAppName =
            Dup(::LoadStringA(m_hInstance, AFX_IDS_APP_TITLE, title, sizeof title) > 0 ? title : m_pszExeName);
    }
    if (!m_pszProfileName) {
        // Beside the program: <folder>\<name>.ini
        CString ini(path, (int)(dot ? dot - path : (int)strlen(path)));
        ini += ".ini";
        m_pszProfileName = Dup(ini);
    }
    if (!m_pszHelpFilePath) {
        CString help(path, (int)(dot ? dot - path : (int)strlen(path)));
        help += m_bHtmlHelp ? ".chm" : ".hlp";
        m_pszHelpFilePath = Dup(help);
    }
}

void CWinApp::SetProfileName(LPCSTR lpszPath)
{
    FreeStr(m_pszProfileName);
    m_pszProfileName = Dup(lpszPath);
}

BOOL CWinApp::InitApplication() { return TRUE; }
BOOL CWinApp::InitInstance() { return TRUE; }
int CWinApp::ExitInstance() { return CWinThread::ExitInstance(); }
int CWinApp::Run() { return CWinThread::Run(); }
BOOL CWinApp::OnIdle(LONG lCount) { return CWinThread::OnIdle(lCount); }

HICON CWinApp::LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCEA(nIDResource)); }
HICON CWinApp::LoadIcon(LPCSTR lpszResourceName) const { return ::LoadIconA(AfxGetResourceHandle(), lpszResourceName); }
HCURSOR CWinApp::LoadCursor(UINT nIDResource) const { return LoadCursor(MAKEINTRESOURCEA(nIDResource)); }
HCURSOR CWinApp::LoadCursor(LPCSTR lpszResourceName) const { return ::LoadCursorA(AfxGetResourceHandle(), lpszResourceName); }

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    ::WinHelpA(AfxGetMainWnd()->GetSafeHwnd(), m_pszHelpFilePath, nCmd, dwData);
}

void CWinApp::HtmlHelp(DWORD_PTR dwData, UINT nCmd)
{
    typedef HWND(WINAPI * HtmlHelpFn)(HWND, LPCSTR, UINT, DWORD_PTR);
    static HMODULE lib = ::LoadLibraryA("hhctrl.ocx");
    HtmlHelpFn fn = lib ? (HtmlHelpFn)(void*)::GetProcAddress(lib, "HtmlHelpA") : nullptr;
    if (fn)
        fn(AfxGetMainWnd()->GetSafeHwnd(), m_pszHelpFilePath, nCmd, dwData);
}

int CWinApp::DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT)
{
    if ((nType & MB_ICONMASK) == 0) {
        switch (nType & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            nType |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            nType |= MB_ICONQUESTION;
            break;
        }
    }
    if (!m_pszAppName)
        SetDefaultNames();
    const HWND owner = AfxGetSafeOwner();
    CSystemBoxGuard guard(owner);
    return ::MessageBoxA(owner, lpszPrompt, m_pszAppName ? m_pszAppName : "", nType);
}

// --- globals

CWinApp* AfxGetApp() { return g_pApp; }
CWnd* AfxGetMainWnd() { return g_pApp ? g_pApp->GetMainWnd() : nullptr; }

HINSTANCE AfxGetInstanceHandle()
{
    return g_pApp && g_pApp->m_hInstance ? g_pApp->m_hInstance : ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() { return g_hResource ? g_hResource : AfxGetInstanceHandle(); }
void AfxSetResourceHandle(HINSTANCE hInstResource) { g_hResource = hInstResource; }

HWND AfxGetSafeOwner(CWnd* pParent)
{
    HWND h = pParent->GetSafeHwnd();
    if (!h) {
        h = ::GetActiveWindow();
        if (!h)
            h = AfxGetMainWnd()->GetSafeHwnd();
    }
    while (h && (::GetWindowLongA(h, GWL_STYLE) & WS_CHILD))
        h = ::GetParent(h);
    if (h) {
        HWND popup = ::GetLastActivePopup(h);
        if (popup && ::IsWindowEnabled(popup))
            h = popup;
    }
    return h;
}

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp)
{
    if (CWinApp* app = AfxGetApp())
        return app->DoMessageBox(lpszText, nType, nIDHelp);
    const HWND owner = AfxGetSafeOwner();
    CSystemBoxGuard guard(owner);
    return ::MessageBoxA(owner, lpszText, "", nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text = AfxLoadString(nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp == (UINT)-1 ? nIDPrompt : nIDHelp);
}

CString AfxLoadString(UINT nID)
{
    for (int size = 256;; size *= 2) {
        CString s;
        int n = ::LoadStringA(AfxGetResourceHandle(), nID, s.GetBuffer(size), size);
        if (n < size - 1 || size >= 65536) {
            s.ReleaseBuffer(n > 0 ? n : 0);
            return s;
        }
        s.ReleaseBuffer(0);
    }
}

BOOL AfxOleInit() { return SUCCEEDED(::OleInitialize(nullptr)); }

// --- entry

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->m_hInstance = hInstance;
    app->m_lpCmdLine = lpCmdLine;
    app->m_nCmdShow = nCmdShow;
    app->m_nThreadID = ::GetCurrentThreadId();
    int code;
    if (!app->InitApplication() || !app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd)
            app->m_pMainWnd->DestroyWindow();
        code = app->ExitInstance();
    } else {
        code = app->Run();
    }
    AfxDeleteTempMaps();
    return code;
}

extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
