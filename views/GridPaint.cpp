// The grid views' painting: the desk, the pages with their rows, the title,
// the cursor and the selection bands; and printing, which draws the same
// pages at zoom 1 onto the paper.
#include "views/GridView.h"

#include <winspool.h>

#include "app/DocHost.h"
#include "app/KestrixDoc.h"
#include "views/KestrixEdit.h"
#include "framework/Print.h"

namespace {
const COLORREF kDeskColour = RGB(220, 210, 180);
const COLORREF kCursorColour = RGB(150, 35, 10);
const COLORREF kShadowColour = RGB(70, 70, 70);
const COLORREF kBandColour = RGB(200, 200, 200);
constexpr int kBarFontSize = 20;

CRect ToRect(const GridRect& r) { return CRect(r.left, r.top, r.right, r.bottom); }

void MakeFont(CFont& font, int height)
{
    // A font of that height stays: the lyric edits hold it, and each new
    // one is a message to every edit of the song.
    LOGFONTA now = {};
    if (font.GetSafeHandle() && ::GetObjectA(font.GetSafeHandle(), sizeof now, &now) && now.lfHeight == height)
        return;
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
} // namespace

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
    const int top = pageRect.top - DrawOrigin().y + static_cast<int>(kTitleTop * m_geo.zoom);
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

void CGridView::DrawSelection(CDC* pDC)
{
    CBrush brush(RGB(149, 149, 100));
    CBrush* old = pDC->SelectObject(&brush);
    for (const CRect& r : m_bands)
        pDC->PatBlt(r.left, r.top, r.Width(), r.Height(), PATINVERT);
    pDC->SelectObject(old);
}

// --- Printing ---

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
    // Every view says so: a command that silently does nothing leaves the
    // user guessing.
    if (CountPrinters(PRINTER_ENUM_LOCAL, 4) == 0) {
        WarnNoPrinter();
        return;
    }
    CKestrixViewBase::OnFilePrintPreview();
}
