#pragma once
// A view that hosts the system's web browser control: it creates the
// browser object, gives it a client site and an in-place site, activates it
// in place over its own client area and navigates it. Nothing more of a
// control container: no menus, toolbars, frame borders or keyboard
// translation.
#include <windows.h>
#include <exdisp.h>
#include <ole2.h>

#include "framework/DocView.h"

class CHtmlView : public CView {
    DECLARE_DYNAMIC(CHtmlView)
public:
    CHtmlView();
    ~CHtmlView() override;

    // False when no browser object lives in the view.
    bool HasBrowser() const { return m_pBrowser != nullptr; }
    IWebBrowser2* GetBrowser() const { return m_pBrowser; }
    // A full path or address; false without a browser or when refused.
    bool Navigate(const char* url);
    // The address the browser shows now (empty without a browser).
    CString GetLocationURL() const;

    // The class of the browser object the next views create; tests give a
    // class that does not exist to see a view without a browser.
    static void SetBrowserClass(const CLSID& clsid);
    static CLSID GetBrowserClass();

    void OnDraw(CDC* pDC) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

protected:
    // The browser's sites; lives as long as the view's window.
    class Site;

    bool CreateBrowser();
    void ReleaseBrowser();

    Site* m_pSite;
    IOleObject* m_pOleObject;
    IWebBrowser2* m_pBrowser;
    DECLARE_MESSAGE_MAP()
};
