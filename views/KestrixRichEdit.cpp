#include "views/KestrixRichEdit.h"

#include "framework/DocView.h"
#include "framework/Gdi.h"
#include "framework/MsgMap.h"
#include "views/LeadSheetModel.h"

BEGIN_MESSAGE_MAP(CKestrixRichEdit, CRichEditCtrl)
    ON_WM_KEYDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_KILLFOCUS()
    ON_WM_SETFOCUS()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

int CKestrixRichEdit::TextHeight()
{
    HDC dc = ::GetDC(m_hWnd);
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(dc, &tm);
    ::ReleaseDC(m_hWnd, dc);
    return tm.tmHeight;
}

bool CKestrixRichEdit::IsFull()
{
    RECT r = {};
    GetRect(&r);
    return TextBoxIsFull(r.bottom, TextHeight(), GetLineCount());
}

void CKestrixRichEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    RECT r = {};
    GetRect(&r);
    POINT caret = {};
    ::GetCaretPos(&caret);
    TextBoxKey k;
    k.key = nChar;
    k.extended = (nFlags & KF_EXTENDED) != 0;
    k.empty = GetWindowTextLength() == 0;
    k.caretX = caret.x;
    k.caretY = caret.y;
    k.rectLeft = r.left;
    k.rectTop = r.top;
    k.rectBottom = r.bottom;
    k.textHeight = TextHeight();
    const int code = TextBoxKeyCode(k);
    if (code < 0) {
        CRichEditCtrl::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    RECT w = {};
    GetWindowRect(&w);
    if (CWnd* parent = GetParent())
        parent->PostMessage(WM_TEXTBOX_NAVIGATE, (WPARAM)code, (LPARAM)w.top);
}

void CKestrixRichEdit::OnRButtonDown(UINT nFlags, CPoint point)
{
    ClientToScreen(&point);
    CWnd* parent = GetParent();
    if (parent) {
        POINT* p = new POINT{point.x, point.y};
        if (!parent->PostMessage(WM_TEXTBOX_CONTEXTMENU, (WPARAM)p, 0))
            delete p; // nobody will free it
    }
    CRichEditCtrl::OnRButtonDown(nFlags, point);
}

void CKestrixRichEdit::OnSetFocus(CWnd* pOldWnd)
{
    m_hasFocus = 1;
    CRichEditCtrl::OnSetFocus(pOldWnd);
}

void CKestrixRichEdit::OnKillFocus(CWnd* pNewWnd)
{
    m_hasFocus = 0;
    CRichEditCtrl::OnKillFocus(pNewWnd);
}

BOOL CKestrixRichEdit::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    if (auto* view = dynamic_cast<CScrollView*>(GetParent()))
        view->CScrollView::OnMouseWheel(nFlags, zDelta, pt);
    return CRichEditCtrl::OnMouseWheel(nFlags, zDelta, pt);
}
