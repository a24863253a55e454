#pragma once
// The floating tools panel: the note names under the mouse in the score
// views, the reference pitch and key of the active document, and the three
// rows that choose the views' display mode. It paints everything itself,
// off-screen first.
#include <vector>

#include "app/SmallDialogRules.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"

class CKestrixDoc;

class CViewDlg : public CDialog {
public:
    CViewDlg();
    ~CViewDlg() override;

    // Creates the hidden window on the main frame.
    BOOL Create(CWnd* pParent);

    void SetHintText(const CString& text);
    const CString& GetHintText() const { return m_hintText; }
    int GetMode() const { return m_displayMode; }
    void SetChordOptionsShown(bool shown);
    // The active document (null: none): its display mode, whether its chord
    // options apply (not in the bass view), its tuning and key; the notes
    // under the mouse are forgotten.
    void ShowDocument(CKestrixDoc* doc);
    bool AreChordOptionsShown() const { return m_chordOptions; }
    // Client rectangle of an option row (0..2 from the top), for tests.
    CRect GetOptionRowRect(int row) const { return m_rows[row]; }
    int GetHotRow() const { return m_hotRow; }
    // Places the panel as start-up does: right of the frame's client area, y = 120.
    void PlaceOnFrame(CWnd* frame);

    static constexpr int kBandHeight = 19; // 1.2 x the hint font's 16 pixels
    static constexpr int kValueTop = 130;

protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnOK() override {}
    void OnCancel() override { ShowWindow(SW_HIDE); }

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void Paint(CDC& dc, int width, int height);
    void LayoutRows(int width);
    void InvalidateRows();
    int RowAt(CPoint point) const;

    PanelDrag m_drag;
    CBitmap m_canvas;
    CSize m_canvasSize;
    HBITMAP m_options[4]; // selected, not selected, selected hot, not selected hot
    CFont m_hintFont, m_valueFont, m_titleFont;
    CString m_hintText;
    CRect m_rows[kOptionRowCount];
    int m_hotRow;
    int m_displayMode;
    bool m_chordOptions;
};
