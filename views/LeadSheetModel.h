#pragma once
// The lead sheet without windows: the text generated from the chord grid's
// rows, its paging onto boxes, the page geometry at a zoom, the text boxes'
// full and page-boundary rules and the character formats of the commands.
#include <string>
#include <vector>

#include "framework/CString.h"

// Generated text --------------------------------------------------------

// The first box's text: the title and a blank line.
CString LeadSheetHeading(const CString& title);
// Per row, in turn: its chord line (chord names joined by tabs), a line
// break, its lyric line and a blank line. A row has a chord line or a lyric
// line or both; a missing one is empty.
std::vector<CString> LeadSheetPieces(const std::vector<CString>& chordLines, const std::vector<CString>& lyrics);

// The boxes the text goes into, one per page.
class ILeadSheetPages {
public:
    virtual ~ILeadSheetPages() = default;
    virtual bool IsLastFull() = 0;
    // False once there are as many boxes as a lead sheet may have: the rest
    // of the text then goes into the last one.
    virtual bool CanAddPage() = 0;
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

// Character sizes ---------------------------------------------------------
//
// A lead sheet's sizes are what it prints and exports: the boxes show them
// times the zoom, and a document stores them unzoomed.

// The generated text's size at zoom 1: 15 points, the em of the view font.
constexpr long kLeadSheetTextTwips = 300;
// The tab stops at zoom 1: every half inch, as the rich edit's own; the
// boxes show them times the zoom, as their text.
constexpr long kLeadSheetTabTwips = 720;
long ZoomedTwips(long twips, float zoom);
// A shown size as at zoom 1, in whole half points as RTF carries them, so
// that zooming back and forth never drifts.
long UnzoomedTwips(long shownTwips, float zoom);
// A shown size after the zoom went from one value to another.
long RezoomTwips(long shownTwips, float from, float to);
// RTF text whose sizes were shown at one zoom, with its sizes as shown at
// another: what the clipboard holds when text moves between zooms (text from
// another program holds printed sizes: zoom 1).
std::string RtfAtZoom(const std::string& rtf, float from, float to);
// The zoom steps, 0.3 to 1.0.
std::vector<float> LeadSheetZoomSteps();
// The zoom a document of an earlier version was saved at, told by the size
// most of its text has: the size that version generated at that zoom step
// (generatedSizes, one per step), or the size generated at another zoom and
// scaled to that one, near kLeadSheetTextTwips x zoom. 0 when no step fits.
float GuessStoredZoom(long commonTwips, const std::vector<long>& generatedSizes);

// Text box rules ----------------------------------------------------------

// Full when the bottom of its last line (wrapped lines count) reaches 1.5
// text heights above the formatting rectangle's bottom.
bool TextBoxIsFull(int rectBottom, int textHeight, int lastLineTop);

// The word around a character of a line: the run of characters other than
// blanks that holds it, or the run of blanks when it is one; past the end
// of the line, its last word. from == to for an empty line.
void WordAt(const CString& line, int at, int& from, int& to);
// The length of a line's text before its break.
int LineTextLength(const CString& line);

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

// Between a character format's height (twips) and a logical font's height
// (negative: character height in pixels) at a device's pixels per inch.
int TwipsToFontHeight(long yHeight, int pixelsPerInch);
long FontHeightToTwips(int height, int pixelsPerInch);
// The font dialog's weights from semibold up count as bold.
bool WeightIsBold(int weight);
// As the system's MulDiv: a x b / c rounded half away from zero, -1 when c
// is 0 or the result does not fit.
int MulDivRound(int a, int b, int c);
