#include "views/GridView.h"

#include <winspool.h>

#include <cstdlib>

#include "app/DocHost.h"
#include "app/KestrixDoc.h"
#include "framework/Print.h"
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
END_MESSAGE_MAP()

namespace {
constexpr int kDefaultSkipMs = 2000;
const COLORREF kDeskColour = RGB(220, 210, 180);
const COLORREF kCursorColour = RGB(150, 35, 10);
const COLORREF kShadowColour = RGB(70, 70, 70);
const COLORREF kBandColour = RGB(200, 200, 200);
constexpr int kLyricFontSize = 30;
constexpr int kBarFontSize = 20;

CRect ToRect(const GridRect& r) { return CRect(r.left, r.top, r.right, r.bottom); }

void MakeFont(CFont& font, int height)
{
    font.DeleteObject();
    LOGFONTA lf = {};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfPitchAndFamily = VARIABLE_PITCH;
    lstrcpyA(lf.lfFaceName, "Verdana");
    font.CreateFontIndirect(&lf);
}

void Line(CDC* pDC, int x0, int y0, int x1, int y1)
{
    pDC->MoveTo(x0, y0);
    pDC->LineTo(x1, y1);
}

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
      m_lastPosition(0), m_caretIndex(0), m_typing(0), m_typingTime(-1), m_timerPeriod(0), m_timeBias(1), m_selIndex(-1), m_selRow(-1), m_dragging(0), m_selStart(0), m_selEnd(0), m_selStartRow(0), m_selEndRow(0),
      m_selStarted(0), m_selectionMode(0), m_loopStart(0), m_loopEnd(0)
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
    if (title.m_hWnd) {
        if (title.GetParent() != this)
            title.SetParent(this);
    } else {
        title.Create(WS_CHILD | WS_VISIBLE | ES_CENTER, empty, this, static_cast<UINT>(79000 + specs.size()));
    }
    title.SetFont(&m_lyricFont, FALSE);
    if (fresh)
        title.SetWindowText(doc->GetTitle());
    m_layoutBuilt = true;
}

void CGridView::HideSurplusEdits(size_t rows)
{
    CKestrixDoc* doc = Doc();
    std::vector<CKestrixEdit*>& edits = doc->GetLyricEdits();
    for (size_t i = 0; i < edits.size(); ++i) {
        CKestrixEdit* e = edits[i];
        if (!e || !e->m_hWnd)
            continue;
        e->ShowWindow(i < rows ? SW_SHOWNA : SW_HIDE);
    }
}

void CGridView::RecreateGdi()
{
    const float z = m_geo.zoom;
    m_bandPen.DeleteObject();
    m_linePen.DeleteObject();
    m_dotPen.DeleteObject();
    m_bandPen.CreatePen(PS_SOLID, static_cast<int>(7 * z), kBandColour);
    m_linePen.CreatePen(PS_SOLID, static_cast<int>(2 * z), RGB(0, 0, 0));
    // A dotted pen is drawn dotted only when it is one pixel wide.
    m_dotPen.CreatePen(PS_DOT, static_cast<int>(2 * z) > 1 ? 1 : static_cast<int>(2 * z), RGB(0, 0, 0));
    MakeFont(m_nameFont, static_cast<int>(NameFontSize() * z));
    MakeFont(m_lyricFont, static_cast<int>(kLyricFontSize * z));
    MakeFont(m_barFont, static_cast<int>(kBarFontSize * z));
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
    for (CKestrixEdit* e : doc->GetLyricEdits())
        if (e && e->m_hWnd)
            e->SetFont(&m_lyricFont, FALSE);
    if (doc->GetTitleEdit().m_hWnd)
        doc->GetTitleEdit().SetFont(&m_lyricFont, FALSE);
    if (m_hWnd)
        Invalidate(FALSE);
    PlaceRows(m_geo.zoom, m_geo.zoom);
    PositionCursor();
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

int CGridView::RowStartMs(int row) const
{
    int s = 0;
    for (int i = 0; i < row && i < GetRowCount(); ++i)
        s += GetGridRow(i).length;
    return s;
}

int CGridView::RowOfTime(int timeMs) const
{
    int s = 0;
    for (int r = 0; r < GetRowCount(); ++r) {
        const int n = GetGridRow(r).length;
        if (s <= timeMs && timeMs <= s + n)
            return r;
        s += n;
    }
    return -1;
}

void CGridView::SaveScrollPosition()
{
    if (CKestrixDoc* doc = Doc()) {
        const CPoint p = GetScrollPosition();
        doc->SetScrollPos(p.x, p.y);
    }
}

// --- Cursor and times ---

int CGridView::TimeToX(int timeMs) const
{
    int s = 0;
    for (int r = 0; r < GetRowCount(); ++r) {
        const GridRow& row = GetGridRow(r);
        if (s + row.length >= timeMs)
            return static_cast<int>(row.lineStart.x + (timeMs - s) * m_geo.zoom * m_geo.pixelsPerMs);
        s += row.length;
    }
    return GetRowCount() ? GetGridRow(GetRowCount() - 1).lineEnd.x : 0;
}

int CGridView::TimeAtPoint(int x, int y) const
{
    int best = -1;
    int bestDistance = 100000;
    for (int r = 0; r < GetRowCount(); ++r) {
        const int d = abs(GetGridRow(r).lineStart.y - y);
        if (d < bestDistance) {
            best = r;
            bestDistance = d;
        }
    }
    if (best < 0)
        return 0;
    return m_geo.TimeAtX(x, GetScrollPosition().x, best, RowStartMs(best)) + m_timeBias;
}

void CGridView::PositionCursor()
{
    CKestrixDoc* doc = Doc();
    if (!doc || !GetRowCount())
        return;
    const int p = static_cast<int>(doc->GetPosition());
    int row = RowOfTime(p);
    if (row < 0)
        row = GetRowCount() - 1;
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
    int row = RowOfTime(p);
    if (row < 0)
        row = GetRowCount() - 1;
    if (autoscroll) {
        const int y = GetRowY(row);
        CRect client;
        GetClientRect(&client);
        const int x = TimeToX(p);
        if (y < client.top || y > client.bottom || x < client.left || x > client.right) {
            CPoint scroll = GetScrollPosition();
            if (y < client.top || y > client.bottom) {
                const int page = row / m_geo.rowsPerPage;
                scroll.y = static_cast<int>(m_geo.pageH * m_geo.zoom * page + 20 * page + 20) - 20 +
                           (row % m_geo.rowsPerPage) * m_geo.RowSpacing(page);
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

// --- Painting ---

BOOL CGridView::OnEraseBkgnd(CDC*) { return TRUE; }

void CGridView::OnDraw(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    if (client.Width() <= 0 || client.Height() <= 0)
        return;
    CDC mem;
    mem.CreateCompatibleDC(pDC);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(pDC, client.Width(), client.Height());
    CBitmap* oldBitmap = mem.SelectObject(&bitmap);
    CBrush desk(kDeskColour);
    mem.FillRect(&client, &desk);

    const CPoint scroll = GetScrollPosition();
    const GridRect visible{scroll.x, scroll.y, scroll.x + client.Width(), scroll.y + client.Height()};
    if (m_printLayout) {
        // The rows are laid out for the paper until printing ends: only the desk.
    } else if (m_layoutBuilt && GetRowCount()) {
        PlaceRows(m_geo.zoom, m_geo.zoom);
        for (int page : m_geo.VisiblePages(visible))
            DrawPage(page, visible, m_geo.PageRect(page), &mem, m_geo.zoom, m_geo.zoom, false);
        DrawTyping(&mem);
        PositionCursor();
        CBrush cursor(kCursorColour);
        mem.FillRect(&m_cursorRect, &cursor);
        if (m_selectionMode) {
            BuildSelectionBands();
            DrawSelection(&mem);
        }
    } else {
        GridRect blank = m_geo.PageRect(0);
        blank.bottom = 20 + blank.Height();
        blank.top = 20;
        DrawEmptyPage(0, visible, blank, &mem, m_geo.zoom, m_geo.zoom);
    }
    pDC->BitBlt(scroll.x, scroll.y, client.Width(), client.Height(), &mem, 0, 0, SRCCOPY);
    mem.SelectObject(oldBitmap);
}

void CGridView::DrawEmptyPage(int, const GridRect& visible, const GridRect& pageRect, CDC* pDC, float hZoom, float)
{
    const GridRect part = IntersectGridRects(pageRect, visible);
    if (part.Width() <= 0)
        return;
    const CPoint scroll = GetScrollPosition();
    CRect r = ToRect(part);
    r.OffsetRect(-scroll.x, -scroll.y);
    CBrush white(RGB(255, 255, 255));
    pDC->FillRect(&r, &white);

    CRect page = ToRect(pageRect);
    page.OffsetRect(-scroll.x, -scroll.y);
    const int w = static_cast<int>(2 * hZoom) > 0 ? static_cast<int>(2 * hZoom) : 1;
    CPen edge(PS_SOLID, w, RGB(0, 0, 0));
    CPen shadow(PS_SOLID, w, kShadowColour);
    CPen* old = pDC->SelectObject(&edge);
    Line(pDC, page.left, page.top, page.right, page.top);
    Line(pDC, page.right, page.top, page.right, page.bottom);
    Line(pDC, page.right, page.bottom, page.left, page.bottom);
    Line(pDC, page.left, page.bottom, page.left, page.top);
    pDC->SelectObject(&shadow);
    Line(pDC, page.right + w, page.top + w, page.right + w, page.bottom + w);
    Line(pDC, page.left + w, page.bottom + w, page.right + w, page.bottom + w);
    pDC->SelectObject(old);
}

void CGridView::DrawPage(int page, const GridRect& visible, const GridRect& pageRect, CDC* pDC, float hZoom,
                         float vZoom, bool printing)
{
    CKestrixDoc* doc = Doc();
    if (!printing)
        DrawEmptyPage(page, visible, pageRect, pDC, hZoom, vZoom);
    const float z = hZoom;
    const int first = page * m_geo.rowsPerPage;
    const std::vector<CKestrixEdit*>* edits = doc ? &doc->GetLyricEdits() : nullptr;
    pDC->SetBkMode(TRANSPARENT);
    for (int r = first; r < first + m_geo.rowsPerPage && r < GetRowCount(); ++r) {
        GridRow& row = GetGridRow(r);
        const int x0 = row.lineStart.x, x1 = row.lineEnd.x, y = row.lineStart.y;

        CPen* old = pDC->SelectObject(&m_bandPen);
        Line(pDC, x0, y, x1, y);
        pDC->SelectObject(&m_linePen);
        Line(pDC, x0, y, x1, y);
        DrawRowStrings(pDC, r, z);

        const int tick = static_cast<int>(7 * z);
        const int ticks = row.length / kTickInterval;
        const int barsPerRow = GetRowCount() ? GetGridRow(0).length / kTickInterval : 0;
        for (int k = 0; k <= ticks; ++k) {
            const int x = static_cast<int>(x0 + z * (k * kTickInterval * m_geo.pixelsPerMs));
            Line(pDC, x, y - tick, x, y + tick);
            if (m_showBarNumbers && k < ticks) {
                CString number;
                number.Format("%d", r * barsPerRow + k);
                const int h = static_cast<int>(kBarFontSize * z);
                CFont* f = pDC->SelectObject(&m_barFont);
                CRect box(x - 50, y + tick, x + 50, y + tick + h);
                pDC->DrawText(number, &box, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOCLIP);
                pDC->SelectObject(f);
            }
        }

        if (edits && r < static_cast<int>(edits->size())) {
            const int h = MeasureText(pDC, &m_lyricFont, "test").cy;
            pDC->SelectObject(&m_dotPen);
            const int base = y + static_cast<int>(z * kLyricOffset + h + z * 4);
            Line(pDC, x0, base, x1, base);
            CKestrixEdit* e = (*edits)[static_cast<size_t>(r)];
            const CRect box(x0, y + static_cast<int>(kLyricOffset * z), x1, y + static_cast<int>(kLyricOffset * z) + h);
            if (e && e->m_hWnd) {
                if (!printing) {
                    CRect now;
                    e->GetWindowRect(&now);
                    ScreenToClient(&now);
                    if (now != box)
                        e->SetWindowPos(nullptr, box.left, box.top, box.Width(), box.Height(),
                                        SWP_NOZORDER | SWP_NOACTIVATE);
                } else {
                    CString text;
                    e->GetWindowText(text);
                    CFont* f = pDC->SelectObject(&m_lyricFont);
                    CRect t = box;
                    pDC->DrawText(text, &t, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP);
                    pDC->SelectObject(f);
                }
            }
        }
        pDC->SelectObject(old);
        DrawRowItems(pDC, r, z);
    }
    if (page == 0 && GetRowCount())
        DrawTitle(pDC, pageRect, printing);
}

void CGridView::DrawTitle(CDC* pDC, const GridRect& pageRect, bool printing)
{
    CKestrixDoc* doc = Doc();
    if (!doc)
        return;
    CKestrixEdit& title = doc->GetTitleEdit();
    CString text;
    if (title.m_hWnd)
        title.GetWindowText(text);
    const int h = MeasureText(pDC, &m_lyricFont, text.IsEmpty() ? CString("boddfdfdwertfd") : text).cy;
    const GridRow& row0 = GetGridRow(0);
    const int top = pageRect.top - DrawOrigin().y + static_cast<int>(40 * m_geo.zoom);
    CRect box(row0.lineStart.x, top, row0.lineEnd.x, top + h);
    CPen* old = pDC->SelectObject(&m_dotPen);
    Line(pDC, box.left, box.bottom + 2, box.right, box.bottom + 2);
    pDC->SelectObject(old);
    if (!title.m_hWnd)
        return;
    if (!printing) {
        CRect now;
        title.GetWindowRect(&now);
        ScreenToClient(&now);
        if (now != box)
            title.SetWindowPos(nullptr, box.left, box.top, box.Width(), box.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        CFont* f = pDC->SelectObject(&m_lyricFont);
        box.OffsetRect(0, -static_cast<int>(2 * m_geo.zoom));
        pDC->DrawText(text, &box, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOCLIP);
        pDC->SelectObject(f);
    }
}

// --- Updates, scrolling, printing ---

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
        BuildRows(doc->GetTotalLength());
        OnRowsRebuilt();
        UpdateCursor(false);
        if (!pHint) {
            // A new song: the selection of the old one means nothing.
            m_selStartRow = m_selEndRow = 0;
            m_selectionMode = 0;
            m_selStart = m_selEnd = 0;
            DropBands();
        }
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
        if (doc)
            BuildRows(doc->GetTotalLength());
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

void CGridView::FocusRowEdit(int row)
{
    CKestrixDoc* doc = Doc();
    if (!doc || row < 0 || row >= GetRowCount() || row >= static_cast<int>(doc->GetLyricEdits().size()))
        return;
    CKestrixEdit* e = doc->GetLyricEdits()[static_cast<size_t>(row)];
    if (!e || !e->m_hWnd)
        return;
    ::DestroyCaret();
    e->SetFocus();
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

BOOL CGridView::OnPreparePrinting(CPrintInfo* pInfo)
{
    // Without a song there is one blank page.
    const int pages = m_layoutBuilt && GetRowCount() ? m_geo.pageCount : 0;
    pInfo->SetMaxPage(static_cast<UINT>(pages > 0 ? pages : 1));
    return DoPreparePrinting(pInfo);
}

void CGridView::OnBeginPrinting(CDC*, CPrintInfo*)
{
    CKestrixDoc* doc = Doc();
    if (doc) {
        doc->SetPrinting(true);
        if (IDocPanel* panel = GetDocHost()->GetControlPanel())
            panel->OnStop();
        else
            doc->Stop(false);
    }
    GetDocHost()->ShowToolWindows(false, RowEditIdBase() == 79000);
    EndTyping();
    // Pages print as they look at zoom 1, whatever the zoom on screen.
    if (doc) {
        const CSize screen = GetScreenSize();
        m_geo.Layout(screen.cx, screen.cy, 1.0f, doc->GetRowLength(), doc->GetRowsPerPage(), m_geo.pageCount);
        RecreateGdi();
    }
    m_printLayout = true;
    PlaceRows(m_geo.zoom, m_geo.zoom);
}

void CGridView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    if (!m_printLayout || !m_layoutBuilt || !GetRowCount())
        return; // a blank page
    const int page = static_cast<int>(pInfo->m_nCurPage) - 1;
    if (page < 0 || page >= m_geo.pageCount)
        return;
    const GridRect pr = m_geo.PageRect(page);
    const CRect area = pInfo->m_rectDraw;
    if (pr.Width() <= 0 || pr.Height() <= 0 || area.Width() <= 0 || area.Height() <= 0)
        return;
    // The page fills the paper's printable area, keeping its proportions.
    double scale = static_cast<double>(area.Width()) / pr.Width();
    if (static_cast<double>(area.Height()) / pr.Height() < scale)
        scale = static_cast<double>(area.Height()) / pr.Height();
    const int w = static_cast<int>(pr.Width() * scale), h = static_cast<int>(pr.Height() * scale);
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetWindowOrg(pr.left, pr.top);
    pDC->SetWindowExt(pr.Width(), pr.Height());
    pDC->SetViewportOrg(area.left + (area.Width() - w) / 2, area.top + (area.Height() - h) / 2);
    pDC->SetViewportExt(w, h);
    DrawPage(page, pr, pr, pDC, m_geo.zoom, m_geo.zoom, true);
}

void CGridView::OnEndPrinting(CDC*, CPrintInfo*)
{
    m_printLayout = false;
    if (CKestrixDoc* doc = Doc())
        doc->SetPrinting(false);
    GetDocHost()->ShowToolWindows(true, RowEditIdBase() == 79000);
    LayoutPages();
}

void CGridView::OnFilePrintPreview()
{
    if (CountPrinters(PRINTER_ENUM_LOCAL, 4) == 0) {
        OnNoPrinter();
        return;
    }
    CKestrixViewBase::OnFilePrintPreview();
}

// --- Cursor timer, selection and loop ---

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
    int found = -1;
    const int reach = static_cast<int>(20 * m_geo.zoom);
    for (int r = 0; r < GetRowCount(); ++r)
        if (abs(GetGridRow(r).lineStart.y - point.y) < reach) {
            found = r;
            break;
        }
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

void CGridView::FinishSelection(int timeUnderMouse, bool chordView)
{
    const bool shortRange = abs(m_selStart - m_selEnd) < 500 && (!chordView || timeUnderMouse == m_selEnd);
    if (shortRange) {
        m_selectionMode = 0;
        DropBands();
        Invalidate(FALSE);
    }
    if (m_selectionMode)
        if (IDocPanel* panel = GetDocHost()->GetControlPanel())
            panel->SetLoopState(true);
    m_selStarted = 0;
}

void CGridView::ClearSelection()
{
    DropBands();
    m_selectionMode = 0;
    if (IDocPanel* panel = GetDocHost()->GetControlPanel())
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

void CGridView::BuildSelectionBands()
{
    m_bands.clear();
    if (m_selStart == m_selEnd || !GetRowCount())
        return;
    const int half = static_cast<int>(15 * m_geo.zoom);
    auto band = [&](int row, int x0, int x1) {
        if (row < 0 || row >= GetRowCount())
            return;
        const int y = GetGridRow(row).lineStart.y;
        m_bands.push_back(CRect(x0 < x1 ? x0 : x1, y - half, x0 < x1 ? x1 : x0, y + half));
    };
    const int a = m_selStartRow, b = m_selEndRow;
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

void CGridView::DrawSelection(CDC* pDC)
{
    CBrush brush(RGB(149, 149, 100));
    CBrush* old = pDC->SelectObject(&brush);
    for (const CRect& r : m_bands)
        pDC->PatBlt(r.left, r.top, r.Width(), r.Height(), PATINVERT);
    pDC->SelectObject(old);
}

void CGridView::Rewind()
{
    if (CKestrixDoc* doc = Doc())
        doc->Seek(0, false);
    ScrollToPosition(CPoint(0, 0));
}

// --- Typing and keys ---

void CGridView::StartTyping(const CPoint& caret, int timeMs)
{
    m_caretPos = caret;
    ::CreateCaret(m_hWnd, nullptr, 1, NameHeight());
    ::SetCaretPos(m_caretPos.x, m_caretPos.y);
    ::ShowCaret(m_hWnd);
    m_typingTime = timeMs;
    m_typed.Empty();
    m_caretIndex = 0;
    m_typing = 1;
}

void CGridView::EndTyping()
{
    m_typing = 0;
    m_caretIndex = 0;
    ::DestroyCaret();
}

void CGridView::MoveCaret()
{
    CClientDC dc(this);
    const CSize before = MeasureText(&dc, &m_nameFont, m_typed.Left(m_caretIndex));
    ::SetCaretPos(m_caretPos.x + before.cx, m_caretPos.y);
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
    CRect area(m_caretPos.x - 2, m_caretPos.y, m_caretPos.x + size.cx + 40, m_caretPos.y + size.cy + 2);
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
    case VK_DELETE:
        if (extended)
            DeleteSelected();
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

// --- Lyrics and clipboard ---

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
    if (wParam == kLyricPrevious || wParam == kLyricUp) {
        if (row > 0)
            FocusRowEdit(row - 1);
        else if (doc && doc->GetTitleEdit().m_hWnd)
            doc->GetTitleEdit().SetFocus();
    } else if (wParam == kLyricDown || wParam == kLyricReturn) {
        FocusRowEdit(row + 1);
    }
    return 0;
}

void CGridView::OnEditCut() { SendToFocusedEdit(WM_CUT); }
void CGridView::OnEditCopy() { SendToFocusedEdit(WM_COPY); }
void CGridView::OnEditPaste() { SendToFocusedEdit(WM_PASTE); }

// --- Shared by both views' mouse handling ---

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
    CKestrixDoc* doc = Doc();
    const int reach = static_cast<int>(7 * m_geo.zoom);
    for (int r = 0; r < GetRowCount(); ++r) {
        const GridRow& row = GetGridRow(r);
        if (abs(point.y - row.lineStart.y) >= reach)
            continue;
        if (point.x > row.lineStart.x && point.x < row.lineEnd.x) {
            const int t = m_geo.TimeAtX(point.x, GetScrollPosition().x, r, RowStartMs(r));
            doc->Seek(t, true);
            if (!m_selectionMode)
                AnchorSelection(t, r);
            UpdateCursor(false);
            Invalidate(FALSE);
        }
        return;
    }
}

int CGridView::NearestRow(int y) const
{
    int nearest = 0, best = 1 << 30;
    for (int r = 0; r < GetRowCount(); ++r) {
        const int d = abs(GetGridRow(r).lineStart.y - y);
        if (d < best) {
            best = d;
            nearest = r;
        }
    }
    return nearest;
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
