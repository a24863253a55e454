#include "views/PageModel.h"

#include <cstddef>

#include "app/DocTypes.h"

// Largest values the settings dialog offers, with room to spare.
namespace {
constexpr int kMaxRowLength = 600000;
constexpr int kMaxRowsPerPage = 100;
constexpr double kPageAspect = 1.383177570093458;
} // namespace

int SaneRowLength(int ms) { return ms >= kMinRowMs && ms <= kMaxRowLength ? ms : kDefaultRowLength; }

int SaneRowsPerPage(int rows) { return rows > 0 && rows <= kMaxRowsPerPage ? rows : kDefaultRowsPerPage; }

std::vector<RowSpec> MakeRows(int songMs, int rowMs, int rowsPerPage, double pixelsPerMs, int& pageCount)
{
    rowMs = SaneRowLength(rowMs);
    rowsPerPage = SaneRowsPerPage(rowsPerPage);
    if (songMs < 0)
        songMs = 0;
    const int count = songMs / rowMs + 1;
    std::vector<RowSpec> rows(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) {
        RowSpec& r = rows[static_cast<size_t>(k)];
        const int rest = songMs - k * rowMs;
        r.length = rest < rowMs ? rest : rowMs;
        if (r.length == rowMs)
            r.width = static_cast<float>(rowMs * pixelsPerMs);
        else
            r.width = static_cast<float>(rowMs * pixelsPerMs * r.length / rowMs + 1);
        r.page = k / rowsPerPage + 1;
    }
    pageCount = rows.back().page;
    return rows;
}

void PageGeometry::Layout(int sw, int sh, float z, int rowLength, int rows, int pages)
{
    zoom = z;
    screenW = sw;
    screenH = sh;
    rowMs = SaneRowLength(rowLength);
    rowsPerPage = SaneRowsPerPage(rows);
    pageCount = pages;
    pageW = static_cast<int>(0.9 * screenW);
    pageH = static_cast<int>(pageW * kPageAspect);
    const int height = static_cast<int>(pageH * pages * zoom + 20 * pages + 20);
    scrollH = height < screenH ? screenH : height;
    scrollW = screenW;
    pixelsPerMs = static_cast<double>(pageW - 2 * kPageMargin) / rowMs;
}

GridRect PageGeometry::PageRect(int i) const
{
    const int insetX = static_cast<int>((pageW - pageW * zoom) / 2);
    const int insetY = static_cast<int>((pageH - pageH * zoom) / 2);
    GridRect r;
    r.left = (screenW - pageW) / 2 + insetX;
    r.right = (screenW + pageW) / 2 - insetX;
    r.top = static_cast<int>(pageH * zoom * i + kPageGap * i + kPageGap);
    r.bottom = r.top + pageH - 2 * insetY;
    return r;
}

int PageGeometry::RowSpacing(int page0) const
{
    const GridRect p = PageRect(page0);
    return (p.bottom - p.top) / (rowsPerPage + 1);
}

int PageGeometry::RowY(int r, int scrollY) const
{
    const int page0 = r / rowsPerPage;
    const int k = r % rowsPerPage;
    return PageRect(page0).top - scrollY + (k + 1) * RowSpacing(page0);
}

int PageGeometry::RowX0(int r, int scrollX) const
{
    return static_cast<int>(zoom * kPageMargin - scrollX) + PageRect(r / rowsPerPage).left;
}

std::vector<int> PageGeometry::VisiblePages(const GridRect& visible) const
{
    std::vector<int> pages;
    for (int i = 0; i < pageCount; ++i) {
        const GridRect x = IntersectGridRects(PageRect(i), visible);
        if (x.Width() > 0 && x.Height() > 0)
            pages.push_back(i);
    }
    return pages;
}

int PageGeometry::TimeAtX(int x, int scrollX, int r, int rowStartMs) const
{
    const int px = static_cast<int>(x + scrollX - kPageMargin * zoom - PageRect(r / rowsPerPage).left);
    return static_cast<int>(px / (zoom * pixelsPerMs) + rowStartMs);
}

GridRect IntersectGridRects(const GridRect& a, const GridRect& b)
{
    GridRect r;
    r.left = a.left > b.left ? a.left : b.left;
    r.top = a.top > b.top ? a.top : b.top;
    r.right = a.right < b.right ? a.right : b.right;
    r.bottom = a.bottom < b.bottom ? a.bottom : b.bottom;
    if (r.left >= r.right || r.top >= r.bottom)
        return GridRect();
    return r;
}
