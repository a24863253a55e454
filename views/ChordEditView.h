#pragma once
// The lead sheet: white pages on a desk, each holding one rich edit box, in
// which the title and, row after row, the chord line above the lyric line
// are generated as text that the user then edits and formats.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Gdi.h"
#include "framework/Menu.h"
#include "views/KestrixRichEdit.h"
#include "views/LeadSheetModel.h"
#include "views/SheetLayout.h"
#include "views/ViewBase.h"

class CChordEditView : public CKestrixViewBase {
    DECLARE_DYNCREATE(CChordEditView)
public:
    CChordEditView();
    ~CChordEditView() override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;

    // Page geometry at the document's zoom; scales the boxes' default
    // character height with the zoom and sets the scroll size.
    void RescaleTextBoxes();
    // Replaces every box by text generated from the document; the box count.
    int RegenerateText();
    // Regenerated at the current zoom's geometry and font, the scroll range
    // after; the lead sheet is no longer stale.
    void RebuildText();
    // A piece of text onto the last box, or onto a new one when it is full.
    void AppendText(const CString& piece);
    // The font dialog, applied to the selections or as default format.
    void ChooseTextFont();

    const std::vector<CKestrixRichEdit*>& GetTextBoxes() const { return m_textBoxes; }
    int GetPageCount() const { return m_pageCount; }
    float GetZoom() const { return m_zoom; }
    const LeadSheetGeometry& GetGeometry() const { return m_geometry; }
    CMenu& GetContextMenu() { return m_contextMenu; }
    // The boxes at the end of a document file: their count, then each box's
    // RTF stream and formatting rectangle (left, right, top, bottom).
    void SerializeBoxes(CArchive& ar);
    // The whole lead sheet as one RTF document, a page break between boxes.
    CString ExportRtf();

    // Read afresh: the folder may become known after the view was made.
    static CString GetInstallFolder();

    // Font families of the character set 0 on the parent's device, and the
    // styles of one face; both also fill fontFamilies.
    std::vector<CString> ListFontFamilies();
    std::vector<CString> ListFaceStyles(LPCSTR faceName);

    // Printing: each box's text formatted by the rich edit onto as many
    // sheets as it needs, in box order.
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    // The sheets a printer context takes, each a sheet of a box's text;
    // box -1 is the blank sheet of an empty lead sheet.
    struct PrintedSheet {
        int box;
        int sheet;
    };
    std::vector<PrintedSheet> PaginateFor(HDC printer);
    const std::vector<PrintedSheet>& GetPrintedSheets() const { return m_sheets; }

    afx_msg void OnPrintPreview();
    afx_msg void OnDestroy();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    // nFlags kTextBoxClick: a box's right click at a screen point.
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnTextFormat(UINT nID);
    afx_msg LRESULT OnTextBoxContextMenu(WPARAM wParam, LPARAM lParam);
    afx_msg void OnEditCut();
    afx_msg void OnEditCopy();
    afx_msg void OnEditPaste();
    afx_msg void OnBoxChange(UINT id);

    static constexpr UINT kTextBoxClick = 666666;

private:
    class PrintFonts;
    class OwnChanges;
    CKestrixDoc* Doc() const { return m_pOwnerDoc; }
    CKestrixRichEdit* CreateBox(int index);
    void DeleteBoxes();
    void CreateViewFont();
    // The view font, and the generated text's size at a zoom.
    void GiveViewFont(CKestrixRichEdit& box, float zoom);
    void DrawPage(HDC dc, const LeadSheetRect& page, const LeadSheetRect& visible, POINT origin);
    void LayoutPages(HDC dc, int page, const LeadSheetRect& visible, POINT origin);
    // The stretches of one format over a control's first n characters.
    struct FormatRun {
        long from, to;
        CHARFORMAT2A cf;
    };
    static std::vector<FormatRun> FormatRuns(CRichEditCtrl& ctl, long n);
    void ShowContextMenu(CPoint screenPoint);
    // The box whose selection the formatting commands act on: the one with
    // the keyboard, else the first with a selection; null when that box has
    // no selection.
    CKestrixRichEdit* FormatTarget() const;
    // Bold, italic and underline checked as the commands' text has them.
    void SyncFormatChecks();
    // Every size of a box from one zoom to another, and its tab stops.
    static void RezoomBox(CRichEditCtrl& box, float from, float to);
    // The tab stops of every paragraph of a box at a zoom.
    static void SetTabStops(CRichEditCtrl& box, float zoom);
    // Runs an act that moves a box's selection; the selection, the scroll
    // and the screen stay as they were.
    static void KeepingView(CRichEditCtrl& box, const std::function<void()>& act);
    // A box's runs of one format, its end mark last.
    static std::vector<FormatRun> SizeRuns(CRichEditCtrl& box);
    // Each run's size and the default size as size() makes them.
    static void SetSizes(CRichEditCtrl& box, const std::vector<FormatRun>& runs,
                         const std::function<long(long)>& size);
    // The size most of a box's characters have.
    static long CommonSize(CRichEditCtrl& box);
    // The size earlier versions gave generated text, per zoom step.
    static std::vector<long> EarlierGeneratedSizes();
    static void EndUndo(CRichEditCtrl& box);
    // A box's RTF at its printed sizes (as at zoom 1); false when it could
    // only be had as shown.
    bool UnzoomedRtf(CKestrixRichEdit& box, std::string& rtf);
    std::string UnzoomedRtf(CKestrixRichEdit& box);
    // The text area of a sheet in the printer's units, and its tab stops.
    void SheetArea(HDC printer, RECT& area, int& tabWidth) const;
    // The box's text as runs of one format each, the formats added to fonts
    // at their unzoomed sizes.
    std::vector<TextRun> BoxRuns(CKestrixRichEdit& box, PrintFonts& fonts);
    void SendToFocusedBox(UINT message);
    template <class Enumerate>
    std::vector<CString> ListFonts(Enumerate enumerate);

    int m_viewWidth, m_viewHeight;
    int m_pageCount;
    float m_zoom;
    int m_pageWidth, m_pageHeight;
    bool m_boxesExist;
    std::vector<CKestrixRichEdit*> m_textBoxes;
    int m_margin;
    CFont m_viewFont;
    std::vector<CString> m_fontFamilies;
    CMenu m_contextMenu;
    int m_fontHeight;
    LeadSheetGeometry m_geometry;
    std::vector<PrintedSheet> m_sheets;
    std::unique_ptr<PrintFonts> m_printFonts;
    std::vector<std::vector<LaidSheet>> m_layouts; // per box
    int m_ownChanges = 0; // the view is changing its boxes itself

    DECLARE_MESSAGE_MAP()
};
