#pragma once
// A static text control of a dialog turned into a hyperlink: coloured,
// underlined, with a hand cursor, a hover colour and a tooltip showing its
// link text. Clicks reach the owner as BN_CLICKED with the control's id.
#include <windows.h>

#include "framework/CString.h"
#include "framework/Controls.h"
#include "framework/Gdi.h"

class CStringButton : public CStatic {
public:
    CStringButton();
    ~CStringButton() override;

    // The address or command the owner opens; re-sizes and updates the tip.
    void SetLinkText(const CString& link);
    CString GetLinkText() const { return m_linkText; }
    // hover (COLORREF)-1: the system highlight colour.
    void SetColours(COLORREF link, COLORREF visited, COLORREF hover = (COLORREF)-1);
    COLORREF GetLinkColour() const { return m_linkColour; }
    COLORREF GetVisitedColour() const { return m_visitedColour; }
    COLORREF GetHoverColour() const { return m_hoverColour; }
    void SetVisited(bool visited = true);
    bool GetVisited() const { return m_visited; }
    // Null: the default hand cursor. The control keeps its own copy.
    void SetLinkCursor(HCURSOR cursor);
    HCURSOR GetLinkCursor() const { return m_linkCursor; }
    void SetUnderline(bool underline = true);
    bool GetUnderline() const { return m_underline; }
    void SetAutoSize(bool autoSize = true);
    bool GetAutoSize() const { return m_autoSize; }
    void SetToolTipMaxWidth(int width);
    bool IsHovering() const { return m_hovering; }

    // The message box text for a failed ShellExecute.
    static CString HyperlinkErrorText(int shellExecuteResult);
    // Opens the link text with the shell (verb "open"); a failure is told
    // to the user with HyperlinkErrorText. False when it failed.
    bool OpenLink(int showCommand);

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PreSubclassWindow() override;
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    DECLARE_MESSAGE_MAP()

private:
    void ApplyFont();
    void PositionWindow();
    void SetDefaultCursor();

    COLORREF m_linkColour;
    COLORREF m_visitedColour;
    COLORREF m_hoverColour;
    bool m_hovering;
    bool m_visited;
    bool m_underline;
    bool m_autoSize;
    CString m_linkText;
    CFont m_font;
    HCURSOR m_linkCursor;
    CToolTipCtrl m_toolTip;
};
