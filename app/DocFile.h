#pragma once
// The body of a ".vqx" song document: what a document holds, in the order
// and encodings that stored files rely on. Portable; the document maps it to
// its own fields and windows.
//
// A file is [int layout][layout 0 only: bool audio present][body][boxes]:
// the leading int names the layout of the body, written as 20; the boxes
// are the lead sheet's pages (LeadSheetBoxes).
#include <vector>

#include "app/DocTypes.h"
#include "framework/Archive.h"

struct DocFileBody {
    bool audioPresent = false;
    int currentView = 1;
    int transpose = 0;
    int pageCount = 0;
    float tuning = 0.0f;
    CString key;
    bool keyRead = false; // layout 0 carries no key
    bool leadSheetStale = false;
    CString audioPath;
    bool chordsPresent = false;
    std::vector<CString> lyrics; // one per lyric edit, in row order
    std::vector<ChordEntry> chords;
    std::vector<BassNote> bass;
    std::vector<int> pairCodes, pairTimes;
    std::vector<int> setCodes, setTimes;
    int totalLength = 0;
    CString title;
    std::vector<CString> rowTexts;
};

constexpr int kDocLayoutCurrent = 20;

// The leading int and the body in layout 20.
void WriteDocFile(CArchive& ar, const DocFileBody& body);
// Reads the layout number and then the body. Returns the layout read, or -1
// for a layout this program does not know (nothing more is read). A file
// that breaks the rules (a short read, a column longer than the records its
// kind has, a count the file cannot hold, a song longer than kMaxSongMs or
// more lyric lines or row texts than kMaxRows, a transposition beyond
// kMaxTranspose, a tuning not in 0..kMaxTuningHz) throws the archive's
// exception. Memory running out while reading throws std::bad_alloc.
int ReadDocFile(CArchive& ar, DocFileBody& body);
// The body of one layout, for a caller that has the layout already.
bool ReadDocBody(CArchive& ar, int layout, bool audioPresent, DocFileBody& body);

// One page of the lead sheet as stored: the box's RTF stream and its
// formatting rectangle.
struct LeadSheetBox {
    CString rtf;
    int32_t left = 0, right = 0, top = 0, bottom = 0;
};
using LeadSheetBoxes = std::vector<LeadSheetBox>;

// The most pages a lead sheet has (each is a window): the view makes no
// more, and the reader takes no more.
constexpr uint32_t kMaxLeadSheetBoxes = 1000;

// The count, then per box its RTF and its rectangle as left, right, top,
// bottom. More than kMaxLeadSheetBoxes throw the archive's exception.
void WriteLeadSheetBoxes(CArchive& ar, const LeadSheetBoxes& boxes);
// Reads the section whole; a count above kMaxLeadSheetBoxes or more than the
// file can hold throws the archive's exception before anything is read.
void ReadLeadSheetBoxes(CArchive& ar, LeadSheetBoxes& boxes);
