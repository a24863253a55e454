#include "views/KestrixRichEdit.h"

#include <cstdlib>
#include <vector>

#include "framework/DocView.h"
#include "framework/Gdi.h"
#include "framework/MsgMap.h"
#include "views/LeadSheetModel.h"

BEGIN_MESSAGE_MAP(CKestrixRichEdit, CRichEditCtrl)
    ON_WM_KEYDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_KILLFOCUS()
    ON_WM_SETFOCUS()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

int CKestrixRichEdit::TextHeight()
{
    CHARFORMATA cf = {};
    GetDefaultCharFormat(cf);
    HDC dc = ::GetDC(m_hWnd);
    LOGFONTA lf = {};
    lf.lfHeight = -::MulDiv(cf.yHeight > 0 ? cf.yHeight : 200, ::GetDeviceCaps(dc, LOGPIXELSY), 1440);
    lf.lfWeight = (cf.dwEffects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = cf.bCharSet;
    lstrcpynA(lf.lfFaceName, cf.szFaceName, LF_FACESIZE);
    HFONT font = ::CreateFontIndirectA(&lf);
    HGDIOBJ old = ::SelectObject(dc, font);
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(dc, &tm);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    ::ReleaseDC(m_hWnd, dc);
    return tm.tmHeight;
}

bool CKestrixRichEdit::IsFull()
{
    RECT r = {};
    GetRect(&r);
    // Where the text ends as the box lays it out, in its own fonts.
    return TextBoxIsFull(r.bottom, TextHeight(), GetCharPos(GetTextLength()).y);
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

int CKestrixRichEdit::LineAt(CPoint point, long& start, CString& text)
{
    POINTL at = {point.x, point.y};
    long index = static_cast<long>(SendMessage(EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&at)));
    // The nearest boundary comes back: a point left of it lies in the
    // character before.
    if (index > 0 && GetCharPos(index).x > point.x)
        --index;
    const long line = static_cast<long>(SendMessage(EM_EXLINEFROMCHAR, 0, index));
    start = static_cast<long>(SendMessage(EM_LINEINDEX, line));
    const long length = static_cast<long>(SendMessage(EM_LINELENGTH, start));
    text.Empty();
    if (length > 0) {
        std::vector<char> buf(static_cast<size_t>(length) + 1, '\0');
        TEXTRANGEA tr = {{start, start + length}, buf.data()};
        SendMessage(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&tr));
        text = buf.data();
    }
    return static_cast<int>(index - start);
}

void CKestrixRichEdit::OnLButtonDblClk(UINT, CPoint point)
{
    long start = 0;
    CString text;
    const int at = LineAt(point, start, text);
    int from = 0, to = 0;
    WordAt(text, at, from, to);
    SetFocus();
    SetSel(start + from, start + to);
    m_doubleClicked = true;
    m_doubleClickTime = ::GetMessageTime();
    m_doubleClickAt = point;
}

void CKestrixRichEdit::OnLButtonDown(UINT nFlags, CPoint point)
{
    const bool triple = m_doubleClicked &&
                        static_cast<DWORD>(::GetMessageTime() - m_doubleClickTime) <= ::GetDoubleClickTime() &&
                        abs(point.x - m_doubleClickAt.x) <= ::GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                        abs(point.y - m_doubleClickAt.y) <= ::GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    m_doubleClicked = false;
    if (!triple) {
        CRichEditCtrl::OnLButtonDown(nFlags, point);
        return;
    }
    // The line's text, not its break: what is typed over it stays a line.
    long start = 0;
    CString text;
    LineAt(point, start, text);
    SetFocus();
    SetSel(start, start + LineTextLength(text));
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
