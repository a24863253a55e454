#pragma once
// What the chord grid and the bass tablature share: the pages on the desk,
// the rows with their lyric edits and the title, the painting, scrolling,
// the play cursor, the loop, typing, keys and the mouse. The page and row
// arithmetic itself is PageModel's. The work is split by job:
// GridView.cpp (rows, hints, lyrics), GridPaint.cpp (painting, printing),
// GridCursor.cpp (times, cursor, selection and loop), GridTyping.cpp
// (typing and keys), GridMouse.cpp (the mouse).
#include <vector>

#include "framework/Gdi.h"
#include "views/PageModel.h"
#include "views/ViewBase.h"

class CKestrixDoc;
class CKestrixEdit;

// Command ids the views answer.
#ifndef ID_EDIT_COPY
#define ID_EDIT_COPY 0xE122
#define ID_EDIT_CUT 0xE123
#define ID_EDIT_PASTE 0xE125
#endif
constexpr UINT_PTR TIMER_PLAY_CURSOR = 77;

class CGridView : public CKestrixViewBase {
    DECLARE_DYNAMIC(CGridView)
public:
    CGridView();
    ~CGridView() override;

    void BuildRows(int songMs);
    void LayoutPages();
    void PlaceRows(float hZoom, float vZoom);
    int GetRowY(int row) const;
    void SaveScrollPosition();
    void ClearPageLayout() { m_layoutBuilt = false; }
    bool IsLayoutBuilt() const { return m_layoutBuilt; }
    const PageGeometry& Geometry() const { return m_geo; }
    int GetSongLength() const { return m_songLength; }

    // The cursor.
    CRect UpdateCursor(bool autoscroll);
    void PositionCursor();
    CRect GetCursorRect() const { return m_cursorRect; }
    int TimeToX(int timeMs) const;
    // Song time under a client point: the row whose line is nearest.
    int TimeAtPoint(int x, int y) const;
    // The row holding a time (a boundary belongs to the earlier row), -1 past the end.
    int RowOfTime(int timeMs) const;
    // The same, the last row for a time past the end.
    int RowOfTimeOrLast(int timeMs) const;
    int RowStartMs(int row) const;
    // A time within the rows: a chord or note stored outside them could
    // never be shown, picked or deleted.
    int ClampToSong(int timeMs) const;

    void OnDraw(CDC* pDC) override;
    void DrawPage(int page, const GridRect& visible, const GridRect& pageRect, CDC* pDC, float hZoom, float vZoom,
                  bool printing);
    void DrawEmptyPage(int page, const GridRect& visible, const GridRect& pageRect, CDC* pDC, float hZoom,
                       float vZoom);

    // Play cursor timer, selection and loop.
    void StartCursorTimer();
    int StopCursorTimer();
    void BuildSelectionBands();
    void DrawSelection(CDC* pDC);
    void SetSelectionMode(bool on);
    bool IsSelectionMode() const { return m_selectionMode != 0; }
    int GetLoopStart() const { return m_loopStart; }
    int GetLoopEnd() const { return m_loopEnd; }
    const std::vector<CRect>& GetSelectionBands() const { return m_bands; }
    bool IsCursorTimerRunning() const { return m_timerPeriod != 0; }
    const CString& GetTypedText() const { return m_typed; }
    // The selected item (chord or note): its index in its row and the row.
    int GetSelectedIndex() const { return m_selIndex; }
    int GetSelectedRow() const { return m_selRow; }
    bool IsTyping() const { return m_typing != 0; }
    void Rewind();

    // Printing: every page of rows at zoom 1, scaled onto the paper.
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    bool IsPrintLayout() const { return m_printLayout; }

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void OnInitialUpdate() override;

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnDestroy();
    afx_msg void OnFilePrintPreview();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg LRESULT OnLyricNavigate(WPARAM wParam, LPARAM lParam);
    afx_msg void OnEditCut();
    afx_msg void OnEditCopy();
    afx_msg void OnEditPaste();
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnCancelMode();

protected:
    // The rows of the view, geometry first; the views add their items.
    virtual int GetRowCount() const = 0;
    virtual GridRow& GetGridRow(int row) = 0;
    const GridRow& GetGridRow(int row) const { return const_cast<CGridView*>(this)->GetGridRow(row); }
    virtual void ResetRows(const std::vector<RowSpec>& specs) = 0;
    // The rows as PageModel's lookups take them.
    struct RowList {
        const CGridView* view;
        size_t size() const { return static_cast<size_t>(view->GetRowCount()); }
        const GridRow& operator[](size_t i) const { return view->GetGridRow(static_cast<int>(i)); }
    };
    RowList AllRows() const { return RowList{this}; }
    // Control ids of the row edits: 79000 (chords) or 78000 (tab) + row.
    virtual int RowEditIdBase() const = 0;
    virtual int NameFontSize() const = 0;
    // What each view draws on a row, after the line, ticks and lyric line.
    virtual void DrawRowStrings(CDC* pDC, int row, float zoom) {}
    virtual void DrawRowItems(CDC* pDC, int row, float zoom) {}
    // The text being typed, at its caret.
    void DrawTyping(CDC* pDC);
    // Results the view asks the document to send again in its initial update.
    virtual void RequestResultHints() {}

    // The selection as the mouse draws it: a click anchors, moves extend,
    // the release decides whether it is a loop.
    void AnchorSelection(int timeMs, int row);
    void ExtendSelection(const CPoint& point);
    void FinishSelection(int timeUnderMouse);
    // The chord view keeps a short range that was released away from its end.
    virtual bool ShortRangeWantsEndUnderMouse() const { return false; }
    // Drops the selection and the loop; tellPanel also turns the loop off
    // for playback.
    void ClearSelection(bool tellPanel = true);
    void DropBands();
    // The selection's rows again from its times, for rows laid out anew.
    void FitSelectionToRows();

    // Typing at a caret above a line: a chord name or a fret number.
    virtual void OnTypedEnter() = 0;   // Enter with text typed
    virtual void DeleteSelected() = 0; // the Delete key, before the typed text goes
    virtual void OnZoomTyping() {}
    // Typing at a caret (client point) on a row, at a time of that row.
    void StartTyping(const CPoint& caret, int timeMs, int row);
    void EndTyping();
    // Pending typed text goes in at its place (commit) or is dropped.
    void FinishTyping(bool commit);
    void MoveCaret();
    // The caret's client point: it stays on the page however the view scrolls.
    CPoint CaretPoint() const
    {
        const CPoint scroll = GetScrollPosition();
        return CPoint(m_caretPos.x - scroll.x, m_caretPos.y - scroll.y);
    }
    // Where a text typed at a time lands: under the centre of the text, on
    // the row it was typed on.
    int TypedTime(int timeMs, const CString& text);
    int NameHeight() const { return static_cast<int>(NameFontSize() * m_geo.zoom); }
    void PlayOrStop();
    void SeekBy(int deltaMs);

    // Item selection, shared by chords and notes.
    void SelectItem(int index, int row)
    {
        m_selIndex = index;
        m_selRow = row;
    }
    void ClearItemSelection()
    {
        m_selIndex = -1;
        m_selRow = -1;
        m_dragging = 0;
    }
    bool IsItemSelected(int index, int row) const { return index == m_selIndex && row == m_selRow; }
    // The song time of the selected item, -1 when nothing valid is selected.
    int SelectedItemTime() const;
    // The selected item's place in the document's list the rows were
    // distributed from, -1 when nothing valid is selected.
    template <class Items> int SelectedInList(const Items& items) const
    {
        const int time = SelectedItemTime();
        const int i = time < 0 ? -1 : ItemOnRow(AllRows(), items, m_selRow, m_selIndex);
        return i >= 0 && items[static_cast<size_t>(i)].time == time ? i : -1;
    }
    // The pitch lists under the mouse: times and packed codes of equal length.
    void SetPitchList(const std::vector<int>& times, const std::vector<int>& codes);
    void ClearPitchList();
    // The packed code sounding within 50 ms of a time; -1 for none.
    int PitchCodeNear(int timeMs) const;
    // Button down on a time line: seek there and anchor a selection.
    void SeekOnTimeLine(const CPoint& point);
    // The row whose time line is nearest to a client y.
    int NearestRow(int y) const;
    // The row the mouse hovers for the pitches under it, -1 for none.
    int HoverRow(const CPoint& point) const;

    // What each view adds to the mouse road.
    // Pending typed text is committed at a time (a press elsewhere).
    virtual void CommitTypedAt(int timeMs) = 0;
    // A press while stopped: select the item under the point or start typing.
    virtual void PickAt(const CPoint& point) = 0;
    // Where the selected item is drawn while dragged to x on a row.
    virtual CRect DragRectAt(int row, int x) = 0;
    // The selected item dropped at a song time.
    virtual void MoveSelectedTo(int timeMs) = 0;
    // Where a dragged item stands for a mouse point: the nearest row that
    // covers time, x within its line. The preview and the drop both use it.
    int DropRow(const CPoint& point, int* x) const;
    // A release at a point would drop there: on the view itself.
    bool DropsHere(const CPoint& point) const;
    // The time an item dropped at x on a row takes: one the row shows.
    int DropTime(int row, int x) const;
    // A time kept within those a row shows (its start belongs to the row before).
    int TimeOnRow(int row, int timeMs) const;
    // A drag ends without moving anything: released outside the view,
    // Escape, or the mouse taken away.
    void CancelDrag();
    // The names of a packed pitch code under the mouse, for the tools panel.
    virtual CString PitchText(int code) const = 0;
    // Every move, with or without the button, after the road's own work.
    virtual void OnHover(const CPoint& point) {}

    // Hints both views handle alike; false for the others. Audio hints
    // rebuild the rows; reloadResults runs the view's result reload.
    bool OnGridHint(LPARAM hint, CObject* pHint);
    virtual void ReloadResults() = 0;
    // New audio: the view's results are gone until the next result hint.
    virtual void ResultsGone() {}
    virtual void OnRowsRebuilt() {}
    // The edits' window-handle lookup: the row of an edit, -1 for none
    // (the title edit is not a row).
    int RowOfEdit(HWND edit) const;
    // Focus to a row's edit, scrolled into sight; caretAtEnd when the user
    // came back from the row below.
    void FocusRowEdit(int row, bool caretAtEnd = false);
    void FocusEdit(CKestrixEdit& edit, int top, int bottom, bool caretAtEnd);
    // Scrolls the least that shows client rows top to bottom.
    void ScrollIntoView(int top, int bottom);
    void SendToFocusedEdit(UINT message);
    CKestrixDoc* Doc() const;
    // Where the rows are drawn from: the scroll position, or the unscrolled
    // pages while printing.
    CPoint DrawOrigin() const { return m_printLayout ? CPoint(0, 0) : GetScrollPosition(); }

    PageGeometry m_geo;
    int m_songLength;
    bool m_layoutBuilt;
    bool m_printLayout;
    bool m_showBarNumbers;
    CRect m_cursorRect;
    int m_cursorRow;
    int m_lastPosition;
    CString m_typed;
    CPoint m_caretPos; // on the page: client point plus scroll position
    int m_caretIndex;
    BYTE m_typing;
    int m_typingTime;
    int m_typingRow;
    int m_timerPeriod;
    int m_timeBias; // the chord view's time under a point is 1 ms later
    int m_selIndex, m_selRow;
    BYTE m_dragging;
    CRect m_dragRect; // the dragged item's rectangle
    std::vector<int> m_pitchTimes, m_pitchCodes;
    int m_selStart, m_selEnd, m_selStartRow, m_selEndRow;
    BYTE m_selStarted;
    BYTE m_selectionMode;
    int m_loopStart, m_loopEnd;
    int m_songSerial; // the document's song this view has seen
    std::vector<CRect> m_bands;
    CFont m_nameFont, m_lyricFont, m_barFont;
    CPen m_bandPen, m_linePen, m_dotPen;

private:
    void RecreateGdi();
    void EnableScrollBarCtrl(bool on);
    void HideSurplusEdits(size_t rows);
    void DrawTitle(CDC* pDC, const GridRect& pageRect, bool printing);
    void DragSelectedTo(const CPoint& point);

    // Moves with the left button held, one count for all grid views.
    static int s_moveCount;

    DECLARE_MESSAGE_MAP()
};

// Width of a text in a font, measured on a screen context.
CSize MeasureText(CDC* pDC, CFont* font, const CString& text);
