#pragma once
// The application object: the one CWinApp of the program, its message loop
// with idle processing, its profile (an INI file) and the framework's
// message box.
#include <windows.h>

#include "framework/CString.h"
#include "framework/Thread.h"
#include "framework/Wnd.h"

class CWinApp : public CWinThread {
public:
    // Only one application object may exist at a time; it registers itself.
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitApplication();
    BOOL InitInstance() override;
    int ExitInstance() override;
    int Run() override;
    BOOL OnIdle(LONG lCount) override;
    // The framework's message box; AfxMessageBox comes here.
    virtual int DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt);
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);
    virtual void HtmlHelp(DWORD_PTR dwData, UINT nCmd = 0x000F);
    void EnableHtmlHelp() { m_bHtmlHelp = TRUE; }

    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadIcon(LPCSTR lpszResourceName) const;
    HICON LoadStandardIcon(LPCSTR lpszIconName) const { return ::LoadIconA(nullptr, lpszIconName); }
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadCursor(LPCSTR lpszResourceName) const;
    HCURSOR LoadStandardCursor(LPCSTR lpszCursorName) const { return ::LoadCursorA(nullptr, lpszCursorName); }

    // The private profile, an INI file: m_pszProfileName, by default the
    // program's name with ".ini" in the program's folder.
    UINT GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);
    CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = nullptr);
    // A null entry removes the section, a null value the entry.
    BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);
    // Replaces the profile's file (copied).
    void SetProfileName(LPCSTR lpszPath);

    HINSTANCE m_hInstance;
    LPSTR m_lpCmdLine;
    int m_nCmdShow;
    // malloc'ed copies, freed by the destructor.
    LPCSTR m_pszAppName;
    LPCSTR m_pszExeName;
    LPCSTR m_pszProfileName;
    LPCSTR m_pszHelpFilePath;
    BOOL m_bHtmlHelp;

protected:
    DECLARE_MESSAGE_MAP()

private:
    void SetDefaultNames();
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// String resource holding the application's title.
#define AFX_IDS_APP_TITLE 0xE000

HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);

// The framework's message box: owned by the active window, captioned with
// the application's name. The second form takes a string resource.
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);

// A string resource of AfxGetResourceHandle(); empty when missing.
CString AfxLoadString(UINT nID);

// The body of WinMain: runs the application object.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

// One pass of a message loop: GetMessage, PreTranslateMessage through the
// window chain, dispatch; the message in *pMsg. FALSE on WM_QUIT.
BOOL AfxPumpMessage(MSG* pMsg = nullptr);
// FALSE for messages that do not end idle time (paint, caret blink, mouse
// moves that did not move).
BOOL AfxIsIdleMessage(MSG* pMsg);
// PreTranslateMessage of the windows from pMsg->hwnd up to the main window.
BOOL AfxPreTranslateMessage(MSG* pMsg);
// The same walk, stopping after hWndStop.
BOOL AfxWalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
// A key message of a tool window (a modeless panel the main window owns)
// offered to the main window's shortcuts and menu keys first, as in any
// program; TRUE when one of them took it. Not while the main window is
// disabled by a box.
BOOL TranslateMainWindowShortcut(CWnd* tool, MSG* pMsg);
// The window that owns message boxes and modal dialogs now: the active
// top-level window or the main window, then its last active popup.
HWND AfxGetSafeOwner(CWnd* pParent = nullptr);
BOOL AfxOleInit();
// Deletes this thread's temporary wrappers (idle time does it too).
void AfxDeleteTempMaps();
