#include "views/KestrixEdit.h"

#include "app/KestrixDoc.h"
#include "framework/Archive.h"
#include "views/ViewBase.h"

BEGIN_MESSAGE_MAP(CKestrixEdit, CEdit)
    ON_CONTROL_REFLECT(EN_CHANGE, OnEnChange)
    ON_CONTROL_REFLECT(EN_SETFOCUS, OnEnSetFocus)
    ON_CONTROL_REFLECT(EN_KILLFOCUS, OnEnKillFocus)
    ON_CONTROL_REFLECT(EN_UPDATE, OnEnUpdate)
    ON_CONTROL_REFLECT(EN_MAXTEXT, OnEnMaxText)
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

CKestrixEdit::CKestrixEdit() : m_maxTextReached(false), m_enterPressed(0), m_hasFocus(0) {}

void CKestrixEdit::Serialize(CArchive& ar)
{
    (void)ar.IsStoring();
}

BOOL CKestrixEdit::OnCommand(WPARAM wParam, LPARAM lParam) { return CEdit::OnCommand(wParam, lParam); }

BOOL CKestrixEdit::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return CEdit::OnNotify(wParam, lParam, pResult);
}

void CKestrixEdit::Navigate(WPARAM code)
{
    // The handle, not the window's position, names the sender: edits that a
    // zoom change shrank to nothing all share one position.
    if (CWnd* parent = GetParent())
        parent->PostMessage(WM_LYRIC_NAVIGATE, code, reinterpret_cast<LPARAM>(m_hWnd));
}

void CKestrixEdit::OnEnChange()
{
    // Only the user's changes leave the edit modified; text the program
    // sets does not.
    if (GetModify()) {
        SetModify(FALSE);
        if (auto* view = dynamic_cast<CKestrixViewBase*>(GetParent()))
            if (CKestrixDoc* doc = view->GetOwnerDoc())
                doc->OnUserTextEdit(false);
    }
    if (m_enterPressed)
        Navigate(kLyricReturn);
    m_enterPressed = 0;
}

void CKestrixEdit::OnEnSetFocus() {}
void CKestrixEdit::OnEnKillFocus() {}
void CKestrixEdit::OnEnUpdate() {}

void CKestrixEdit::OnEnMaxText()
{
    m_maxTextReached = true;
    GetWindowText(m_maxText);
    SetLimitText(static_cast<UINT>(m_maxText.GetLength()));
}

void CKestrixEdit::OnSize(UINT nType, int cx, int cy)
{
    CEdit::OnSize(nType, cx, cy);
    // A wider edit holds more: the width decides again, not an old limit.
    if (m_maxTextReached) {
        m_maxTextReached = false;
        SetLimitText(0);
    }
}

void CKestrixEdit::OnSetFocus(CWnd* pOldWnd)
{
    m_hasFocus = 1;
    CEdit::OnSetFocus(pOldWnd);
}

void CKestrixEdit::OnKillFocus(CWnd* pNewWnd)
{
    m_hasFocus = 0;
    CEdit::OnKillFocus(pNewWnd);
}

void CKestrixEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const bool cursorBlock = (nFlags & KF_EXTENDED) != 0;
    switch (nChar) {
    case VK_RETURN:
        m_enterPressed = 1;
        OnEnChange();
        return;
    case VK_BACK:
    case VK_LEFT: {
        if (nChar == VK_LEFT && !cursorBlock)
            break;
        int start = 0, end = 0;
        GetSel(start, end);
        RECT fmt;
        GetRect(&fmt);
        POINT caret = {0, 0};
        ::GetCaretPos(&caret);
        if (start == 0 && end == 0 && caret.x <= fmt.left + 1)
            Navigate(kLyricPrevious);
        break;
    }
    case VK_DOWN:
        if (cursorBlock)
            Navigate(kLyricDown);
        break;
    case VK_UP:
        if (cursorBlock)
            Navigate(kLyricUp);
        break;
    default:
        break;
    }
    CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CKestrixEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == '\r')
        return; // Return was handled as a key; a one-line edit would only beep
    CEdit::OnChar(nChar, nRepCnt, nFlags);
}

BOOL CKestrixEdit::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(nFlags, static_cast<WORD>(zDelta)), MAKELPARAM(pt.x, pt.y));
    return CEdit::OnMouseWheel(nFlags, zDelta, pt);
}
