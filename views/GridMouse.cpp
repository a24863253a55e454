// The one mouse road of both grid views: a press seeks, anchors a selection
// and lets the view pick what lies under the point; from the seventh move
// with the button held the view captures the mouse and the picked item is
// dragged; moves extend the selection; the release moves the item and
// decides whether the range is a loop. The views supply what lies under a
// point, where a dragged item is drawn and what a drop does.
#include "views/GridView.h"

#include <cstdlib>

#include "app/DocHost.h"
#include "app/KestrixDoc.h"

namespace {
constexpr int kDragMoves = 7;
} // namespace

int CGridView::s_moveCount = 0;

void CGridView::OnLButtonDown(UINT nFlags, CPoint point)
{
    CKestrixDoc* doc = Doc();
    FinishTyping(true);
    SetFocus();
    m_selStarted = 0;
    if (!doc || !GetRowCount()) {
        CKestrixViewBase::OnLButtonDown(nFlags, point);
        return;
    }
    SeekOnTimeLine(point);
    ClearItemSelection();
    if (!doc->IsPlaying())
        PickAt(point);
    m_typed.Empty();
    Invalidate(FALSE);
}

void CGridView::OnMouseMove(UINT nFlags, CPoint point)
{
    CKestrixDoc* doc = Doc();
    if (!doc || !GetRowCount()) {
        CKestrixViewBase::OnMouseMove(nFlags, point);
        return;
    }
    if (nFlags & MK_LBUTTON) {
        // The capture lets the release reach this view wherever it happens.
        if (++s_moveCount >= kDragMoves) {
            if (GetCapture() != this)
                SetCapture();
            if (m_selIndex >= 0)
                DragSelectedTo(point);
        }
        if (!m_dragging && m_selStarted)
            ExtendSelection(point);
    } else {
        s_moveCount = 0;
        CString pitches;
        if (HoverRow(point) >= 0) {
            const int code = PitchCodeNear(TimeAtPoint(point.x, point.y));
            if (code >= 0)
                pitches = PitchText(code);
        }
        GetDocHost()->SetToolsPanelText(pitches);
    }
    OnHover(point);
}

int CGridView::DropRow(const CPoint& point, int* x) const
{
    int r = NearestRow(point.y);
    // A last row of no length shows nothing: its time is the end of the row before.
    if (r > 0 && GetGridRow(r).length == 0)
        --r;
    const GridRow& row = GetGridRow(r);
    *x = point.x < row.lineStart.x ? row.lineStart.x : (point.x > row.lineEnd.x ? row.lineEnd.x : point.x);
    return r;
}

int CGridView::DropTime(int row, int x) const
{
    return TimeOnRow(row, m_geo.TimeAtX(x, GetScrollPosition().x, row, RowStartMs(row)));
}

int CGridView::TimeOnRow(int row, int timeMs) const
{
    const int start = RowStartMs(row);
    // A time on a row's start belongs to the row before.
    const int lo = row > 0 ? start + 1 : start, hi = start + GetGridRow(row).length;
    return timeMs < lo ? lo : (timeMs > hi ? hi : timeMs);
}

void CGridView::CancelDrag()
{
    if (!m_dragging)
        return;
    // The item stays where it was; deselected, so that further moves of the
    // held button do not pick the drag up again.
    ClearItemSelection();
    Invalidate(FALSE);
}

void CGridView::OnCaptureChanged(CWnd* pWnd)
{
    CancelDrag();
    CKestrixViewBase::OnCaptureChanged(pWnd);
}

void CGridView::OnCancelMode()
{
    CKestrixViewBase::OnCancelMode();
    CancelDrag();
    if (GetCapture() == this)
        ReleaseCapture();
}

bool CGridView::DropsHere(const CPoint& point) const
{
    // Over another window or off the view a drop has no place.
    CPoint screen = point;
    ClientToScreen(&screen);
    const HWND under = ::WindowFromPoint(screen);
    CRect client;
    GetClientRect(&client);
    return client.PtInRect(point) && (under == m_hWnd || ::IsChild(m_hWnd, under));
}

void CGridView::DragSelectedTo(const CPoint& point)
{
    const CRect old = m_dragRect;
    // Where a release would leave it: at its own place when the drop
    // would be no drop.
    int row = m_selRow, x = TimeToX(SelectedItemTime());
    if (DropsHere(point))
        row = DropRow(point, &x);
    m_dragRect = DragRectAt(row, x);
    if (!m_dragging) {
        m_dragging = 1;
        Invalidate(FALSE);
    } else {
        InvalidateRect(&old, FALSE);
        InvalidateRect(&m_dragRect, FALSE);
    }
}

void CGridView::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_dragging) {
        if (DropsHere(point)) {
            m_dragging = 0;
            int x = 0;
            const int row = DropRow(point, &x);
            MoveSelectedTo(DropTime(row, x));
        } else {
            CancelDrag();
        }
    }
    FinishSelection(TimeAtPoint(point.x, point.y));
    s_moveCount = 0;
    if (GetCapture() == this)
        ReleaseCapture();
    Invalidate(FALSE);
    CKestrixViewBase::OnLButtonUp(nFlags, point);
}

void CGridView::OnLButtonDblClk(UINT, CPoint)
{
    ClearItemSelection();
    ClearSelection();
}

int CGridView::SelectedItemTime() const
{
    if (m_selRow < 0 || m_selRow >= GetRowCount())
        return -1;
    const std::vector<int>& offsets = GetGridRow(m_selRow).offsets;
    if (m_selIndex < 0 || m_selIndex >= static_cast<int>(offsets.size()))
        return -1;
    return RowStartMs(m_selRow) + offsets[static_cast<size_t>(m_selIndex)];
}

// --- What lies under the mouse ---

void CGridView::SetPitchList(const std::vector<int>& times, const std::vector<int>& codes)
{
    if (times.size() != codes.size())
        return;
    m_pitchTimes = times;
    m_pitchCodes = codes;
}

void CGridView::ClearPitchList()
{
    m_pitchTimes.clear();
    m_pitchCodes.clear();
}

int CGridView::PitchCodeNear(int timeMs) const
{
    for (size_t i = 0; i < m_pitchTimes.size(); ++i)
        if (abs(m_pitchTimes[i] - timeMs) < 50)
            return m_pitchCodes[i];
    return -1;
}

void CGridView::SeekOnTimeLine(const CPoint& point)
{
    const int r = RowWithinY(AllRows(), point.y, static_cast<int>(7 * m_geo.zoom));
    if (r < 0)
        return;
    const GridRow& row = GetGridRow(r);
    if (point.x <= row.lineStart.x || point.x >= row.lineEnd.x)
        return;
    const int t = m_geo.TimeAtX(point.x, GetScrollPosition().x, r, RowStartMs(r));
    Doc()->Seek(t, true);
    if (!m_selectionMode)
        AnchorSelection(t, r);
    UpdateCursor(false);
    Invalidate(FALSE);
}

int CGridView::NearestRow(int y) const
{
    const int r = RowNearestY(AllRows(), y);
    return r < 0 ? 0 : r;
}

int CGridView::HoverRow(const CPoint& point) const
{
    for (int r = 0; r < GetRowCount(); ++r) {
        const GridRow& row = GetGridRow(r);
        const int y = row.lineStart.y;
        const int spacing = m_geo.RowSpacing(r / m_geo.rowsPerPage);
        if (point.y > y - spacing / 2 && point.y < y + static_cast<int>(20 * m_geo.zoom) &&
            point.x >= row.lineStart.x && point.x <= row.lineEnd.x)
            return r;
    }
    return -1;
}
