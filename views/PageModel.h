#pragma once
// Pages of rows for the grid views: paper pages on a desk, each holding a
// fixed number of rows, each row a fixed stretch of time. Portable: the
// window classes draw what this computes.
//
// Sizes written "value x zoom" are truncated toward zero after the
// multiplication; the expressions below keep the float and double
// arithmetic of the drawing code so that pixels come out the same.
#include <cstddef>
#include <vector>

struct GridPoint {
    int x = 0;
    int y = 0;
};

struct GridRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// What both grid views keep per row; their rows add the items.
struct GridRow {
    int length = 0;   // ms covered (the last row may be shorter)
    float width = 0;  // unzoomed pixels
    int page = 1;     // 1-based
    GridPoint lineStart, lineEnd; // the time line in client coordinates
    std::vector<int> offsets;     // item time - row start, ms
};

constexpr int kDefaultRowLength = 6000;
constexpr int kDefaultRowsPerPage = 7;
constexpr int kPageMargin = 60;     // unzoomed pixels, left and right inside a page
constexpr int kTickInterval = 1500; // ms
constexpr int kLyricOffset = 27;
constexpr int kLyricFontSize = 30;
constexpr int kTitleTop = 40; // the title's top below its page's top
constexpr int kPageGap = 20;

// A settings file edited by hand can hold anything: what the settings
// dialog cannot produce falls back to the defaults.
int SaneRowLength(int ms);
int SaneRowsPerPage(int rows);

struct RowSpec {
    int length = 0;
    float width = 0;
    int page = 1;
};

// The rows of a song of songMs: songMs / rowMs + 1 rows, so a song of an
// exact multiple of the row length ends with a row of length 0.
std::vector<RowSpec> MakeRows(int songMs, int rowMs, int rowsPerPage, double pixelsPerMs, int& pageCount);

// The row lookups below take any list of rows that has size() and whose
// items have a length (and, for the y lookups, a lineStart).

// Start time of row k: the sum of the lengths before it.
template <class Rows> int RowStart(const Rows& rows, int k)
{
    int s = 0;
    for (int i = 0; i < k && i < static_cast<int>(rows.size()); ++i)
        s += rows[static_cast<size_t>(i)].length;
    return s;
}

// The first row whose span holds a time (a time on a boundary belongs to the
// earlier row), with its start; -1 past the last row.
template <class Rows> int RowHoldingTime(const Rows& rows, int timeMs, int* start)
{
    int s = 0;
    for (size_t k = 0; k < rows.size(); ++k) {
        if (s <= timeMs && timeMs <= s + rows[k].length) {
            if (start)
                *start = s;
            return static_cast<int>(k);
        }
        s += rows[k].length;
    }
    return -1;
}

// Hands each item (anything with a time) to place(row, item, offset in the
// row) for the first row holding its time; an item outside every row is
// left out, and the others still placed.
template <class Rows, class Items, class Place> void PlaceOnRows(const Rows& rows, const Items& items, Place place)
{
    for (const auto& item : items) {
        int start = 0;
        const int r = RowHoldingTime(rows, item.time, &start);
        if (r >= 0)
            place(static_cast<size_t>(r), item, item.time - start);
    }
}

// Where in items lies the index-th item PlaceOnRows puts on a row: items at
// one time are told apart by their place, not by their time. -1 for none.
template <class Rows, class Items> int ItemOnRow(const Rows& rows, const Items& items, int row, int index)
{
    int found = -1, seen = 0;
    PlaceOnRows(rows, items, [&](size_t r, const auto& item, int) {
        if (static_cast<int>(r) == row && seen++ == index)
            found = static_cast<int>(&item - items.data());
    });
    return found;
}

// The row whose time line is nearest to a client y (the first of equal
// distances); -1 when there is none.
template <class Rows> int RowNearestY(const Rows& rows, int y)
{
    int best = -1, bestDistance = 100000;
    for (size_t r = 0; r < rows.size(); ++r) {
        const int d = rows[r].lineStart.y > y ? rows[r].lineStart.y - y : y - rows[r].lineStart.y;
        if (d < bestDistance) {
            best = static_cast<int>(r);
            bestDistance = d;
        }
    }
    return best;
}

// The first row whose time line lies strictly within reach of a client y;
// -1 for none.
template <class Rows> int RowWithinY(const Rows& rows, int y, int reach)
{
    for (size_t r = 0; r < rows.size(); ++r) {
        const int d = rows[r].lineStart.y > y ? rows[r].lineStart.y - y : y - rows[r].lineStart.y;
        if (d < reach)
            return static_cast<int>(r);
    }
    return -1;
}

// A cursor tick jumps back to the loop's start when playback reached the
// loop's end: at it or just past it (less than 100 ms), or past it after the
// previous tick was still before it (a tick delayed by a busy moment must not
// lose the loop). A position that was already past the end does not loop.
inline bool LoopJumpDue(bool loopOn, bool selectionMode, int positionMs, int previousMs, int loopEndMs)
{
    if (!loopOn || !selectionMode || positionMs < loopEndMs)
        return false;
    return positionMs - loopEndMs < 100 || previousMs < loopEndMs;
}

class PageGeometry {
public:
    // Everything a layout reads: zoom, screen size, row length, rows per
    // page and the number of pages.
    void Layout(int screenW, int screenH, float zoom, int rowMs, int rowsPerPage, int pageCount);

    float zoom = 0.6f;
    int screenW = 100, screenH = 100;
    int rowMs = kDefaultRowLength;
    int rowsPerPage = 8;
    int pageCount = 0;
    int pageW = 0, pageH = 0;    // unzoomed
    double pixelsPerMs = 0.173;  // unzoomed
    int scrollW = 0, scrollH = 0;

    int Zoomed(double v) const { return static_cast<int>(v * zoom); }
    // Page i (0-based) in unscrolled coordinates.
    GridRect PageRect(int i) const;
    int RowSpacing(int page0) const;
    // The time line of row r: y and both ends, for a row of the given width.
    int RowY(int r, int scrollY) const;
    int RowX0(int r, int scrollX) const;
    int RowX1(int x0, float width) const { return static_cast<int>(zoom * width + x0); }
    // Pages touching the visible rectangle (unscrolled coordinates).
    std::vector<int> VisiblePages(const GridRect& visible) const;
    // Song time under client x on a row that starts at rowStartMs.
    int TimeAtX(int x, int scrollX, int r, int rowStartMs) const;
    // Client x of a time offset within a row.
    int XOfOffset(int x0, int offsetMs) const { return static_cast<int>(x0 + zoom * (offsetMs * pixelsPerMs)); }
};

// Their overlap, empty (all zero) unless they overlap strictly.
GridRect IntersectGridRects(const GridRect& a, const GridRect& b);
