#include "views/KestrixView.h"

#include <cstdlib>

#include "app/DocHost.h"
#include "app/KestrixDoc.h"
#include "views/ChordGrammar.h"
#include "views/KestrixEdit.h"

IMPLEMENT_DYNCREATE(CKestrixView, CGridView)

BEGIN_MESSAGE_MAP(CKestrixView, CGridView)
END_MESSAGE_MAP()

namespace {
const COLORREF kSelectedColour = RGB(210, 65, 35);
} // namespace

CKestrixView::CKestrixView()
    : m_mode(0), m_chordsPresent(0)
{
}

void CKestrixView::ResetRows(const std::vector<RowSpec>& specs)
{
    m_rows.clear();
    for (const RowSpec& s : specs) {
        ChordRow r;
        r.length = s.length;
        r.width = s.width;
        r.page = s.page;
        m_rows.push_back(r);
    }
    // A selection would point at a chord that has moved.
    ClearChordSelection();
}

void CKestrixView::RequestResultHints()
{
    if (CKestrixDoc* doc = Doc()) {
        doc->UpdateAllViews(nullptr, HINT_CHORDS_CHANGED);
        doc->UpdateAllViews(nullptr, HINT_PITCH_SETS_CHANGED);
    }
}

// --- Hints ---

void CKestrixView::OnUpdate(CView*, LPARAM lHint, CObject* pHint)
{
    CKestrixDoc* doc = Doc();
    if (!doc)
        return;
    switch (lHint) {
    case HINT_CHORDS_CHANGED:
        ReloadChords();
        Invalidate(FALSE);
        break;
    case HINT_PITCH_SETS_CHANGED: {
        std::vector<int> codes, times;
        doc->GetPitchSets(codes, times);
        if (!codes.empty() && !times.empty())
            SetPitchSets(times, codes);
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

void CKestrixView::ReloadChords()
{
    CKestrixDoc* doc = Doc();
    m_mode = doc->GetMode();
    std::vector<ChordEntry> chords;
    doc->GetChords(chords);
    // An emptied list is distributed too: the last deleted chord must go.
    ClearChordSelection();
    DistributeChords(chords);
    SimplifyChords();
    m_chordsPresent = doc->HasChords() ? 1 : 0;
    m_hoverChord.Empty();
}

void CKestrixView::DistributeChords(const std::vector<ChordEntry>& chords)
{
    // The row texts are the document's: it keeps them from its chords.
    std::vector<CString> texts;
    ::DistributeChords(m_rows, chords, texts);
}

void CKestrixView::SimplifyChords()
{
    CKestrixDoc* doc = Doc();
    ::SimplifyChords(m_rows, m_mode, [doc](const ChordEntry& c) {
        return doc ? doc->BuildChordName(c, -24) : c.name;
    });
}

// --- Chord selection and edits ---

void CKestrixView::MoveSelectedChord(int newTimeMs)
{
    CKestrixDoc* doc = Doc();
    if (!doc)
        return;
    std::vector<ChordEntry> chords;
    doc->GetChords(chords);
    const int i = SelectedInList(chords);
    if (i < 0)
        return;
    // The chord itself moves, so a name the grammar cannot read back
    // is not lost on the way.
    ChordEntry moved = chords[static_cast<size_t>(i)];
    chords.erase(chords.begin() + i);
    moved.time = ClampToSong(newTimeMs);
    moved.confidence = 120;
    moved.visible = 1;
    InsertChordInOrder(chords, moved);
    ClearChordSelection();
    doc->SetChords(chords);
}

void CKestrixView::ParseChordName(int timeMs)
{
    CKestrixDoc* doc = Doc();
    const CString typed = m_typed;
    m_typed.Empty();
    if (typed.IsEmpty() || !doc)
        return;
    ChordEntry chord;
    if (!ParseChordText(typed, doc->GetTranspose(), ClampToSong(timeMs), chord))
        return;
    std::vector<ChordEntry> chords;
    doc->GetChords(chords);
    InsertChordInOrder(chords, chord);
    doc->SetChords(chords);
}

// --- Painting ---

CRect CKestrixView::GetChordRect(int index, int row)
{
    if (row < 0 || row >= GetRowCount())
        return CRect();
    const ChordRow& r = m_rows[static_cast<size_t>(row)];
    if (index < 0 || index >= static_cast<int>(r.items.size()) || !r.items[static_cast<size_t>(index)].visible)
        return CRect();
    CClientDC dc(this);
    const CSize size = MeasureText(&dc, &m_nameFont, r.items[static_cast<size_t>(index)].name);
    const int left = static_cast<int>(r.lineStart.x + m_geo.zoom * r.offsets[static_cast<size_t>(index)] * m_geo.pixelsPerMs -
                                      size.cx / 2);
    const int bottom = r.lineStart.y - NameLift();
    return CRect(left, bottom - size.cy, left + size.cx, bottom);
}

void CKestrixView::DrawRowItems(CDC* pDC, int row, float zoom)
{
    const ChordRow& r = m_rows[static_cast<size_t>(row)];
    CFont* old = pDC->SelectObject(&m_nameFont);
    for (size_t i = 0; i < r.items.size(); ++i) {
        const ChordEntry& c = r.items[i];
        if (!c.visible)
            continue;
        SIZE size = {0, 0};
        ::GetTextExtentPoint32A(pDC->GetSafeHdc(), c.name, c.name.GetLength(), &size);
        const bool selected = IsChordSelected(static_cast<int>(i), row);
        CRect box;
        if (selected && m_dragging) {
            box = m_dragRect;
        } else {
            const int left = static_cast<int>(r.lineStart.x + zoom * r.offsets[i] * m_geo.pixelsPerMs - size.cx / 2);
            const int bottom = r.lineStart.y - static_cast<int>(20 * zoom);
            box = CRect(left, bottom - size.cy, left + size.cx, bottom);
        }
        pDC->SetTextColor(selected ? kSelectedColour : RGB(0, 0, 0));
        pDC->DrawText(c.name, &box, DT_CENTER | DT_SINGLELINE | DT_NOCLIP);
    }
    pDC->SetTextColor(RGB(0, 0, 0));
    pDC->SelectObject(old);
}

// --- Typing ---

void CKestrixView::CommitTypedAt(int timeMs)
{
    // The chord lies under the centre of its typed name, however the typing ends.
    ParseChordName(TypedTime(timeMs, m_typed));
}

void CKestrixView::OnTypedEnter() { CommitTypedAt(m_typingTime); }

// --- Mouse ---

int CKestrixView::NameBandRow(const CPoint& point)
{
    const int lift = NameLift() + 2;
    const int h = NameHeight();
    for (int r = 0; r < GetRowCount(); ++r) {
        const ChordRow& row = m_rows[static_cast<size_t>(r)];
        const int y = row.lineStart.y;
        if (point.y > y - lift - h - 2 && point.y < y - lift)
            return point.x >= row.lineStart.x && point.x <= row.lineEnd.x ? r : -1;
    }
    return -1;
}

std::vector<int> CKestrixView::ChordsUnder(int row, int t)
{
    std::vector<int> hits;
    const ChordRow& r = m_rows[static_cast<size_t>(row)];
    CClientDC dc(this);
    const int start = RowStartMs(row);
    // The zone: the name's width either side, converted at the unzoomed scale.
    for (size_t i = 0; i < r.items.size(); ++i) {
        const int w = MeasureText(&dc, &m_nameFont, r.items[i].name).cx + 5;
        const int time = start + r.offsets[i];
        if (time - w / m_geo.pixelsPerMs < t && t < time + w / m_geo.pixelsPerMs)
            hits.push_back(static_cast<int>(i));
    }
    return hits;
}

void CKestrixView::PickAt(const CPoint& point)
{
    const int r = NameBandRow(point);
    if (r < 0)
        return;
    const int t = m_geo.TimeAtX(point.x, GetScrollPosition().x, r, RowStartMs(r));
    bool shownHit = false;
    for (int i : ChordsUnder(r, t)) {
        // Only what the user sees can be picked.
        if (!m_rows[static_cast<size_t>(r)].items[static_cast<size_t>(i)].visible)
            continue;
        SelectChord(i, r);
        shownHit = true;
    }
    if (!shownHit && m_chordsPresent) {
        const int y = m_rows[static_cast<size_t>(r)].lineStart.y;
        StartTyping(CPoint(point.x, y - NameLift() - NameHeight()), t, r);
    }
}

CRect CKestrixView::DragRectAt(int row, int x)
{
    const int h = NameHeight();
    const ChordRow& sel = m_rows[static_cast<size_t>(m_selRow)];
    CClientDC dc(this);
    const int w = MeasureText(&dc, &m_nameFont, sel.items[static_cast<size_t>(m_selIndex)].name).cx;
    const int bottom = m_rows[static_cast<size_t>(row)].lineStart.y - NameLift();
    return CRect(x - w / 2, bottom - h, x - w / 2 + w, bottom);
}

CString CKestrixView::PitchText(int code) const
{
    int codes[6];
    UnpackPitchSet(code, Doc()->GetTranspose(), codes);
    return PitchSetText(codes);
}

void CKestrixView::OnHover(const CPoint& point)
{
    if (Doc()->IsPlaying())
        return;
    CString chord;
    const int r = NameBandRow(point);
    if (r >= 0) {
        const int t = m_geo.TimeAtX(point.x, GetScrollPosition().x, r, RowStartMs(r));
        for (int i : ChordsUnder(r, t)) {
            const ChordEntry& c = m_rows[static_cast<size_t>(r)].items[static_cast<size_t>(i)];
            if (!c.visible)
                continue;
            const int slash = c.name.Find('/');
            chord = slash < 0 ? c.name : c.name.Left(slash);
        }
    }
    if (chord != m_hoverChord) {
        m_hoverChord = chord;
        GetDocHost()->ShowChordName(chord);
    }
}

// --- Keys ---

void CKestrixView::DeleteSelected()
{
    CKestrixDoc* doc = Doc();
    if (!doc)
        return;
    std::vector<ChordEntry> chords;
    doc->GetChords(chords);
    const int i = SelectedInList(chords);
    ClearChordSelection();
    if (i < 0)
        return;
    chords.erase(chords.begin() + i);
    doc->SetChords(chords);
}
