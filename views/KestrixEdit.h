#pragma once
// The one-line edit of a row's lyrics (and of the song title): tells its
// view which row to move to, keeps a focus flag for the views' cut, copy
// and paste, passes the wheel on to the page, and refuses text wider than
// itself.
#include "framework/Controls.h"

// Posted to the parent view: wParam a code below, lParam the sending
// edit's window handle.
constexpr UINT WM_LYRIC_NAVIGATE = 0x84D0;
constexpr WPARAM kLyricReturn = 0;
constexpr WPARAM kLyricPrevious = 9999993; // Backspace or Left at the left edge
constexpr WPARAM kLyricDown = 99999938;
constexpr WPARAM kLyricUp = 99999939;

class CArchive;

class CKestrixEdit : public CEdit {
public:
    CKestrixEdit();

    bool HasFocus() const { return m_hasFocus != 0; }
    // The text was full at some point; what it held then.
    bool IsMaxTextReached() const { return m_maxTextReached; }
    CString GetMaxText() const { return m_maxText; }
    // The texts reach document files through the document.
    void Serialize(CArchive& ar);

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    afx_msg void OnEnChange();
    afx_msg void OnEnSetFocus();
    afx_msg void OnEnKillFocus();
    afx_msg void OnEnUpdate();
    afx_msg void OnEnMaxText();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);

private:
    void Navigate(WPARAM code);

    bool m_maxTextReached;
    CString m_maxText;
    BYTE m_enterPressed;
    BYTE m_hasFocus;

    DECLARE_MESSAGE_MAP()
};
