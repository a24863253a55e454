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
    // False when there is no view or the browser refused the address.
    bool Navigate(const CString& path);

    BOOL OnInitDialog() override;
    // Closing the tool window hides it; the View menu brings it back.
    void OnOK() override { ShowWindow(SW_HIDE); }
    void OnCancel() override { ShowWindow(SW_HIDE); }

    afx_msg void OnSize(UINT nType, int cx, int cy);

protected:
    DECLARE_MESSAGE_MAP()

private:
    BYTE m_browserReady;
    CHtmlDynView* m_pView; // owned by the window tree
    CString m_page;
};
