#include "views/LeadSheetModel.h"

#include <climits>

CString LeadSheetHeading(const CString& title) { return title + "\r\n\r\n"; }

std::vector<CString> LeadSheetPieces(const std::vector<CString>& chordLines, const std::vector<CString>& lyrics)
{
    std::vector<CString> out;
    out.reserve(lyrics.size() * 4);
    for (size_t r = 0; r < lyrics.size(); ++r) {
        out.push_back(r < chordLines.size() ? chordLines[r] : CString());
        out.push_back("\r\n");
        out.push_back(lyrics[r]);
        out.push_back("\r\n\r\n");
    }
    return out;
}

void AppendLeadSheetPiece(ILeadSheetPages& pages, const CString& piece)
{
    if (pages.IsLastFull())
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

long ScaleCharHeight(long height, float zoom, float oldZoom)
{
    if (oldZoom <= 0.0f)
        return height;
    // Rounded: the zoom steps are not exact in floating point, and
    // truncating would shrink the text a little at every step.
    const double h = static_cast<double>(height) * zoom / oldZoom;
    return static_cast<long>(h < 0 ? h - 0.5 : h + 0.5);
}

// Text boxes -------------------------------------------------------------

bool TextBoxIsFull(int rectBottom, int textHeight, int lineCount)
{
    return !(rectBottom - 1.5 * textHeight > static_cast<double>(lineCount) * (textHeight + 2));
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

CharEffects FormatEffects(bool bold, bool italic, bool underline)
{
    CharEffects e;
    e.mask = kEffectBold | kEffectItalic | kEffectUnderline;
    e.effects = (bold ? kEffectBold : 0u) | (italic ? kEffectItalic : 0u) | (underline ? kEffectUnderline : 0u);
    return e;
}

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
