#include "views/KestrixRichEdit.h"

#include <cstdlib>
#include <cstring>
#include <string>
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
    ON_MESSAGE(WM_COPY, OnCopyOrCut)
    ON_MESSAGE(WM_CUT, OnCopyOrCut)
    ON_MESSAGE(WM_PASTE, OnPaste)
END_MESSAGE_MAP()

namespace {
// The zoom of the text a box last put on the clipboard, while the clipboard
// still holds it.
DWORD s_copiedSequence = 0;
float s_copiedZoom = 1.0f;

std::string ClipboardRtf(HWND owner)
{
    std::string rtf;
    const UINT format = ::RegisterClipboardFormatA("Rich Text Format");
    if (!::IsClipboardFormatAvailable(format) || !::OpenClipboard(owner))
        return rtf;
    if (HANDLE h = ::GetClipboardData(format)) {
        if (const char* p = static_cast<const char*>(::GlobalLock(h))) {
            rtf.assign(p, strnlen(p, ::GlobalSize(h)));
            ::GlobalUnlock(h);
        }
    }
    ::CloseClipboard();
    return rtf;
}

// The boxes' RTF goes through memory, so no file is left behind and an
// unwritable folder cannot break a save.
struct MemStream {
    std::string data;
    size_t pos = 0;
};

DWORD CALLBACK StreamToMemory(DWORD_PTR cookie, LPBYTE buf, LONG cb, LONG* done)
{
    reinterpret_cast<MemStream*>(cookie)->data.append(reinterpret_cast<const char*>(buf), static_cast<size_t>(cb));
    *done = cb;
    return 0;
}

DWORD CALLBACK StreamFromMemory(DWORD_PTR cookie, LPBYTE buf, LONG cb, LONG* done)
{
    auto* m = reinterpret_cast<MemStream*>(cookie);
    const size_t left = m->data.size() - m->pos;
    const size_t n = left < static_cast<size_t>(cb) ? left : static_cast<size_t>(cb);
    memcpy(buf, m->data.data() + m->pos, n);
    m->pos += n;
    *done = static_cast<LONG>(n);
    return 0;
}
} // namespace

std::string BoxRtf(CRichEditCtrl& box)
{
    MemStream m;
    EDITSTREAM es = {reinterpret_cast<DWORD_PTR>(&m), 0, &StreamToMemory};
    box.StreamOut(SF_RTF, es);
    return m.data;
}

void PutRtf(CRichEditCtrl& box, const std::string& rtf, int flags)
{
    MemStream m;
    m.data = rtf;
    EDITSTREAM es = {reinterpret_cast<DWORD_PTR>(&m), 0, &StreamFromMemory};
    box.StreamIn(flags, es);
}

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

void CKestrixRichEdit::NoteCopy()
{
    s_copiedSequence = ::GetClipboardSequenceNumber();
    s_copiedZoom = m_zoom;
}

LRESULT CKestrixRichEdit::OnCopyOrCut(WPARAM, LPARAM)
{
    const LRESULT r = Default();
    NoteCopy();
    return r;
}

LRESULT CKestrixRichEdit::OnPaste(WPARAM, LPARAM)
{
    if (GetStyle() & ES_READONLY)
        return 0;
    const std::string rtf = ClipboardRtf(m_hWnd);
    const float from = s_copiedSequence == ::GetClipboardSequenceNumber() ? s_copiedZoom : 1.0f;
    if (rtf.empty() || from == m_zoom)
        return Default();
    // One insertion, so one Undo takes it away.
    PutRtf(*this, RtfAtZoom(rtf, from, m_zoom), SF_RTF | SFF_SELECTION);
    return 0;
}

void CKestrixRichEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    // The control's own clipboard keys, through the same roads as the
    // Edit menu's commands.
    const bool ctrl = ::GetKeyState(VK_CONTROL) < 0, shift = ::GetKeyState(VK_SHIFT) < 0;
    if (ctrl != shift && ::GetKeyState(VK_MENU) >= 0) {
        UINT clip = 0;
        if (ctrl && (nChar == 'C' || nChar == VK_INSERT))
            clip = WM_COPY;
        else if ((ctrl && nChar == 'X') || (shift && nChar == VK_DELETE))
            clip = WM_CUT;
        else if ((ctrl && nChar == 'V') || (shift && nChar == VK_INSERT))
            clip = WM_PASTE;
        if (clip) {
            SendMessage(clip);
            return;
        }
    }
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
