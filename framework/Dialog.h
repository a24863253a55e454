#pragma once
// Dialogs from templates: modal (DoModal runs the framework's own modal loop
// with the owner disabled) and modeless (Create).
#include <windows.h>

#include "framework/Wnd.h"

class CDialog : public CWnd {
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Modeless.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    virtual BOOL Create(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    BOOL CreateIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd = nullptr, HINSTANCE hInst = nullptr);
    // Modal; IDOK, IDCANCEL or what EndDialog was given; -1 on failure.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void SetDefID(UINT nID) { SendMessage(DM_SETDEFID, nID); }
    DWORD GetDefID() const { return (DWORD)SendMessage(DM_GETDEFID); }
    void NextDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 1, 0); }
    void GotoDlgCtrl(CWnd* pWndCtrl) { SendMessage(WM_NEXTDLGCTL, (WPARAM)pWndCtrl->GetSafeHwnd(), 1); }
    void MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }

    LPCSTR m_lpszTemplateName; // or MAKEINTRESOURCE of the number
    CWnd* m_pParentWnd;
    // Module whose resources hold the template; null: AfxGetResourceHandle().
    HINSTANCE m_hTemplateInstance;

protected:
    DECLARE_MESSAGE_MAP()
    afx_msg LRESULT HandleInitDialog(WPARAM, LPARAM);
    // The owner of a modal run: top-level, enabled popup of the parent.
    HWND PreModal();
    LPCDLGTEMPLATEA LoadTemplate(HINSTANCE& hInst) const;
};

// The dialog procedure of framework dialogs; the window procedure does the work.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Puts a top-level box centred over the main window, where the user looks
// (over its owner or the screen while the main window is hidden).
void AfxCentreOverMainWindow(HWND hBox);

// The program's one modal rule: while a modal box of the thread is up (a
// dialog's DoModal, a message box, a common dialog, the print preview),
// neither the main window nor a tool window given to AfxHoldWhileModal
// takes input, so no command runs under a question and changes what it
// asks about. The box's owner is left to the box, which disables it itself
// and activates it again at its end; the keyboard focus then returns to
// the window that had it. Nested holds leave the work to the outermost one.
class CModalHold {
public:
    // boxOwner: the window the box will be owned by (may be null).
    explicit CModalHold(HWND boxOwner);
    ~CModalHold();
    CModalHold(const CModalHold&) = delete;
    CModalHold& operator=(const CModalHold&) = delete;
};

// A modeless window that takes commands (the program's tool panels): held
// with the main window while a modal box is up. hold false forgets it
// (before it is destroyed).
void AfxHoldWhileModal(HWND wnd, bool hold);

// For the boxes the system makes and runs itself (message boxes, the file,
// font and print dialogs): the modal rule for a box of this owner, and each
// dialog box of the thread centred over the main window when it is first
// activated.
class CSystemBoxGuard {
public:
    explicit CSystemBoxGuard(HWND boxOwner);
    ~CSystemBoxGuard();
    CSystemBoxGuard(const CSystemBoxGuard&) = delete;
    CSystemBoxGuard& operator=(const CSystemBoxGuard&) = delete;

private:
    CModalHold m_hold;
};
