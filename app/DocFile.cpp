#include "app/DocFile.h"

namespace {

// A count is refused when the file cannot hold that many values of the
// smallest size the column's entries take.
int ReadCount(CArchive& ar, int minBytesEach)
{
    int32_t n = 0;
    ar >> n;
    const CFile* f = ar.GetFile();
    const int64_t left = f ? f->GetLength() - f->GetPosition() : 0;
    if (n < 0 || static_cast<int64_t>(n) * minBytesEach > left)
        throw new CArchiveException(CArchiveException::badIndex);
    return n;
}

// A later column of a record kind fills fields of records that exist.
int ReadFieldCount(CArchive& ar, size_t records, int minBytesEach)
{
    const int n = ReadCount(ar, minBytesEach);
    if (static_cast<size_t>(n) > records)
        throw new CArchiveException(CArchiveException::badIndex);
    return n;
}

template <class Rec, class Set>
void ReadIntField(CArchive& ar, std::vector<Rec>& recs, Set set)
{
    const int n = ReadFieldCount(ar, recs.size(), 4);
    for (int i = 0; i < n; ++i) {
        int32_t v = 0;
        ar >> v;
        set(recs[static_cast<size_t>(i)], v);
    }
}

void ReadIntList(CArchive& ar, std::vector<int>& out)
{
    const int n = ReadCount(ar, 4);
    for (int i = 0; i < n; ++i) {
        int32_t v = 0;
        ar >> v;
        out.push_back(v);
    }
}

void ReadStringList(CArchive& ar, std::vector<CString>& out)
{
    const int n = ReadCount(ar, 1);
    for (int i = 0; i < n; ++i) {
        CString s;
        ar >> s;
        out.push_back(s);
    }
}

void WriteIntList(CArchive& ar, const std::vector<int>& v)
{
    ar << static_cast<int32_t>(v.size());
    for (int x : v)
        ar << static_cast<int32_t>(x);
}

void WriteStringList(CArchive& ar, const std::vector<CString>& v)
{
    ar << static_cast<int32_t>(v.size());
    for (const CString& s : v)
        ar << s;
}

template <class Rec, class Get>
void WriteIntField(CArchive& ar, const std::vector<Rec>& recs, Get get)
{
    ar << static_cast<int32_t>(recs.size());
    for (const Rec& r : recs)
        ar << static_cast<int32_t>(get(r));
}

// The part every layout shares: chords and bass notes created by their
// first columns, their fields, the two pitch lists.
void ReadResultColumns(CArchive& ar, DocFileBody& b)
{
    const int chords = ReadCount(ar, 1);
    for (int i = 0; i < chords; ++i) {
        ChordEntry c;
        ar >> c.name;
        c.visible = 1;
        b.chords.push_back(c);
    }
    ReadIntField(ar, b.chords, [](ChordEntry& c, int v) { c.root = v; });
    ReadIntField(ar, b.chords, [](ChordEntry& c, int v) { c.time = v; });
    ReadIntField(ar, b.chords, [](ChordEntry& c, int v) { c.bass = v; });
    const int notes = ReadCount(ar, 4);
    for (int i = 0; i < notes; ++i) {
        BassNote n;
        int32_t octave = 0;
        ar >> octave;
        n.octave = octave;
        b.bass.push_back(n);
    }
    ReadIntField(ar, b.bass, [](BassNote& n, int v) { n.placement = v; });
    ReadIntField(ar, b.bass, [](BassNote& n, int v) { n.time = v; });
    ReadIntList(ar, b.pairCodes);
    ReadIntList(ar, b.pairTimes);
    ReadIntList(ar, b.setCodes);
    ReadIntList(ar, b.setTimes);
}

void ReadSuffixes(CArchive& ar, DocFileBody& b, bool markOld)
{
    const int n = ReadFieldCount(ar, b.chords.size(), 1);
    for (int i = 0; i < n; ++i) {
        ChordEntry& c = b.chords[static_cast<size_t>(i)];
        ar >> c.suffix;
        if (markOld) {
            c.visible = 1;
            c.confidence = 100;
        }
    }
}

void ReadMajorFlags(CArchive& ar, DocFileBody& b)
{
    const int n = ReadFieldCount(ar, b.chords.size(), 1);
    for (int i = 0; i < n; ++i) {
        bool major = false;
        ar >> major;
        b.chords[static_cast<size_t>(i)].major = major;
    }
}

void ReadLayout20(CArchive& ar, DocFileBody& b)
{
    int32_t v = 0;
    ar >> b.audioPresent;
    ar >> v;
    b.currentView = v;
    ar >> v;
    b.transpose = v;
    ar >> v;
    b.pageCount = v;
    ar >> b.tuning;
    ar >> b.key;
    b.keyRead = true;
    ar >> b.leadSheetStale;
    ar >> b.audioPath;
    ar >> b.chordsPresent;
    ReadStringList(ar, b.lyrics);
    ReadResultColumns(ar, b);
    ReadSuffixes(ar, b, false);
    ReadIntField(ar, b.bass, [](BassNote& n, int x) { n.pitch = x; });
    ReadIntField(ar, b.bass, [](BassNote& n, int x) { n.visible = x; });
    ReadIntField(ar, b.bass, [](BassNote& n, int x) { n.level = x; });
    ReadMajorFlags(ar, b);
    ReadIntField(ar, b.chords, [](ChordEntry& c, int x) { c.visible = x; });
    ReadIntField(ar, b.chords, [](ChordEntry& c, int x) { c.confidence = x; });
    ar >> v;
    b.totalLength = v;
    ar >> b.title;
    ReadStringList(ar, b.rowTexts);
}

void ReadLayout18(CArchive& ar, DocFileBody& b)
{
    int32_t v = 0;
    ar >> b.audioPresent;
    ar >> v;
    b.currentView = v;
    ar >> b.chordsPresent;
    ar >> v;
    b.transpose = v;
    ar >> v;
    b.pageCount = v;
    ar >> b.tuning;
    ar >> b.key;
    b.keyRead = true;
    ar >> b.leadSheetStale;
    ar >> b.audioPath;
    ar >> b.chordsPresent;
    ReadResultColumns(ar, b);
    ReadSuffixes(ar, b, true);
    const int n = ReadFieldCount(ar, b.bass.size(), 4);
    for (int i = 0; i < n; ++i) {
        BassNote& note = b.bass[static_cast<size_t>(i)];
        ar >> v;
        note.pitch = v;
        note.visible = 1;
        note.level = 100;
    }
    ReadMajorFlags(ar, b);
    ar >> v;
    b.totalLength = v;
    ar >> b.title;
    const size_t before = b.rowTexts.size();
    ReadStringList(ar, b.rowTexts);
    // An empty lyric edit per row text.
    b.lyrics.resize(b.lyrics.size() + (b.rowTexts.size() - before));
}

void ReadLayout0(CArchive& ar, DocFileBody& b, bool audioPresent)
{
    int32_t v = 0;
    b.audioPresent = audioPresent;
    ar >> v;
    b.currentView = v;
    ar >> b.chordsPresent;
    ar >> v;
    b.transpose = v;
    ar >> v;
    b.pageCount = v;
    ar >> b.tuning;
    std::vector<CString> skipped;
    ReadStringList(ar, skipped);
    ar >> b.leadSheetStale;
    ar >> b.audioPath;
    ar >> b.chordsPresent;
    ReadResultColumns(ar, b);
    ReadSuffixes(ar, b, false);
    const int n = ReadFieldCount(ar, b.bass.size(), 4);
    for (int i = 0; i < n; ++i) {
        ar >> v;
        b.bass[static_cast<size_t>(i)].pitch = v;
    }
    ReadMajorFlags(ar, b);
    ar >> v;
    b.totalLength = v;
    ar >> b.title;

    // Row records: the count is re-read from every record.
    int32_t count = ReadCount(ar, 10);
    for (int32_t i = 0; i < count; ++i) {
        int32_t skip = 0;
        CString text, unused;
        ar >> skip;
        ar >> text;
        b.rowTexts.push_back(text);
        b.lyrics.push_back(CString());
        ar >> count;
        ar >> unused;
        const CFile* f = ar.GetFile();
        if (count < 0 || (f && static_cast<int64_t>(count - i - 1) * 10 > f->GetLength() - f->GetPosition()))
            throw new CArchiveException(CArchiveException::badIndex);
    }
    for (int list = 0; list < 2; ++list) {
        const int pairs = ReadCount(ar, 5);
        for (int i = 0; i < pairs; ++i) {
            int32_t skip = 0;
            CString unused;
            ar >> skip;
            ar >> unused;
        }
    }
    for (BassNote& note : b.bass) {
        note.visible = 1;
        note.level = 100;
    }
    for (ChordEntry& c : b.chords) {
        c.visible = 1;
        c.confidence = 100;
    }
}

// What no song the program takes has: a length beyond the longest it
// loads, more lyric lines (each a window) or row texts than rows, a
// transposition the transpose dialog does not give, a reference pitch that
// is no number of hertz (0: none found).
void CheckSongBounds(const DocFileBody& b)
{
    const size_t rows = static_cast<size_t>(kMaxRows);
    if (b.totalLength < 0 || b.totalLength > kMaxSongMs || b.lyrics.size() > rows || b.rowTexts.size() > rows ||
        b.transpose < -kMaxTranspose || b.transpose > kMaxTranspose || !(b.tuning >= 0.0f && b.tuning < kMaxTuningHz))
        throw new CArchiveException(CArchiveException::badIndex);
}

} // namespace

void WriteDocFile(CArchive& ar, const DocFileBody& b)
{
    ar << static_cast<int32_t>(kDocLayoutCurrent);
    ar << b.audioPresent;
    ar << static_cast<int32_t>(b.currentView);
    ar << static_cast<int32_t>(b.transpose);
    ar << static_cast<int32_t>(b.pageCount);
    ar << b.tuning;
    ar << b.key;
    ar << b.leadSheetStale;
    ar << b.audioPath;
    ar << b.chordsPresent;
    WriteStringList(ar, b.lyrics);
    ar << static_cast<int32_t>(b.chords.size());
    for (const ChordEntry& c : b.chords)
        ar << c.name;
    WriteIntField(ar, b.chords, [](const ChordEntry& c) { return c.root; });
    WriteIntField(ar, b.chords, [](const ChordEntry& c) { return c.time; });
    WriteIntField(ar, b.chords, [](const ChordEntry& c) { return c.bass; });
    WriteIntField(ar, b.bass, [](const BassNote& n) { return n.octave; });
    WriteIntField(ar, b.bass, [](const BassNote& n) { return n.placement; });
    WriteIntField(ar, b.bass, [](const BassNote& n) { return n.time; });
    WriteIntList(ar, b.pairCodes);
    WriteIntList(ar, b.pairTimes);
    WriteIntList(ar, b.setCodes);
    WriteIntList(ar, b.setTimes);
    ar << static_cast<int32_t>(b.chords.size());
    for (const ChordEntry& c : b.chords)
        ar << c.suffix;
    WriteIntField(ar, b.bass, [](const BassNote& n) { return n.pitch; });
    WriteIntField(ar, b.bass, [](const BassNote& n) { return n.visible; });
    WriteIntField(ar, b.bass, [](const BassNote& n) { return n.level; });
    ar << static_cast<int32_t>(b.chords.size());
    for (const ChordEntry& c : b.chords)
        ar << c.major;
    WriteIntField(ar, b.chords, [](const ChordEntry& c) { return c.visible; });
    WriteIntField(ar, b.chords, [](const ChordEntry& c) { return c.confidence; });
    ar << static_cast<int32_t>(b.totalLength);
    ar << b.title;
    WriteStringList(ar, b.rowTexts);
}

bool ReadDocBody(CArchive& ar, int layout, bool audioPresent, DocFileBody& body)
{
    switch (layout) {
    case 20:
        ReadLayout20(ar, body);
        break;
    case 18:
        ReadLayout18(ar, body);
        break;
    case 0:
        ReadLayout0(ar, body, audioPresent);
        break;
    default:
        return false;
    }
    CheckSongBounds(body);
    return true;
}

int ReadDocFile(CArchive& ar, DocFileBody& body)
{
    int32_t layout = -1;
    ar >> layout;
    bool audioPresent = false;
    if (layout == 0)
        ar >> audioPresent;
    return ReadDocBody(ar, layout, audioPresent, body) ? layout : -1;
}

void WriteLeadSheetBoxes(CArchive& ar, const LeadSheetBoxes& boxes)
{
    // A file the reader would refuse is not written.
    if (boxes.size() > kMaxLeadSheetBoxes)
        throw new CArchiveException(CArchiveException::badIndex);
    ar << static_cast<uint32_t>(boxes.size());
    for (const LeadSheetBox& b : boxes)
        ar << b.rtf << b.left << b.right << b.top << b.bottom;
}

void ReadLeadSheetBoxes(CArchive& ar, LeadSheetBoxes& boxes)
{
    uint32_t count = 0;
    ar >> count;
    // Each box takes at least a length byte and its rectangle.
    const CFile* f = ar.GetFile();
    if (count > kMaxLeadSheetBoxes || (f && static_cast<int64_t>(count) * 17 > f->GetLength() - f->GetPosition()))
        throw new CArchiveException(CArchiveException::badIndex);
    LeadSheetBoxes read(count);
    for (LeadSheetBox& b : read)
        ar >> b.rtf >> b.left >> b.right >> b.top >> b.bottom;
    boxes.swap(read);
}
