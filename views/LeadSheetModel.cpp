#include "views/LeadSheetModel.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cmath>
#include <iterator>

CString LeadSheetHeading(const CString& title) { return title + "\r\n\r\n"; }

std::vector<CString> LeadSheetPieces(const std::vector<CString>& chordLines, const std::vector<CString>& lyrics)
{
    const size_t rows = chordLines.size() > lyrics.size() ? chordLines.size() : lyrics.size();
    std::vector<CString> out;
    out.reserve(rows * 4);
    for (size_t r = 0; r < rows; ++r) {
        out.push_back(r < chordLines.size() ? chordLines[r] : CString());
        out.push_back("\r\n");
        out.push_back(r < lyrics.size() ? lyrics[r] : CString());
        out.push_back("\r\n\r\n");
    }
    return out;
}

void AppendLeadSheetPiece(ILeadSheetPages& pages, const CString& piece)
{
    if (pages.IsLastFull() && pages.CanAddPage())
        pages.AddPage(piece);
    else
        pages.AppendToLast(piece);
}

void FillLeadSheetPages(ILeadSheetPages& pages, const std::vector<CString>& pieces)
{
    const size_t n = pieces.size();
    auto joined = [&](CString text, size_t from, size_t to) { // pieces [from, to]
        for (size_t k = from; k <= to; ++k)
            text += pieces[k];
        return text;
    };
    CString text = pages.LastText();
    for (size_t i = 0; i < n;) {
        if (pages.IsLastFull()) {
            if (!pages.CanAddPage()) {
                pages.SetLastText(joined(text, i, n - 1));
                return;
            }
            text = pieces[i++];
            pages.AddPage(text);
            continue;
        }
        // The first piece after which the box is full; n when none is.
        size_t lo = i, hi = n;
        while (lo < hi) {
            const size_t mid = lo + (hi - lo) / 2;
            pages.SetLastText(joined(text, i, mid));
            if (pages.IsLastFull())
                hi = mid;
            else
                lo = mid + 1;
        }
        const size_t last = lo < n ? lo : n - 1;
        text = joined(text, i, last);
        pages.SetLastText(text);
        i = last + 1;
    }
}

// Geometry ---------------------------------------------------------------

LeadSheetGeometry ComputeLeadSheetGeometry(int screenWidth, int screenHeight, float zoom, int pageCount)
{
    LeadSheetGeometry g;
    g.viewWidth = screenWidth;
    g.pageWidth = static_cast<int>(screenWidth * 0.9);
    g.pageHeight = static_cast<int>(g.pageWidth * 1.383177570093458);
    const float total = static_cast<float>(g.pageHeight * pageCount) * zoom +
                        static_cast<float>(pageCount * kLeadSheetPageGap + kLeadSheetPageGap);
    g.viewHeight = total >= static_cast<float>(screenHeight) ? static_cast<int>(total) : screenHeight;
    g.fontHeight = static_cast<int>(zoom * 24.0f);
    return g;
}

int LeadSheetMargin(float zoom) { return static_cast<int>(kLeadSheetMargin * zoom); }

LeadSheetRect LeadSheetPageRect(const LeadSheetGeometry& g, float zoom, int page)
{
    const int insetX = static_cast<int>((g.pageWidth - g.pageWidth * zoom) / 2);
    const int insetY = static_cast<int>((g.pageHeight - g.pageHeight * zoom) / 2);
    LeadSheetRect r;
    r.left = (g.viewWidth - g.pageWidth) / 2 + insetX;
    r.right = (g.viewWidth + g.pageWidth) / 2 - insetX;
    r.top = static_cast<int>(g.pageHeight * zoom * page + static_cast<float>(kLeadSheetPageGap * page + kLeadSheetPageGap));
    r.bottom = r.top + g.pageHeight - 2 * insetY;
    return r;
}

LeadSheetRect LeadSheetBoxRect(const LeadSheetGeometry& g, float zoom, int page)
{
    LeadSheetRect r = LeadSheetPageRect(g, zoom, page);
    const int m = LeadSheetMargin(zoom);
    r.left += m;
    r.top += m;
    r.right -= m;
    r.bottom -= m;
    return r;
}

LeadSheetRect LeadSheetNewBoxRect(const LeadSheetGeometry& g, float zoom)
{
    const int m = LeadSheetMargin(zoom);
    return LeadSheetRect{0, 0, static_cast<int>(zoom * g.pageWidth - 2 * m), static_cast<int>(zoom * g.pageHeight - 2 * m)};
}

// Character sizes ----------------------------------------------------------

namespace {
long RoundToLong(double v) { return static_cast<long>(v < 0 ? v - 0.5 : v + 0.5); }
constexpr float kZoomSteps[] = {0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f, 1.0f};
} // namespace

long ZoomedTwips(long twips, float zoom) { return RoundToLong(static_cast<double>(twips) * zoom); }

long UnzoomedTwips(long shownTwips, float zoom)
{
    if (zoom <= 0.0f)
        return shownTwips;
    const long halfPoints = RoundToLong(shownTwips / static_cast<double>(zoom) / 10.0);
    return (halfPoints > 0 ? halfPoints : 1) * 10;
}

long RezoomTwips(long shownTwips, float from, float to)
{
    return from == to ? shownTwips : ZoomedTwips(UnzoomedTwips(shownTwips, from), to);
}

std::string RtfAtZoom(const std::string& rtf, float from, float to)
{
    if (from == to)
        return rtf;
    std::string out;
    out.reserve(rtf.size());
    const size_t n = rtf.size();
    auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    for (size_t i = 0; i < n;) {
        if (rtf[i] != '\\' || i + 1 >= n || !letter(rtf[i + 1])) {
            // A symbol such as \\ or \{ is copied whole, so its second
            // character is never read as the start of a word.
            const size_t len = rtf[i] == '\\' && i + 1 < n ? 2 : 1;
            out.append(rtf, i, len);
            i += len;
            continue;
        }
        size_t j = i + 1;
        while (j < n && letter(rtf[j]))
            ++j;
        const std::string word = rtf.substr(i + 1, j - i - 1);
        size_t k = j;
        if (k < n && rtf[k] == '-')
            ++k;
        const size_t digits = k;
        while (k < n && digit(rtf[k]) && k - digits < 9)
            ++k;
        const bool hasValue = k > digits;
        const long value = hasValue ? std::strtol(rtf.substr(j, k - j).c_str(), nullptr, 10) : 0;
        if (word == "fs" && hasValue && value > 0) {
            const long shown = RezoomTwips(value * 10, from, to);
            const long halfPoints = RoundToLong(shown / 10.0);
            out += "\\fs" + std::to_string(halfPoints > 0 ? halfPoints : 1);
        } else {
            out.append(rtf, i, k - i);
        }
        if (word == "bin" && hasValue && value > 0) {
            // Binary data follows its delimiter and is never read as text.
            const size_t start = k < n && rtf[k] == ' ' ? k + 1 : k;
            const size_t len = std::min(static_cast<size_t>(value), n - start);
            out.append(rtf, k, start - k + len);
            k = start + len;
        }
        i = k;
    }
    return out;
}

std::vector<float> LeadSheetZoomSteps() { return std::vector<float>(std::begin(kZoomSteps), std::end(kZoomSteps)); }

float GuessStoredZoom(long commonTwips, const std::vector<long>& generatedSizes)
{
    for (size_t i = 0; i < generatedSizes.size() && i < std::size(kZoomSteps); ++i)
        if (generatedSizes[i] == commonTwips)
            return kZoomSteps[i];
    // The nearest step, within half the 30 twips between two steps.
    float best = 0.0f;
    double bestDistance = kLeadSheetTextTwips * 0.05 + 0.5;
    for (float zoom : kZoomSteps) {
        const double d = std::fabs(commonTwips - kLeadSheetTextTwips * static_cast<double>(zoom));
        if (d < bestDistance) {
            best = zoom;
            bestDistance = d;
        }
    }
    return best;
}

// Text boxes -------------------------------------------------------------

bool TextBoxIsFull(int rectBottom, int textHeight, int lastLineTop)
{
    return !(rectBottom - 1.5 * textHeight > static_cast<double>(lastLineTop) + textHeight);
}

namespace {
bool IsLineBreak(char c) { return c == '\r' || c == '\n' || c == '\v'; }
} // namespace

int LineTextLength(const CString& line)
{
    int end = 0;
    while (end < line.GetLength() && !IsLineBreak(line[end]))
        ++end;
    return end;
}

void WordAt(const CString& line, int at, int& from, int& to)
{
    auto blank = [&](int i) { return line[i] == ' ' || line[i] == '\t'; };
    auto breaks = [&](int i) { return IsLineBreak(line[i]); };
    // Past the end of the line: its last word.
    const int end = LineTextLength(line);
    if (at >= end)
        at = end - 1;
    from = to = at < 0 ? 0 : at;
    if (at < 0)
        return;
    const bool inBlanks = blank(at);
    auto same = [&](int i) { return !breaks(i) && blank(i) == inBlanks; };
    while (from > 0 && same(from - 1))
        --from;
    while (to < line.GetLength() && same(to))
        ++to;
}

int TextBoxKeyCode(const TextBoxKey& k)
{
    const unsigned kReturn = 0x0D, kBack = 0x08, kUp = 0x26, kDown = 0x28;
    if (k.key == kReturn || (k.key == kDown && k.extended)) {
        if (k.caretY >= k.rectBottom - 2.1 * k.textHeight)
            return kNavNextPage;
        return -1;
    }
    if (k.key == kBack || (k.key == kUp && k.extended)) {
        if (k.empty)
            return kNavEmptyBox;
        if (k.caretX == k.rectLeft && k.caretY <= k.rectTop + 0.5 * k.textHeight)
            return kNavPreviousPage;
    }
    return -1;
}

// Character formats ------------------------------------------------------

int MulDivRound(int a, int b, int c)
{
    if (c == 0)
        return -1;
    long long num = static_cast<long long>(a) * b;
    long long den = c;
    if (den < 0) {
        num = -num;
        den = -den;
    }
    const long long q = num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den);
    if (q > INT_MAX || q < INT_MIN)
        return -1;
    return static_cast<int>(q);
}

int TwipsToFontHeight(long yHeight, int pixelsPerInch)
{
    return -MulDivRound(static_cast<int>(yHeight), pixelsPerInch, 72) / 20;
}

long FontHeightToTwips(int height, int pixelsPerInch) { return static_cast<long>(MulDivRound(height, 72, pixelsPerInch)) * -20; }

bool WeightIsBold(int weight) { return weight >= 650; }
