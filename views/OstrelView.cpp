#include "views/OstrelView.h"

#include <cstdlib>

#include "app/DocHost.h"
#include "app/KestrixDoc.h"
#include "views/KestrixEdit.h"

IMPLEMENT_DYNCREATE(COstrelView, CGridView)

BEGIN_MESSAGE_MAP(COstrelView, CGridView)
    ON_MESSAGE(WM_TAB_RESERVED, OnReserved)
END_MESSAGE_MAP()

namespace {
const COLORREF kSelectedColour = RGB(210, 65, 35);
} // namespace

COstrelView::COstrelView()
    : m_mode(0), m_typingString(0), m_notesPresent(0)
{
    m_geo.pixelsPerMs = 0.173;
    m_timeBias = 0;
}

void COstrelView::ResetRows(const std::vector<RowSpec>& specs)
{
    m_rows.clear();
    for (const RowSpec& s : specs) {
        TabRow r;
        r.length = s.length;
        r.width = s.width;
        r.page = s.page;
        m_rows.push_back(r);
    }
    ClearNoteSelection();
}

void COstrelView::RequestResultHints()
{
    if (CKestrixDoc* doc = Doc()) {
        doc->UpdateAllViews(nullptr, HINT_BASS_CHANGED);
        doc->UpdateAllViews(nullptr, HINT_PITCH_PAIRS_CHANGED);
    }
}

LRESULT COstrelView::OnReserved(WPARAM, LPARAM) { return 0; }

// --- Hints ---

void COstrelView::OnUpdate(CView*, LPARAM lHint, CObject* pHint)
{
    CKestrixDoc* doc = Doc();
    if (!doc)
        return;
    switch (lHint) {
    case HINT_BASS_CHANGED:
        ReloadNotes();
        Invalidate(FALSE);
        break;
    case HINT_PITCH_PAIRS_CHANGED: {
        std::vector<int> codes, times;
        doc->GetPitchPairs(codes, times);
        SetPitchPairs(times, codes);
        break;
    }
    case HINT_PRINT:
        OnFilePrint();
        break;
    default:
        OnGridHint(lHint, pHint);
        break;
    }
}

void COstrelView::ReloadNotes()
{
    CKestrixDoc* doc = Doc();
    m_mode = doc->GetMode();
    std::vector<BassNote> notes;
    doc->GetBassNotes(notes);
    // An emptied list is distributed too: the last deleted note must go.
    ClearNoteSelection();
    DistributeNotes(notes);
    // As in the chord grid: notes are typed once the song has been analysed.
    m_notesPresent = doc->HasChords() ? 1 : 0;
}

void COstrelView::DistributeNotes(const std::vector<BassNote>& notes) { ::DistributeNotes(m_rows, notes); }

int COstrelView::PlaceNoteOnString(CString& text, int pitch, int octave, int placement) const
{
    CKestrixDoc* doc = Doc();
    return ::PlaceNoteOnString(text, pitch, octave, placement, doc ? doc->GetTranspose() : 0);
}

void COstrelView::PitchFromFret(const CString& fret, int string, int& pitch, int& octave) const
{
    CKestrixDoc* doc = Doc();
    ::PitchFromFret(fret, string, doc ? doc->GetTranspose() : 0, pitch, octave);
}

// --- Note edits ---

void COstrelView::CommitTypedFret(int timeMs)
{
    CKestrixDoc* doc = Doc();
    const CString text = m_typed;
    if (text.IsEmpty() || !doc)
        return;
    m_typed.Empty();
    if (!IsValidFretText(text))
        return;
    timeMs = TypedTime(timeMs, text);

    std::vector<BassNote> notes;
    doc->GetBassNotes(notes);
    size_t at = 0;
    while (at < notes.size() && notes[at].time < timeMs)
        ++at;
    BassNote n;
    PitchFromFret(text, m_typingString, n.pitch, n.octave);
    n.time = timeMs;
    n.placement = ((std::atoi(text) - doc->GetTranspose()) << 16) | m_typingString;
    n.level = 120;
    n.visible = 1;
    notes.insert(notes.begin() + static_cast<long>(at), n);
    ClearNoteSelection();
    doc->SetBassNotes(notes);
    Invalidate(FALSE);
}

void COstrelView::MoveNote(int newTimeMs)
{
    CKestrixDoc* doc = Doc();
    if (!doc)
        return;
    std::vector<BassNote> notes;
    doc->GetBassNotes(notes);
    const int i = SelectedInList(notes);
    if (i < 0)
        return;
    // The note keeps its string, fret, octave and level; only its time moves.
    BassNote moved = notes[static_cast<size_t>(i)];
    notes.erase(notes.begin() + i);
    moved.time = ClampToSong(newTimeMs);
    size_t at = 0;
    while (at < notes.size() && notes[at].time < moved.time)
        ++at;
    notes.insert(notes.begin() + static_cast<long>(at), moved);
    ClearNoteSelection();
    doc->SetBassNotes(notes);
}

void COstrelView::DeleteSelected()
{
    CKestrixDoc* doc = Doc();
    // While typing the caret stays where it is: what is typed next lands there.
    if (!m_typing)
        m_typingTime = -1;
    if (!doc)
        return;
    std::vector<BassNote> notes;
    doc->GetBassNotes(notes);
    const int i = SelectedInList(notes);
    ClearNoteSelection();
    if (i < 0)
        return;
    notes.erase(notes.begin() + i);
    doc->SetBassNotes(notes);
}

// --- Painting ---

int COstrelView::StringY(int row, int string) const
{
    if (row < 0 || row >= GetRowCount())
        return 0;
    return m_rows[static_cast<size_t>(row)].lineStart.y - StringLift() - string * StringGap();
}

void COstrelView::DrawRowStrings(CDC* pDC, int row, float)
{
    TabRow& r = m_rows[static_cast<size_t>(row)];
    CPen* old = pDC->SelectObject(&m_linePen);
    for (int s = 0; s < 4; ++s) {
        r.stringEnds[s] = GridPoint{r.lineStart.x, StringY(row, s)};
        pDC->MoveTo(r.lineStart.x, r.stringEnds[s].y);
        pDC->LineTo(r.lineEnd.x, r.stringEnds[s].y);
    }
    for (int x : {r.lineStart.x, r.lineEnd.x}) {
        pDC->MoveTo(x, r.stringEnds[0].y);
        pDC->LineTo(x, r.stringEnds[3].y);
    }
    pDC->SelectObject(old);
}

CRect COstrelView::GetNoteRect(int index, int row)
{
    if (row < 0 || row >= GetRowCount())
        return CRect();
    const TabRow& r = m_rows[static_cast<size_t>(row)];
    if (index < 0 || index >= static_cast<int>(r.items.size()) || !IsNoteShown(r.items[static_cast<size_t>(index)]))
        return CRect();
    const BassNote& n = r.items[static_cast<size_t>(index)];
    CString text;
    const int s = PlaceNoteOnString(text, n.pitch, n.octave, n.placement);
    if (s < 0)
        return CRect();
    CClientDC dc(this);
    const CSize size = MeasureText(&dc, &m_nameFont, text);
    const int left = static_cast<int>(r.lineStart.x + m_geo.zoom * r.offsets[static_cast<size_t>(index)] * m_geo.pixelsPerMs -
                                      size.cx / 2);
    const int bottom = StringY(row, s) + size.cy / 2;
    return CRect(left, bottom - size.cy, left + size.cx, bottom);
}

void COstrelView::DrawRowItems(CDC* pDC, int row, float zoom)
{
    const TabRow& r = m_rows[static_cast<size_t>(row)];
    CFont* old = pDC->SelectObject(&m_nameFont);
    struct Fret {
        CString text;
        CRect box;
        bool selected;
    };
    std::vector<Fret> frets;
    for (size_t i = 0; i < r.items.size(); ++i) {
        const BassNote& n = r.items[i];
        if (!IsNoteShown(n))
            continue;
        Fret f;
        const int s = PlaceNoteOnString(f.text, n.pitch, n.octave, n.placement);
        if (s < 0)
            continue;
        SIZE size = {0, 0};
        ::GetTextExtentPoint32A(pDC->GetSafeHdc(), f.text, f.text.GetLength(), &size);
        const int left = static_cast<int>(r.lineStart.x + zoom * r.offsets[i] * m_geo.pixelsPerMs - size.cx / 2);
        const int bottom = StringY(row, s) + size.cy / 2;
        f.box = CRect(left, bottom - size.cy, left + size.cx, bottom);
        f.selected = IsNoteSelected(static_cast<int>(i), row);
        if (m_dragging && f.selected)
            f.box = m_dragRect;
        frets.push_back(f);
    }
    // Digits sit on their string with the line cut behind them; the cuts
    // first, so that two notes at one time on neighbouring strings both
    // stay whole.
    CBrush white(RGB(255, 255, 255));
    const int half = StringGap() / 2;
    for (const Fret& f : frets) {
        const int y = f.box.CenterPoint().y;
        CRect cut(f.box.left, y - half + 1, f.box.right, y + half);
        pDC->FillRect(&cut, &white);
    }
    for (const Fret& f : frets) {
        pDC->SetTextColor(f.selected ? kSelectedColour : RGB(0, 0, 0));
        CRect box = f.box;
        pDC->DrawText(f.text, &box, DT_CENTER | DT_SINGLELINE | DT_NOCLIP);
    }
    pDC->SetTextColor(RGB(0, 0, 0));
    pDC->SelectObject(old);
}

// --- Mouse ---

void COstrelView::PickAt(const CPoint& point)
{
    const int reach = static_cast<int>(14 * m_geo.zoom / 2);
    for (int r = 0; r < GetRowCount(); ++r) {
        const TabRow& row = m_rows[static_cast<size_t>(r)];
        int string = -1;
        for (int s = 0; s < 4 && string < 0; ++s)
            if (abs(point.y - StringY(r, s)) < reach)
                string = s;
        if (string < 0 || point.x < row.lineStart.x || point.x > row.lineEnd.x)
            continue;
        const int t = m_geo.TimeAtX(point.x, GetScrollPosition().x, r, RowStartMs(r));
        CClientDC dc(this);
        // As the chord names: the width at the unzoomed scale.
        const double hit = (MeasureText(&dc, &m_nameFont, "8").cx + 3) / m_geo.pixelsPerMs;
        const int start = RowStartMs(r);
        for (size_t i = 0; i < row.items.size(); ++i) {
            const BassNote& n = row.items[i];
            if (!IsNoteShown(n) || abs(start + row.offsets[i] - t) >= hit)
                continue;
            CString text;
            if (PlaceNoteOnString(text, n.pitch, n.octave, n.placement) != string)
                continue;
            SelectNote(static_cast<int>(i), r);
            return;
        }
        if (m_notesPresent) {
            m_typingString = string;
            StartTyping(CPoint(point.x, StringY(r, string) - NameHeight() / 2), t, r);
        }
        return;
    }
}

CRect COstrelView::DragRectAt(int row, int x)
{
    const BassNote& n = m_rows[static_cast<size_t>(m_selRow)].items[static_cast<size_t>(m_selIndex)];
    CString text;
    const int s = PlaceNoteOnString(text, n.pitch, n.octave, n.placement);
    CClientDC dc(this);
    const CSize size = MeasureText(&dc, &m_nameFont, text);
    const int bottom = StringY(row, s < 0 ? 0 : s) + size.cy / 2;
    return CRect(x - size.cx / 2, bottom - size.cy, x - size.cx / 2 + size.cx, bottom);
}

CString COstrelView::PitchText(int code) const { return PitchPairText(code, Doc()->GetTranspose()); }
