#pragma once
// The bass tablature: the pages of rows with four strings above each time
// line and the bass notes as fret numbers on them. Notes can be selected,
// deleted and entered by typing a fret on a string; the two bass pitches
// under the mouse are handed to the tools panel.
#include <vector>

#include "views/GridView.h"
#include "views/TabLayout.h"

constexpr UINT WM_TAB_RESERVED = 0x84D1;

class COstrelView : public CGridView {
    DECLARE_DYNCREATE(COstrelView)
public:
    COstrelView();

    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;

    void DistributeNotes(const std::vector<BassNote>& notes);
    bool IsNoteShown(const BassNote& note) const { return ::IsNoteShown(note, m_mode); }
    void SetPitchPairs(const std::vector<int>& times, const std::vector<int>& pairs) { SetPitchList(times, pairs); }
    void ClearPitchPairs() { ClearPitchList(); }
    void SelectNote(int index, int row) { SelectItem(index, row); }
    void ClearNoteSelection() { ClearItemSelection(); }
    bool IsNoteSelected(int index, int row) const { return IsItemSelected(index, row); }
    int PlaceNoteOnString(CString& text, int pitch, int octave, int placement) const;
    void PitchFromFret(const CString& fret, int string, int& pitch, int& octave) const;
    void CommitTypedFret(int timeMs);
    void MoveNote(int newTimeMs);

    const std::vector<TabRow>& GetRows() const { return m_rows; }
    // The y of a string's line on a row (0 = E).
    int StringY(int row, int string) const;
    // The fret text's rectangle of a shown note, empty otherwise.
    CRect GetNoteRect(int index, int row);

    afx_msg LRESULT OnReserved(WPARAM wParam, LPARAM lParam);

protected:
    int GetRowCount() const override { return static_cast<int>(m_rows.size()); }
    GridRow& GetGridRow(int row) override { return m_rows[static_cast<size_t>(row)]; }
    void ResetRows(const std::vector<RowSpec>& specs) override;
    int RowEditIdBase() const override { return 78000; }
    int NameFontSize() const override { return 23; }
    void DrawRowStrings(CDC* pDC, int row, float zoom) override;
    void DrawRowItems(CDC* pDC, int row, float zoom) override;
    void RequestResultHints() override;
    void OnTypedEnter() override { CommitTypedFret(m_typingTime); }
    void DeleteSelected() override;
    void OnZoomTyping() override { m_typingTime = -1; }
    void ReloadResults() override { ReloadNotes(); }
    void ResultsGone() override { m_notesPresent = 0; }
    void CommitTypedAt(int timeMs) override { CommitTypedFret(timeMs); }
    void PickAt(const CPoint& point) override;
    CRect DragRectAt(int row, int x) override;
    void MoveSelectedTo(int timeMs) override { MoveNote(timeMs); }
    CString PitchText(int code) const override;

private:
    void ReloadNotes();
    int StringGap() const { return static_cast<int>(14 * m_geo.zoom); }
    int StringLift() const { return static_cast<int>(40 * m_geo.zoom); }

    std::vector<TabRow> m_rows;
    int m_mode;
    int m_typingString;
    BYTE m_notesPresent;

    DECLARE_MESSAGE_MAP()
};
