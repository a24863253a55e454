#pragma once
// Printing: the system's print dialog, what a print job carries from the
// view's preparation to its last page, and the print preview window.
#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "framework/CString.h"
#include "framework/Gdi.h"
#include "framework/Wnd.h"

class CView;
class CButton;

// The system's print dialog. The printer and its settings chosen last are
// offered again the next time (they are kept for the whole program).
class CPrintDialog {
public:
    explicit CPrintDialog(BOOL bPrintSetupOnly,
                          DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIESANDCOLLATE | PD_NOSELECTION |
                                          PD_HIDEPRINTTOFILE,
                          CWnd* pParentWnd = nullptr);
    ~CPrintDialog(); // deletes the printer context
    CPrintDialog(const CPrintDialog&) = delete;
    CPrintDialog& operator=(const CPrintDialog&) = delete;

    // IDOK with m_pd.hDC set, or IDCANCEL (also when the dialog failed).
    INT_PTR DoModal();
    // The chosen (or default) printer without asking; FALSE when there is none.
    BOOL GetDefaults();
    HDC GetPrinterDC() const { return m_pd.hDC; }
    CString GetDeviceName() const;
    BOOL PrintAll() const { return !(m_pd.Flags & PD_PAGENUMS); }

    PRINTDLGA m_pd;
};

class CPrintInfo {
public:
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    void SetMinPage(UINT nMinPage) { m_pPD->m_pd.nMinPage = static_cast<WORD>(nMinPage); }
    void SetMaxPage(UINT nMaxPage) { m_pPD->m_pd.nMaxPage = static_cast<WORD>(nMaxPage); }
    UINT GetMinPage() const { return m_pPD->m_pd.nMinPage; }
    UINT GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
    // The range the user asked for (every page unless page numbers were given).
    UINT GetFromPage() const;
    UINT GetToPage() const;

    CPrintDialog* m_pPD;
    BOOL m_bPreview;          // drawing for the preview, not the printer
    BOOL m_bContinuePrinting; // a view may stop a job early
    UINT m_nCurPage;          // 1-based
    CRect m_rectDraw;         // the printable area, device units
    CString m_strPageDesc;
    void* m_lpUserData;
};

// The preview of a view's pages as they will print: one page at a time,
// scaled to fit, with Print, Next Page, Prev Page and Close. It runs until
// closed; the main window is disabled meanwhile.
class CPreviewWnd : public CWnd {
public:
    enum { IDC_PREVIEW_PRINT = 0xE200, IDC_PREVIEW_NEXT, IDC_PREVIEW_PREV, IDC_PREVIEW_CLOSE };

    CPreviewWnd(CView* pView, CPrintInfo* pInfo, CDC* pPrinterDC);
    ~CPreviewWnd() override;

    // TRUE when the user asked to print from the preview.
    BOOL Run();
    UINT GetCurrentPage() const { return m_page; }
    void ShowPage(UINT page);
    // The page's picture (a metafile of the printed page), made on first use.
    HENHMETAFILE GetPageMetafile(UINT page);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnClose();
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    static constexpr int kBarHeight = 34;

private:
    void Finish(BOOL print);
    void UpdateButtons();
    CRect PaperRect() const;

    CView* m_pView;
    CPrintInfo* m_pInfo;
    CDC* m_pPrinterDC;
    UINT m_page;
    BOOL m_print;
    std::vector<HENHMETAFILE> m_pages;
    CButton* m_buttons[4];
    CFont m_font;

    DECLARE_MESSAGE_MAP()
};
