#pragma once
// The start-up splash: a picture with one line of status text, run modally
// while the start-up thread works and driven only by the messages that
// thread posts. Enter and Escape do not close it: only the thread's close
// message does, so the thread never posts to a window that is gone.
#include <windows.h>

#include "framework/Dialog.h"
#include "framework/Gdi.h"

// Start-up thread to the splash window: wParam names a step of start-up
// work that must run on the user-interface thread; the splash hands it to
// its step handler and the thread's next post follows it.
constexpr unsigned int WM_SPLASH_STEP = WM_APP + 0x6A;

// Posts a copy of text as a status message; the receiver deletes it. When
// the post fails (no such window) the copy is deleted here. False then.
bool PostSplashStatus(HWND splash, const CString& text);
// Status strings posted and not yet deleted (all threads).
long LiveSplashStatusCount();

class CSplashWindow : public CDialog {
public:
    typedef void (*StepHandler)(void* context, int step);
    typedef bool (*ShownHandler)(void* context, HWND splash);

    explicit CSplashWindow(CWnd* pParent = nullptr);
    ~CSplashWindow() override;

    void SetBitmap(int bitmapId);
    void SetStatusText(const CString& text);
    CString GetStatusText() const { return m_statusText; }
    CRect GetTextRect() const { return m_textRect; }
    // Called once the window shows, with its handle: the place to start the
    // thread that drives it. False ends the splash at once.
    void SetShownHandler(ShownHandler handler, void* context)
    {
        m_onShown = handler;
        m_context = context;
    }
    // Runs the thread's WM_SPLASH_STEP requests.
    void SetStepHandler(StepHandler handler, void* context)
    {
        m_onStep = handler;
        m_stepContext = context;
    }

    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnSplashStatus(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSplashStep(WPARAM wParam, LPARAM lParam);

protected:
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

private:
    int m_bitmapId;
    CFont m_font;
    CString m_statusText;
    CRect m_textRect;
    ShownHandler m_onShown;
    StepHandler m_onStep;
    void* m_context;
    void* m_stepContext;
};
