#pragma once
// The quick-start tool window: a modeless dialog whose client area is an
// embedded browser view showing the page "TutorialStart.html".
#include <windows.h>

#include "framework/Dialog.h"
#include "framework/HtmlView.h"

// The browser view living in a dialog instead of a frame: it activates no
// frame and keeps no frame's view bookkeeping.
class CHtmlDynView : public CHtmlView {
    DECLARE_DYNCREATE(CHtmlDynView)
public:
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);

protected:
    DECLARE_MESSAGE_MAP()
};

class CHtmlDynDialog : public CDialog {
public:
    explicit CHtmlDynDialog(CWnd* pParent = nullptr);

    bool IsBrowserReady() const { return m_browserReady != 0; }
    CHtmlDynView* GetView() const { return m_pView; }
    CString GetPage() const { return m_page; }
    // False when there is no view, the file is missing or the browser
    // refused the address. While a page handler or a show is pending, the
    // call starts a new watch of the page; later pages are not watched.
    bool Navigate(const CString& path);

    // Told once, when the first watch ends, whether the page of the last
    // Navigate came up (the browser holds a complete document) within
    // kPageTimeoutMs, and then forgotten: start-up asks whether the browser
    // works, and a later slow page must not take a working window away. A
    // browser object without an engine never gets there; the handler may
    // delete the dialog.
    enum { kPageTimeoutMs = 3000 };
    using PageHandler = void (*)(void* context, bool shown);
    void SetPageHandler(PageHandler handler, void* context)
    {
        m_pageHandler = handler;
        m_pageContext = context;
    }
    // Shows the dialog (without activating it) once the watched page is up.
    void ShowWhenPageShown() { m_showWhenShown = true; }
    bool IsPageShown() const;
    ~CHtmlDynDialog() override;

    BOOL OnInitDialog() override;
    // Closing the tool window hides it; the View menu brings it back.
    void OnOK() override { ShowWindow(SW_HIDE); }
    void OnCancel() override { ShowWindow(SW_HIDE); }

    afx_msg void OnSize(UINT nType, int cx, int cy);

protected:
    DECLARE_MESSAGE_MAP()

private:
    static void CALLBACK OnPageTimer(HWND, UINT, UINT_PTR id, DWORD);
    void StopWatch();

    BYTE m_browserReady;
    CHtmlDynView* m_pView; // owned by the window tree
    CString m_page;
    // The page watch runs on a thread timer, so that its handler is not
    // inside one of this window's own messages and may delete it.
    UINT_PTR m_watchTimer = 0;
    DWORD m_watchStart = 0;
    bool m_navigated = false;
    bool m_showWhenShown = false;
    PageHandler m_pageHandler = nullptr;
    void* m_pageContext = nullptr;
};
