// The grid views' rows and their edits: building and laying out the rows
// for the song, the document's hints, scrolling, and the lyric lines.
#include "views/GridView.h"

#include "app/DocHost.h"
#include "app/KestrixDoc.h"
#include "views/KestrixEdit.h"

IMPLEMENT_DYNAMIC(CGridView, CKestrixViewBase)

BEGIN_MESSAGE_MAP(CGridView, CKestrixViewBase)
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_WM_DESTROY()
    ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
    ON_COMMAND(ID_PRINT_PREVIEW_COMMAND, OnFilePrintPreview)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnFilePrintPreview)
    ON_WM_TIMER()
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_WM_SETFOCUS()
    ON_MESSAGE(WM_LYRIC_NAVIGATE, OnLyricNavigate)
    ON_COMMAND(ID_EDIT_CUT, OnEditCut)
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_CAPTURECHANGED()
    ON_WM_CANCELMODE()
END_MESSAGE_MAP()


namespace {
// Any non-null object tells the views that the hint is their own initial
// update, which keeps their selection.
class CInitialUpdateMarker : public CObject {};
CInitialUpdateMarker g_initialUpdateMarker;
} // namespace

CSize MeasureText(CDC* pDC, CFont* font, const CString& text)
{
    CFont* old = pDC->SelectObject(font);
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(pDC->GetSafeHdc(), text, text.GetLength(), &size);
    pDC->SelectObject(old);
    return CSize(size.cx, size.cy);
}

CGridView::CGridView()
    : m_songLength(0), m_layoutBuilt(false), m_printLayout(false), m_showBarNumbers(true), m_cursorRect(0, 0, 2, 30), m_cursorRow(0),
      m_lastPosition(0), m_caretIndex(0), m_typing(0), m_typingTime(-1), m_typingRow(-1), m_timerPeriod(0), m_timeBias(1), m_selIndex(-1), m_selRow(-1), m_dragging(0), m_selStart(0), m_selEnd(0), m_selStartRow(0), m_selEndRow(0),
      m_selStarted(0), m_selectionMode(0), m_loopStart(0), m_loopEnd(0), m_songSerial(0)
{
    m_geo.rowsPerPage = 8;
}

CGridView::~CGridView() {}

CKestrixDoc* CGridView::Doc() const { return m_pOwnerDoc; }

BOOL CGridView::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style |= WS_MAXIMIZE | WS_HSCROLL | WS_VSCROLL;
    return CKestrixViewBase::PreCreateWindow(cs);
}

// --- Rows and layout ---

void CGridView::BuildRows(int songMs)
{
    CKestrixDoc* doc = Doc();
    if (!doc)
        return;
    // A row length changed since the last layout: the widths belong to the
    // new one.
    const CSize screen = GetScreenSize();
    m_geo.Layout(screen.cx, screen.cy, doc->GetZoom(), doc->GetRowLength(), doc->GetRowsPerPage(), m_geo.pageCount);
    int pages = 0;
    const std::vector<RowSpec> specs = MakeRows(songMs, m_geo.rowMs, m_geo.rowsPerPage, m_geo.pixelsPerMs, pages);
    ResetRows(specs);
    doc->SetPageCount(pages);
    m_geo.pageCount = pages;
    m_songLength = songMs;
    LayoutPages();

    std::vector<CKestrixEdit*>& edits = doc->GetLyricEdits();
    const bool fresh = edits.empty();
    for (size_t i = 0; i < edits.size(); ++i)
        if (edits[i] && edits[i]->m_hWnd && edits[i]->GetParent() != this)
            edits[i]->SetParent(this);
    // More rows than edits (the row length shrank): new edits for the new
    // rows; fewer: the surplus edits are hidden with their text kept.
    const RECT empty = {0, 0, 0, 0};
    for (size_t i = edits.size(); i < specs.size(); ++i) {
        auto* e = new CKestrixEdit;
        e->Create(WS_CHILD | WS_VISIBLE | ES_LEFT, empty, this, static_cast<UINT>(RowEditIdBase() + i));
        e->SetFont(&m_lyricFont, FALSE);
        if (i == 0 && fresh && RowEditIdBase() == 79000)
            e->SetWindowText(GetDocHost()->GetLangString(0));
        edits.push_back(e);
    }
    HideSurplusEdits(specs.size());

    CKestrixEdit& title = doc->GetTitleEdit();
    const bool made = !title.m_hWnd;
    if (!made) {
        if (title.GetParent() != this)
            title.SetParent(this);
    } else {
        title.Create(WS_CHILD | WS_VISIBLE | ES_CENTER, empty, this, static_cast<UINT>(79000 + specs.size()));
    }
    title.SetFont(&m_lyricFont, FALSE);
    // A new song takes its title; so does the edit made for a document read
    // from a file, whether or not its song could be loaded again.
    if (fresh || made)
        title.SetWindowText(doc->GetTitle());
    m_layoutBuilt = true;
}

void CGridView::HideSurplusEdits(size_t rows)
{
    CKestrixDoc* doc = Doc();
    std::vector<CKestrixEdit*>& edits = doc->GetLyricEdits();
    for (size_t i = 0; i < edits.size(); ++i) {
        CKestrixEdit* e = edits[i];
        // Only a change is asked of the system: each call is a round trip
        // to it, for every row of the song.
        if (!e || !e->m_hWnd || ((e->GetStyle() & WS_VISIBLE) != 0) == (i < rows))
            continue;
        e->ShowWindow(i < rows ? SW_SHOWNA : SW_HIDE);
    }
}

void CGridView::LayoutPages()
{
    CKestrixDoc* doc = Doc();
    if (!doc)
        return;
    const CSize screen = GetScreenSize();
    m_geo.Layout(screen.cx, screen.cy, doc->GetZoom(), doc->GetRowLength(), doc->GetRowsPerPage(), m_geo.pageCount);
    // Start-up writes the settings' defaults after the first document exists.
    m_showBarNumbers = GetDocHost()->GetViewBarCount();
    RecreateGdi();

    const CRect old = m_cursorRect;
    m_cursorRect = CRect(old.left, old.top, old.left + m_geo.Zoomed(4), old.top + m_geo.Zoomed(50));
    if (m_hWnd)
        InvalidateRect(&old, FALSE);

    SetScrollSizes(MM_TEXT, CSize(m_geo.scrollW, m_geo.scrollH));
    // Only edits without the font are told: a message each, for every row.
    const WPARAM lyricFont = reinterpret_cast<WPARAM>(m_lyricFont.GetSafeHandle());
    for (CKestrixEdit* e : doc->GetLyricEdits())
        if (e && e->m_hWnd && static_cast<WPARAM>(e->SendMessage(WM_GETFONT)) != lyricFont)
            e->SetFont(&m_lyricFont, FALSE);
    if (doc->GetTitleEdit().m_hWnd)
        doc->GetTitleEdit().SetFont(&m_lyricFont, FALSE);
    if (m_hWnd)
        Invalidate(FALSE);
    PlaceRows(m_geo.zoom, m_geo.zoom);
    PositionCursor();
    FitSelectionToRows();
}

void CGridView::PlaceRows(float, float)
{
    const CPoint scroll = DrawOrigin();
    for (int r = 0; r < GetRowCount(); ++r) {
        GridRow& row = GetGridRow(r);
        const int y = m_geo.RowY(r, scroll.y);
        const int x0 = m_geo.RowX0(r, scroll.x);
        row.lineStart = GridPoint{x0, y};
        row.lineEnd = GridPoint{m_geo.RowX1(x0, row.width), y};
    }
}

int CGridView::GetRowY(int row) const
{
    if (row < 0 || row >= GetRowCount())
        return 0;
    return m_geo.RowY(row, GetScrollPosition().y);
}

void CGridView::SaveScrollPosition()
{
    if (CKestrixDoc* doc = Doc()) {
        const CPoint p = GetScrollPosition();
        doc->SetScrollPos(p.x, p.y);
    }
}

// --- Updates and scrolling ---

void CGridView::OnInitialUpdate()
{
    CKestrixViewBase::OnInitialUpdate();
    IDocHost* host = GetDocHost();
    CKestrixDoc* doc = Doc();
    if (doc) {
        LayoutPages();
        ScrollToPosition(CPoint(doc->GetScrollX(), doc->GetScrollY()));
        m_showBarNumbers = host->GetViewBarCount();
        if (doc->GetTotalLength() > 0)
            doc->UpdateAllViews(nullptr, HINT_AUDIO_LOADED, &g_initialUpdateMarker);
        RequestResultHints();
    }
    host->ShowToolWindows(true, false);
}

bool CGridView::OnGridHint(LPARAM hint, CObject* pHint)
{
    CKestrixDoc* doc = Doc();
    if (!doc)
        return false;
    switch (hint) {
    case HINT_PLAY_STARTED:
        StartCursorTimer();
        return true;
    case HINT_PLAY_STOPPED:
        StopCursorTimer();
        return true;
    case HINT_AUDIO_LOADED:
    case HINT_RELOAD_ALL:
        StopCursorTimer();
        // What was typed belongs to rows that are gone.
        FinishTyping(false);
        BuildRows(doc->GetTotalLength());
        OnRowsRebuilt();
        UpdateCursor(false);
        if (!pHint || doc->GetSongSerial() != m_songSerial) {
            // A new song, here or while this view was hidden: the selection
            // and loop of the old one mean nothing. The document's own hint
            // also turns the loop off for playback.
            m_selStartRow = m_selEndRow = 0;
            ClearSelection(!pHint);
        }
        m_songSerial = doc->GetSongSerial();
        ClearPitchList();
        if (hint == HINT_RELOAD_ALL) {
            ReloadResults();
            m_layoutBuilt = doc->HasAudio();
        } else {
            ResultsGone();
        }
        Invalidate(FALSE);
        return true;
    case HINT_MODE_CHANGED:
        ReloadResults();
        Invalidate(FALSE);
        return true;
    case HINT_POSITION_CHANGED:
        if (doc->IsPlaying())
            StartCursorTimer();
        UpdateCursor(true);
        return true;
    case HINT_ZOOM_CHANGED:
        EndTyping();
        OnZoomTyping();
        if (doc)
            for (CKestrixEdit* e : doc->GetLyricEdits())
                if (e && e->m_hWnd)
                    e->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
        SetFocus();
        LayoutPages();
        return true;
    case HINT_LAYOUT_CHANGED:
        // A document without a song keeps its blank page.
        if (!doc->HasAudio() && !GetRowCount()) {
            LayoutPages();
            return true;
        }
        // Typed text goes in at its time while its row still stands; new
        // rows hold nothing: the results are laid out on them again.
        FinishTyping(true);
        BuildRows(doc->GetTotalLength());
        ReloadResults();
        UpdateCursor(false);
        Invalidate(FALSE);
        return true;
    case HINT_BAR_NUMBERS_CHANGED:
        m_showBarNumbers = GetDocHost()->GetViewBarCount();
        Invalidate(FALSE);
        return true;
    case HINT_SAVE_SCROLL:
        SaveScrollPosition();
        return true;
    default:
        return false;
    }
}

void CGridView::OnSize(UINT nType, int cx, int cy)
{
    CKestrixViewBase::OnSize(nType, cx, cy);
    if (Doc()) {
        UpdateCursor(false);
        Invalidate(FALSE);
    }
}

void CGridView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    UpdateCursor(false);
    Invalidate(FALSE);
    CKestrixViewBase::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CGridView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    UpdateCursor(false);
    Invalidate(FALSE);
    CKestrixViewBase::OnVScroll(nSBCode, nPos, pScrollBar);
}

BOOL CGridView::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    const BOOL r = CKestrixViewBase::OnMouseWheel(nFlags, zDelta, pt);
    CKestrixDoc* doc = Doc();
    if (doc && !doc->IsPlaying()) {
        PlaceRows(m_geo.zoom, m_geo.zoom);
        UpdateCursor(false);
        Invalidate(FALSE);
    }
    return r;
}

void CGridView::OnDestroy()
{
    CKestrixViewBase::OnDestroy();
    SaveScrollPosition();
}

// --- Lyrics and clipboard ---

int CGridView::RowOfEdit(HWND edit) const
{
    CKestrixDoc* doc = Doc();
    if (!doc || !edit)
        return -1;
    const std::vector<CKestrixEdit*>& edits = doc->GetLyricEdits();
    for (size_t i = 0; i < edits.size(); ++i)
        if (edits[i] && edits[i]->m_hWnd == edit)
            return static_cast<int>(i);
    return -1;
}

void CGridView::FocusRowEdit(int row, bool caretAtEnd)
{
    CKestrixDoc* doc = Doc();
    if (!doc || row < 0 || row >= GetRowCount() || row >= static_cast<int>(doc->GetLyricEdits().size()))
        return;
    CKestrixEdit* e = doc->GetLyricEdits()[static_cast<size_t>(row)];
    if (!e || !e->m_hWnd)
        return;
    // From the time line down to the lyric's dotted line.
    const int y = GetGridRow(row).lineStart.y;
    FocusEdit(*e, y - m_geo.Zoomed(7), y + m_geo.Zoomed(kLyricOffset + 4) + m_geo.Zoomed(kLyricFontSize) + 2,
              caretAtEnd);
}

void CGridView::FocusEdit(CKestrixEdit& edit, int top, int bottom, bool caretAtEnd)
{
    // The user never types where the page cannot be seen.
    ScrollIntoView(top, bottom);
    ::DestroyCaret();
    edit.SetFocus();
    if (caretAtEnd) {
        const int end = edit.GetWindowTextLength();
        edit.SetSel(end, end);
    }
}

void CGridView::ScrollIntoView(int top, int bottom)
{
    CRect client;
    GetClientRect(&client);
    CPoint scroll = GetScrollPosition();
    if (top < client.top)
        scroll.y += top - client.top;
    else if (bottom > client.bottom)
        scroll.y += bottom - client.bottom < top - client.top ? bottom - client.bottom : top - client.top;
    if (scroll == GetScrollPosition())
        return;
    ScrollToPosition(scroll);
    PlaceRows(m_geo.zoom, m_geo.zoom);
    UpdateCursor(false);
    Invalidate(FALSE);
    // The edits take their places from the painting.
    UpdateWindow();
}

void CGridView::SendToFocusedEdit(UINT message)
{
    CKestrixDoc* doc = Doc();
    if (!doc)
        return;
    for (CKestrixEdit* e : doc->GetLyricEdits())
        if (e && e->m_hWnd && e->HasFocus())
            e->SendMessage(message);
    CKestrixEdit& title = doc->GetTitleEdit();
    if (title.m_hWnd && title.HasFocus())
        title.SendMessage(message);
}

void CGridView::OnSetFocus(CWnd* pOldWnd)
{
    CKestrixViewBase::OnSetFocus(pOldWnd);
    m_typed.Empty();
}

LRESULT CGridView::OnLyricNavigate(WPARAM wParam, LPARAM lParam)
{
    // Codes only: nothing the edits post is a pointer.
    const HWND sender = reinterpret_cast<HWND>(lParam);
    CKestrixDoc* doc = Doc();
    const int row = RowOfEdit(sender);
    if (row < 0) {
        // The title edit leads to the first row.
        if (doc && doc->GetTitleEdit().m_hWnd == sender && (wParam == kLyricReturn || wParam == kLyricDown))
            FocusRowEdit(0);
        return 0;
    }
    // Back with Backspace or Left: on at the end of the line above, as in any editor.
    const bool back = wParam == kLyricPrevious;
    if (back || wParam == kLyricUp) {
        if (row > 0) {
            FocusRowEdit(row - 1, back);
        } else if (doc && doc->GetTitleEdit().m_hWnd && GetRowCount()) {
            const int top = m_geo.PageRect(0).top - GetScrollPosition().y;
            FocusEdit(doc->GetTitleEdit(), top, top + m_geo.Zoomed(kTitleTop) + m_geo.Zoomed(kLyricFontSize) + 4, back);
        }
    } else if (wParam == kLyricDown || wParam == kLyricReturn) {
        FocusRowEdit(row + 1);
    }
    return 0;
}

void CGridView::OnEditCut() { SendToFocusedEdit(WM_CUT); }
void CGridView::OnEditCopy() { SendToFocusedEdit(WM_COPY); }
void CGridView::OnEditPaste() { SendToFocusedEdit(WM_PASTE); }
