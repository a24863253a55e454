// The grid views' keyboard: typing a chord name or a fret at a caret above
// a line, and the keys that play, stop, seek and delete.
#include "views/GridView.h"

#include "app/DocHost.h"
#include "app/KestrixDoc.h"
#include "views/KestrixEdit.h"

namespace {
constexpr int kDefaultSkipMs = 2000;
} // namespace

void CGridView::StartTyping(const CPoint& caret, int timeMs, int row)
{
    m_caretPos = caret + GetScrollPosition();
    ::CreateCaret(m_hWnd, nullptr, 1, NameHeight());
    ::SetCaretPos(caret.x, caret.y);
    ::ShowCaret(m_hWnd);
    m_typingTime = timeMs;
    m_typingRow = row;
    m_typed.Empty();
    m_caretIndex = 0;
    m_typing = 1;
}

void CGridView::DrawTyping(CDC* pDC)
{
    if (!m_typing || m_typed.IsEmpty())
        return;
    CFont* old = pDC->SelectObject(&m_nameFont);
    pDC->SetTextColor(RGB(0, 0, 0));
    const CPoint at = CaretPoint();
    pDC->TextOut(at.x, at.y, m_typed);
    pDC->SelectObject(old);
}

int CGridView::TypedTime(int timeMs, const CString& text)
{
    CClientDC dc(this);
    const int w = MeasureText(&dc, &m_nameFont, text).cx;
    const int t = timeMs + static_cast<int>(w / (m_geo.zoom * m_geo.pixelsPerMs) / 2);
    // A name typed at a row's end would reach into the next row.
    return m_typingRow >= 0 && m_typingRow < GetRowCount() ? TimeOnRow(m_typingRow, t) : ClampToSong(t);
}

void CGridView::EndTyping()
{
    m_typing = 0;
    m_caretIndex = 0;
    // Without the focus the caret is another window's (a lyric line's).
    if (::GetFocus() == m_hWnd)
        ::DestroyCaret();
}

void CGridView::FinishTyping(bool commit)
{
    if (commit && m_typing && !m_typed.IsEmpty() && m_typingTime >= 0)
        CommitTypedAt(m_typingTime);
    m_typed.Empty();
    m_typingTime = -1;
    EndTyping();
}

void CGridView::MoveCaret()
{
    CClientDC dc(this);
    const CSize before = MeasureText(&dc, &m_nameFont, m_typed.Left(m_caretIndex));
    const CPoint at = CaretPoint();
    ::SetCaretPos(at.x + before.cx, at.y);
}

void CGridView::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!GetRowCount() || !m_typing) {
        CKestrixViewBase::OnChar(nChar, nRepCnt, nFlags);
        return;
    }
    if (nChar == '\r') {
        if (!m_typed.IsEmpty())
            OnTypedEnter();
        EndTyping();
        Invalidate(FALSE);
        return;
    }
    if (nChar == '\b') {
        if (!m_typed.IsEmpty() && m_caretIndex > 0) {
            --m_caretIndex;
            m_typed.Delete(m_caretIndex, 1);
            MoveCaret();
            Invalidate(FALSE);
        }
        return;
    }
    if (nChar < ' ')
        return;
    m_typed.Insert(m_caretIndex, static_cast<char>(nChar));
    if (m_caretIndex < m_typed.GetLength())
        ++m_caretIndex;
    MoveCaret();
    CClientDC dc(this);
    const CSize size = MeasureText(&dc, &m_nameFont, m_typed);
    const CPoint at = CaretPoint();
    CRect area(at.x - 2, at.y, at.x + size.cx + 40, at.y + size.cy + 2);
    InvalidateRect(&area, FALSE);
}

void CGridView::PlayOrStop()
{
    CKestrixDoc* doc = Doc();
    IDocPanel* panel = GetDocHost()->GetControlPanel();
    if (doc->IsPlaying()) {
        if (panel)
            panel->OnStop();
        else
            doc->Stop(false);
    } else if (panel) {
        panel->OnPlay();
    } else {
        doc->Play(doc->IsLoopOn(), false);
    }
}

void CGridView::SeekBy(int deltaMs)
{
    CKestrixDoc* doc = Doc();
    doc->Seek(static_cast<int>(doc->GetPosition()) + deltaMs, true);
    UpdateCursor(true);
}

void CGridView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    CKestrixDoc* doc = Doc();
    if (!doc || !GetRowCount()) {
        CKestrixViewBase::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    const bool extended = (nFlags & KF_EXTENDED) != 0;
    IDocPanel* panel = GetDocHost()->GetControlPanel();
    const int skip = panel ? panel->GetSkipMs() : kDefaultSkipMs;
    switch (nChar) {
    case VK_SPACE:
        if (!m_typing)
            PlayOrStop();
        break;
    case VK_RETURN:
        if (extended && !m_typing)
            PlayOrStop();
        break;
    case VK_ESCAPE:
        if (m_dragging) {
            CancelDrag();
            if (GetCapture() == this)
                ReleaseCapture();
        }
        break;
    case VK_DELETE:
        if (!extended)
            break;
        DeleteSelected();
        // Delete also throws away what is being typed.
        m_typed.Empty();
        m_caretIndex = 0;
        if (m_typing) {
            MoveCaret();
            Invalidate(FALSE);
        }
        break;
    case VK_LEFT:
    case VK_RIGHT:
        if (!extended)
            break;
        if (m_typing) {
            if (nChar == VK_LEFT && m_caretIndex > 0)
                --m_caretIndex;
            if (nChar == VK_RIGHT && m_caretIndex < m_typed.GetLength())
                ++m_caretIndex;
            MoveCaret();
        } else {
            SeekBy(nChar == VK_LEFT ? -skip : skip);
        }
        break;
    case '0':
    case VK_NUMPAD0:
        if (!extended && !m_typing) {
            doc->Seek(0, true);
            UpdateCursor(true);
        }
        break;
    default:
        break;
    }
}
