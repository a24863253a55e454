#pragma once
// The lead sheet without windows: the text generated from the chord grid's
// rows, its paging onto boxes, the page geometry at a zoom, the text boxes'
// full and page-boundary rules and the character formats of the commands.
#include <vector>

#include "framework/CString.h"

// Generated text --------------------------------------------------------

// The first box's text: the title and a blank line.
CString LeadSheetHeading(const CString& title);
// Per row, in turn: its chord line (chord names joined by tabs), a line
// break, its lyric line and a blank line. There are as many rows as lyric
// lines; a missing chord line is empty.
std::vector<CString> LeadSheetPieces(const std::vector<CString>& chordLines, const std::vector<CString>& lyrics);

// The boxes the text goes into, one per page.
class ILeadSheetPages {
public:
    virtual ~ILeadSheetPages() = default;
    virtual bool IsLastFull() = 0;
    // A new last box holding exactly this text.
    virtual void AddPage(const CString& text) = 0;
    virtual void AppendToLast(const CString& piece) = 0;
    virtual CString LastText() = 0;
    virtual void SetLastText(const CString& text) = 0;
};

// A piece goes whole into the last box, or into a new one when the last is
// full before it: pieces are never split, so a box may run past its lines.
void AppendLeadSheetPiece(ILeadSheetPages& pages, const CString& piece);
// The pieces placed as AppendLeadSheetPiece places them one after the other,
// but each box's text is set whole: a box takes its pieces up to the first
// one after which it is full (text only grows, so a full box stays full),
// found by halving. A long song asks a few times per box, not per piece.
void FillLeadSheetPages(ILeadSheetPages& pages, const std::vector<CString>& pieces);

// Page geometry -----------------------------------------------------------

struct LeadSheetRect {
    int left, top, right, bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

struct LeadSheetGeometry {
    int viewWidth, viewHeight; // scroll size
    int pageWidth, pageHeight; // a page at zoom 1
    int fontHeight;            // the boxes' default font
};

// The gap between pages and above the first, in pixels.
constexpr int kLeadSheetPageGap = 20;
// The margin inside a page at zoom 1.
constexpr int kLeadSheetMargin = 60;

LeadSheetGeometry ComputeLeadSheetGeometry(int screenWidth, int screenHeight, float zoom, int pageCount);
int LeadSheetMargin(float zoom);
// Page p (from 0) in view coordinates.
LeadSheetRect LeadSheetPageRect(const LeadSheetGeometry& g, float zoom, int page);
// Where page p's box sits: the page less the margin.
LeadSheetRect LeadSheetBoxRect(const LeadSheetGeometry& g, float zoom, int page);
// The rectangle a box is created with, before the first paint places it.
LeadSheetRect LeadSheetNewBoxRect(const LeadSheetGeometry& g, float zoom);
// A box's default character height after the zoom went from oldZoom to zoom.
long ScaleCharHeight(long height, float zoom, float oldZoom);

// Text box rules ----------------------------------------------------------

// Full when its lines (wrapped ones count) reach 1.5 text heights above the
// formatting rectangle's bottom.
bool TextBoxIsFull(int rectBottom, int textHeight, int lineCount);

// Codes a text box posts for its page-boundary keys.
enum TextBoxNavigation { kNavNextPage = 0, kNavPreviousPage = 1, kNavEmptyBox = 2 };

struct TextBoxKey {
    unsigned key;
    bool extended;   // the extended-key flag (arrows of the arrow block)
    bool empty;      // the box holds no text
    int caretX, caretY;
    int rectLeft, rectTop, rectBottom; // formatting rectangle
    int textHeight;
};
// The code to post for a key, which the box then swallows; -1: the key gets
// the default handling.
int TextBoxKeyCode(const TextBoxKey& k);

// Character formats -------------------------------------------------------

// Effect bits, the same as the rich edit's.
constexpr unsigned kEffectBold = 0x1;
constexpr unsigned kEffectItalic = 0x2;
constexpr unsigned kEffectUnderline = 0x4;

struct CharEffects {
    unsigned mask;
    unsigned effects;
};
// The formatting commands set or clear exactly these three effects.
CharEffects FormatEffects(bool bold, bool italic, bool underline);

// Between a character format's height (twips) and a logical font's height
// (negative: character height in pixels) at a device's pixels per inch.
int TwipsToFontHeight(long yHeight, int pixelsPerInch);
long FontHeightToTwips(int height, int pixelsPerInch);
// The font dialog's weights from semibold up count as bold.
bool WeightIsBold(int weight);
// As the system's MulDiv: a x b / c rounded half away from zero, -1 when c
// is 0 or the result does not fit.
int MulDivRound(int a, int b, int c);
