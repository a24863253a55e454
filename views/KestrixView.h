#pragma once
// The chord grid: the pages of rows with the chord names above each time
// line and a lyric edit below it. Chords can be selected, dragged, deleted
// and typed; the pitches and the chord under the mouse are handed to the
// tools panel and the chord diagram.
#include <vector>

#include "views/ChordLayout.h"
#include "views/GridView.h"

class CKestrixView : public CGridView {
    DECLARE_DYNCREATE(CKestrixView)
public:
    CKestrixView();

    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;

    void DistributeChords(const std::vector<ChordEntry>& chords);
    void SimplifyChords();
    void SetPitchSets(const std::vector<int>& times, const std::vector<int>& sets) { SetPitchList(times, sets); }
    void ClearPitchSets() { ClearPitchList(); }
    void SelectChord(int index, int row) { SelectItem(index, row); }
    void ClearChordSelection() { ClearItemSelection(); }
    bool IsChordSelected(int index, int row) const { return IsItemSelected(index, row); }
    static CString PitchSetText(const int codes[6]) { return ::PitchSetText(codes); }
    static CString PitchName(int code) { return ::PitchName(code); }
    void MoveSelectedChord(int newTimeMs);
    // Parses the typed text into a chord at timeMs; the text is emptied.
    void ParseChordName(int timeMs);

    // What the view holds, for its tests.
    const std::vector<ChordRow>& GetRows() const { return m_rows; }
    bool HasChordsPresent() const { return m_chordsPresent != 0; }
    // The name rectangle of a shown chord in client coordinates (empty when
    // it is not shown or its page is not laid out).
    CRect GetChordRect(int index, int row);

protected:
    int GetRowCount() const override { return static_cast<int>(m_rows.size()); }
    GridRow& GetGridRow(int row) override { return m_rows[static_cast<size_t>(row)]; }
    void ResetRows(const std::vector<RowSpec>& specs) override;
    int RowEditIdBase() const override { return 79000; }
    int NameFontSize() const override { return 27; }
    void DrawRowItems(CDC* pDC, int row, float zoom) override;
    void RequestResultHints() override;
    void OnTypedEnter() override;
    void DeleteSelected() override;
    void OnZoomTyping() override { EndTyping(); }
    void ReloadResults() override { ReloadChords(); }
    void ResultsGone() override { m_chordsPresent = 0; }
    void OnRowsRebuilt() override { DropBands(); }
    void CommitTypedAt(int timeMs) override;
    void PickAt(const CPoint& point) override;
    CRect DragRectAt(int row, int x) override;
    void MoveSelectedTo(int timeMs) override { MoveSelectedChord(timeMs); }
    CString PitchText(int code) const override;
    void OnHover(const CPoint& point) override;
    bool ShortRangeWantsEndUnderMouse() const override { return true; }

private:
    void ReloadChords();
    int NameLift() const { return static_cast<int>(20 * m_geo.zoom); }
    // The first row whose chord-name band holds y, and x within it; -1 for none.
    int NameBandRow(const CPoint& point);
    // Items whose names lie under the time t of a row.
    std::vector<int> ChordsUnder(int row, int t);

    std::vector<ChordRow> m_rows;
    int m_mode;
    BYTE m_chordsPresent;
    CString m_hoverChord;

    DECLARE_MESSAGE_MAP()
};
