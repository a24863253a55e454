#pragma once
// One page of the lead sheet: a rich edit box that says when it is full,
// reports its page-boundary keys and right clicks to its view, keeps a focus
// flag for the view's cut, copy and paste, and passes the wheel to the view.
#include <string>

#include "framework/RichEdit.h"

// wParam: a TextBoxNavigation code; lParam: the box's top on the screen.
constexpr UINT WM_TEXTBOX_NAVIGATE = 0x8294;
// wParam: a new POINT (screen coordinates) that the receiver deletes.
constexpr UINT WM_TEXTBOX_CONTEXTMENU = 0x82D3;

// A box's whole text as RTF, and RTF streamed into a box (flags as
// EM_STREAMIN's), through memory.
std::string BoxRtf(CRichEditCtrl& box);
void PutRtf(CRichEditCtrl& box, const std::string& rtf, int flags);

class CKestrixRichEdit : public CRichEditCtrl {
public:
    CKestrixRichEdit() : m_hasFocus(0) {}

    bool IsFull();
    BYTE HasFocus() const { return m_hasFocus; }
    // The view's zoom, at which the box shows its sizes.
    void SetZoom(float zoom) { m_zoom = zoom; }

    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    // Selects the word under the mouse: the system's control picked text of
    // the line below when the word ended its line.
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    // The click after a double click selects the line under the mouse: the
    // system's control counted it as its own double click.
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    // Copied text keeps the sizes of the zoom it was copied at; pasted text
    // takes the sizes of this box's zoom.
    afx_msg LRESULT OnCopyOrCut(WPARAM, LPARAM);
    afx_msg LRESULT OnPaste(WPARAM, LPARAM);

private:
    // Height of a line in the box's default font: the unit of the
    // page-boundary rules.
    int TextHeight();
    // The display line under a point, its first character and its text;
    // the character under the point as an index into the line.
    int LineAt(CPoint point, long& start, CString& text);

    // After the system's own copy: remembers this box's zoom for the
    // clipboard's new contents.
    void NoteCopy();

    BYTE m_hasFocus;
    float m_zoom = 1.0f;
    // Where and when the last double click was, for a triple click.
    bool m_doubleClicked = false;
    LONG m_doubleClickTime = 0;
    CPoint m_doubleClickAt;
    DECLARE_MESSAGE_MAP()
};
