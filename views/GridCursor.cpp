// The grid views' play cursor and times: where a time lies on the rows and
// which time lies under a point, the cursor timer, and the selection the
// mouse draws that becomes the loop.
#include "views/GridView.h"

#include <cstdlib>

#include "app/DocHost.h"
#include "app/KestrixDoc.h"
#include "views/KestrixEdit.h"

// --- Times ---

int CGridView::RowStartMs(int row) const { return RowStart(AllRows(), row); }

int CGridView::ClampToSong(int timeMs) const
{
    if (timeMs < 0)
        return 0;
    return timeMs > m_songLength ? m_songLength : timeMs;
}

int CGridView::RowOfTime(int timeMs) const { return RowHoldingTime(AllRows(), timeMs, nullptr); }

int CGridView::RowOfTimeOrLast(int timeMs) const
{
    const int row = RowOfTime(timeMs);
    return row < 0 ? GetRowCount() - 1 : row;
}

int CGridView::TimeToX(int timeMs) const
{
    int start = 0;
    const int r = RowHoldingTime(AllRows(), timeMs, &start);
    if (r < 0)
        return GetRowCount() ? GetGridRow(GetRowCount() - 1).lineEnd.x : 0;
    return static_cast<int>(GetGridRow(r).lineStart.x + (timeMs - start) * m_geo.zoom * m_geo.pixelsPerMs);
}

int CGridView::TimeAtPoint(int x, int y) const
{
    const int r = RowNearestY(AllRows(), y);
    if (r < 0)
        return 0;
    return m_geo.TimeAtX(x, GetScrollPosition().x, r, RowStartMs(r)) + m_timeBias;
}

// --- Cursor ---

void CGridView::PositionCursor()
{
    CKestrixDoc* doc = Doc();
    if (!doc || !GetRowCount())
        return;
    const int p = static_cast<int>(doc->GetPosition());
    const int row = RowOfTimeOrLast(p);
    m_cursorRow = row;
    const GridRow& r = GetGridRow(row);
    const int x = static_cast<int>(r.lineStart.x + (p - RowStartMs(row)) * m_geo.pixelsPerMs * m_geo.zoom);
    const int y = r.lineStart.y;
    const int w = m_cursorRect.Width(), h = m_cursorRect.Height();
    m_cursorRect = CRect(x, y - h / 2, x + w, y - h / 2 + h);
}

CRect CGridView::UpdateCursor(bool autoscroll)
{
    CKestrixDoc* doc = Doc();
    if (!doc || !GetRowCount() || !m_hWnd)
        return m_cursorRect;
    const int p = static_cast<int>(doc->GetPosition());
    if (p >= m_songLength && m_songLength > 0) {
        doc->Seek(m_songLength - 1, false);
        StopCursorTimer();
        return m_cursorRect;
    }
    const int row = RowOfTimeOrLast(p);
    if (autoscroll) {
        const int y = GetRowY(row);
        CRect client;
        GetClientRect(&client);
        const int x = TimeToX(p);
        if (y < client.top || y > client.bottom || x < client.left || x > client.right) {
            CPoint scroll = GetScrollPosition();
            if (y < client.top || y > client.bottom) {
                // The row's page gap and spacing above it stay in sight.
                scroll.y = m_geo.RowY(row, 0) - m_geo.RowSpacing(row / m_geo.rowsPerPage) - kPageGap;
            }
            if (x < client.left)
                scroll.x -= 70;
            else if (x > client.right)
                scroll.x += 70;
            ScrollToPosition(scroll);
            PlaceRows(m_geo.zoom, m_geo.zoom);
            Invalidate(FALSE);
        }
    }
    CRect old = m_cursorRect;
    old.InflateRect(2, 2);
    InvalidateRect(&old, FALSE);
    PositionCursor();
    InvalidateRect(&m_cursorRect, FALSE);
    return m_cursorRect;
}

void CGridView::StartCursorTimer()
{
    ::DestroyCaret();
    EnableScrollBarCtrl(false);
    m_timerPeriod = 10;
    if (CKestrixDoc* doc = Doc())
        m_lastPosition = static_cast<int>(doc->GetPosition());
    SetTimer(TIMER_PLAY_CURSOR, 10);
}

int CGridView::StopCursorTimer()
{
    EnableScrollBarCtrl(true);
    if (m_hWnd)
        KillTimer(TIMER_PLAY_CURSOR);
    m_timerPeriod = 0;
    CKestrixDoc* doc = Doc();
    return doc ? static_cast<int>(doc->GetPosition()) : 0;
}

void CGridView::EnableScrollBarCtrl(bool on)
{
    if (!m_hWnd)
        return;
    ::EnableScrollBar(m_hWnd, SB_BOTH, on ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
}

void CGridView::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != TIMER_PLAY_CURSOR) {
        CKestrixViewBase::OnTimer(nIDEvent);
        return;
    }
    CKestrixDoc* doc = Doc();
    if (!doc)
        return;
    const int p = static_cast<int>(doc->GetPosition());
    if (p >= m_songLength - 1) {
        doc->Seek(m_songLength, false);
        StopCursorTimer();
        return;
    }
    // Only ticks note the position: a repaint in between must not hide that
    // playback crossed the loop's end.
    const int previous = m_lastPosition;
    m_lastPosition = p;
    if (LoopJumpDue(doc->IsLoopOn(), m_selectionMode != 0, p, previous, m_loopEnd)) {
        doc->Seek(m_loopStart, true);
        return;
    }
    UpdateCursor(true);
}

void CGridView::Rewind()
{
    if (CKestrixDoc* doc = Doc())
        doc->Seek(0, false);
    ScrollToPosition(CPoint(0, 0));
}

// --- Selection and loop ---

void CGridView::AnchorSelection(int timeMs, int row)
{
    m_selStart = m_selEnd = timeMs;
    m_selStartRow = m_selEndRow = row;
    m_selStarted = 1;
    BuildSelectionBands();
}

void CGridView::ExtendSelection(const CPoint& point)
{
    if (!m_selStarted)
        return;
    const int found = RowWithinY(AllRows(), point.y, static_cast<int>(20 * m_geo.zoom));
    if (found >= 0)
        m_selEndRow = found;
    const GridRow& row = GetGridRow(m_selEndRow);
    int x = point.x;
    if (x < row.lineStart.x)
        x = row.lineStart.x;
    if (x > row.lineEnd.x)
        x = row.lineEnd.x;
    m_selEnd = TimeAtPoint(x, point.y);

    CPoint screen = point;
    ClientToScreen(&screen);
    CRect client;
    GetClientRect(&client);
    ClientToScreen(&client);
    CPoint scroll = GetScrollPosition();
    if (screen.x + 20 >= client.right)
        ++scroll.x;
    else if (screen.x - 20 <= client.left)
        --scroll.x;
    else if (screen.y - 20 <= client.top)
        --scroll.y;
    else if (screen.y + 20 >= client.bottom)
        ++scroll.y;
    if (scroll != GetScrollPosition())
        ScrollToPosition(scroll);

    if (m_selStart != m_selEnd && found >= 0) {
        SetSelectionMode(true);
        BuildSelectionBands();
        Invalidate(FALSE);
    }
}

void CGridView::FinishSelection(int timeUnderMouse)
{
    const bool shortRange =
        abs(m_selStart - m_selEnd) < 500 && (!ShortRangeWantsEndUnderMouse() || timeUnderMouse == m_selEnd);
    if (shortRange) {
        m_selectionMode = 0;
        DropBands();
        Invalidate(FALSE);
    }
    // Only a range drawn by this press is news for the panel: a click must
    // not switch back on a loop the user turned off.
    if (m_selectionMode && m_selStarted)
        if (IDocPanel* panel = GetDocHost()->GetControlPanel())
            panel->SetLoopState(true);
    m_selStarted = 0;
}

void CGridView::ClearSelection(bool tellPanel)
{
    DropBands();
    m_selectionMode = 0;
    if (IDocPanel* panel = tellPanel ? GetDocHost()->GetControlPanel() : nullptr)
        panel->SetLoopState(false);
    m_selStart = m_selEnd = 0;
    m_selStarted = 0;
    Invalidate(FALSE);
}

void CGridView::DropBands() { m_bands.clear(); }

void CGridView::SetSelectionMode(bool on)
{
    m_selectionMode = on ? 1 : 0;
    if (!on)
        return;
    m_loopStart = m_selStart < m_selEnd ? m_selStart : m_selEnd;
    m_loopEnd = m_selStart < m_selEnd ? m_selEnd : m_selStart;
    if (CKestrixDoc* doc = Doc())
        doc->Seek(m_loopStart, true);
}

void CGridView::FitSelectionToRows()
{
    if (!GetRowCount())
        return;
    m_selStartRow = RowOfTimeOrLast(m_selStart);
    m_selEndRow = RowOfTimeOrLast(m_selEnd);
}

void CGridView::BuildSelectionBands()
{
    m_bands.clear();
    const int count = GetRowCount();
    if (m_selStart == m_selEnd || !count)
        return;
    const int half = static_cast<int>(15 * m_geo.zoom);
    auto band = [&](int row, int x0, int x1) {
        const int y = GetGridRow(row).lineStart.y;
        m_bands.push_back(CRect(x0 < x1 ? x0 : x1, y - half, x0 < x1 ? x1 : x0, y + half));
    };
    auto valid = [count](int row) { return row < 0 ? 0 : (row >= count ? count - 1 : row); };
    const int a = valid(m_selStartRow), b = valid(m_selEndRow);
    if (a == b) {
        band(a, TimeToX(m_selStart < m_selEnd ? m_selStart : m_selEnd),
             TimeToX(m_selStart < m_selEnd ? m_selEnd : m_selStart));
        return;
    }
    const int lo = a < b ? a : b, hi = a < b ? b : a;
    const int loTime = a < b ? m_selStart : m_selEnd, hiTime = a < b ? m_selEnd : m_selStart;
    for (int r = lo; r < hi; ++r)
        band(r, r == lo ? TimeToX(loTime) : GetGridRow(r).lineStart.x, GetGridRow(r).lineEnd.x);
    band(hi, GetGridRow(hi).lineStart.x, TimeToX(hiTime));
}
