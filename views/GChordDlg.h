#pragma once
// The guitar chord window: one fingering of a chord as a fretboard grid of
// six strings and five frets with barre, finger dots and muted strings, a
// combo box of the chord names and two arrows that step through a chord's
// versions. The chord grid drives it while the mouse moves over a chord;
// the user drags it by its client area.
#include <vector>

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "views/ChordShapes.h"

class CGChordDlg : public CDialog {
public:
    CGChordDlg(CWnd* pParent = nullptr);
    ~CGChordDlg() override;

    // The modeless window from its template.
    BOOL Create(CWnd* pParent);

    // Replaces the shapes by those of "chordfile.ini" in the installation
    // folder (or of the given file). Rejected sections are reported once,
    // on the window's own thread, after the call.
    void LoadChordFile();
    void LoadChordFile(const CString& path);
    // The blank item, then each run of equal shape names once; call once.
    void FillChordCombo();
    // Shows the version (wrapped) of the named chord; an empty or unknown
    // name clears the diagram and selects the blank item.
    void ShowChord(const CString& name, int version);
    int CountVersions(const CString& name) const { return ChordLookup::CountVersions(m_shapes, name); }
    // Appends every shape to target; the count.
    int CopyShapes(std::vector<ChordShape>& target) const;

    static bool HasKey(const std::vector<IniSection>& sections, int section, const char* key)
    {
        return ChordShapeFile::HasKey(sections, section, key);
    }
    static int ReadIntKey(const std::vector<IniSection>& sections, int section, const char* key, int def)
    {
        return ChordShapeFile::ReadIntKey(sections, section, key, def);
    }
    static CString ReadStringKey(const std::vector<IniSection>& sections, int section, const char* key,
                                 const CString& def)
    {
        return ChordShapeFile::ReadStringKey(sections, section, key, def);
    }
    static CString FlatSpelling(const CString& name) { return ChordShapeFile::FlatSpelling(name); }

    // What is shown: the shape index (-1 none), the name and version.
    int GetCurrentIndex() const { return m_selection.index; }
    CString GetCurrentName() const { return m_selection.name; }
    int GetCurrentVersion() const { return m_selection.version; }
    const std::vector<ChordShape>& GetShapes() const { return m_shapes; }
    // The arrows' client rectangles as last painted.
    CRect GetRightArrowRect() const { return m_rightArrowRect; }
    CRect GetLeftArrowRect() const { return m_leftArrowRect; }
    // The text of the version line ("" when none is drawn).
    CString GetVersionText() const;

protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void PostNcDestroy() override;
    void OnOK() override {} // Return in the combo leaves the window alone

    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnSelChangeChordCombo();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnReportRejected(WPARAM, LPARAM);
    afx_msg LRESULT OnMouseLeave(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void SelectComboFor(const CString& key);
    void DrawDiagram(CDC& dc, const CRect& client);

    CPoint m_pressPoint;
    std::vector<ChordShape> m_shapes;
    int m_fretSpacing, m_fretCount, m_stringSpacing, m_stringCount;
    CFont m_stringFont; // 14 px: string names
    CFont m_smallFont;  // 12 px: fret numbers and the version line
    ChordSelection m_selection;
    CBitmap m_arrowRight, m_arrowLeft, m_arrowRightHot, m_arrowLeftHot;
    CBitmap m_barre;
    CBitmap m_fingers[4];
    CRect m_rightArrowRect, m_leftArrowRect;
    bool m_rightHot, m_leftHot;
    CComboBox m_combo;
    std::vector<CString> m_comboNames; // without the blank item
    std::vector<CString> m_rejected;   // waiting to be reported
};
