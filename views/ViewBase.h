#pragma once
// What the three views of a song document share: each tells its document
// when its window goes.
#include "framework/DocView.h"

class CKestrixDoc;

// The toolbar's print preview (the menu's is ID_FILE_PRINT_PREVIEW).
constexpr UINT ID_PRINT_PREVIEW_COMMAND = 134;

class CKestrixViewBase : public CScrollView {
    DECLARE_DYNAMIC(CKestrixViewBase)
public:
    CKestrixViewBase() : m_pOwnerDoc(nullptr) {}
    ~CKestrixViewBase() override;
    void OnDraw(CDC* pDC) override;
    void SetOwnerDoc(CKestrixDoc* doc) { m_pOwnerDoc = doc; }
    CKestrixDoc* GetOwnerDoc() const { return m_pOwnerDoc; }

    // Undo goes to the edit or text box that has the focus, whichever view
    // holds it.
    afx_msg void OnEditUndo();
    afx_msg void OnUpdateEditUndo(CCmdUI* pCmdUI);

protected:
    // How many printers the spooler lists (asked for the size, then the data).
    static DWORD CountPrinters(DWORD flags, DWORD level);
    // Language text 2 under caption 122, in the program's message box.
    static void WarnNoPrinter();

    CKestrixDoc* m_pOwnerDoc; // also while detached

private:
    // The view's child window that has the focus, or null.
    HWND FocusedChild() const;

    DECLARE_MESSAGE_MAP()
};
