#include "views/ChordEditView.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

#include <richedit.h>
#include <winspool.h>

#include "app/DocFile.h"
#include "app/DocHost.h"
#include "app/DocTypes.h"
#include "app/KestrixDoc.h"
#include "framework/App.h"
#include "framework/FontDialog.h"
#include "framework/MsgMap.h"
#include "framework/Print.h"
#include "resources/resource.h"

IMPLEMENT_DYNCREATE(CChordEditView, CKestrixViewBase)

namespace {
const UINT kFirstBoxId = 79000;
} // namespace

BEGIN_MESSAGE_MAP(CChordEditView, CKestrixViewBase)
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_COMMAND_RANGE(ID_FORMAT_BOLD, ID_FORMAT_LAST, OnTextFormat)
    ON_MESSAGE(WM_TEXTBOX_CONTEXTMENU, OnTextBoxContextMenu)
    ON_COMMAND(ID_EDIT_CUT, OnEditCut)
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
    // A notification carries only the low word of the box's id.
    ON_CONTROL_RANGE(EN_CHANGE, LOWORD(kFirstBoxId), LOWORD(kFirstBoxId) + kMaxLeadSheetBoxes, OnBoxChange)
    ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
    ON_COMMAND(ID_PRINT_PREVIEW_COMMAND, OnPrintPreview)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnPrintPreview)
END_MESSAGE_MAP()

namespace {

const COLORREF kDeskColour = RGB(220, 211, 180);
const COLORREF kShadowColour = RGB(70, 70, 70);

// The common part of two rectangles; empty when they do not meet.
LeadSheetRect IntersectRects(const LeadSheetRect& a, const LeadSheetRect& b)
{
    LeadSheetRect r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
                    a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
    if (r.left >= r.right || r.top >= r.bottom)
        r = LeadSheetRect{0, 0, 0, 0};
    return r;
}

struct MenuItem {
    UINT id;
    int text;
    const char* fallback;
};
// Bold, italic and underline sit at positions 0 to 2: their check marks
// are the effects the formatting commands apply.
const MenuItem kMenuItems[] = {{ID_FORMAT_BOLD, 145, "&Bold"},
                               {ID_FORMAT_ITALIC, 146, "&Italic"},
                               {ID_FORMAT_UNDERLINE, 147, "&Underline"},
                               {0, 0, nullptr},
                               {ID_FORMAT_FONT, 148, "&Font..."}};

CString MenuText(const MenuItem& item)
{
    CString s = GetDocHost()->GetLangString(item.text);
    return s.IsEmpty() ? CString(item.fallback) : s;
}

// The boxes as the paging rule sees them.
class CBoxPages : public ILeadSheetPages {
public:
    explicit CBoxPages(CChordEditView& view, std::vector<CKestrixRichEdit*>& boxes,
                       CKestrixRichEdit* (*create)(CChordEditView&, int))
        : m_view(view), m_boxes(boxes), m_create(create)
    {
    }
    bool IsLastFull() override { return m_boxes.back()->IsFull(); }
    bool CanAddPage() override { return m_boxes.size() < kMaxLeadSheetBoxes; }
    void AddPage(const CString& text) override
    {
        if (CKestrixRichEdit* box = m_create(m_view, static_cast<int>(m_boxes.size())))
            box->SetWindowText(text);
        else
            AppendToLast(text); // no window to be had: the text stays
    }
    void AppendToLast(const CString& piece) override
    {
        CKestrixRichEdit* box = m_boxes.back();
        box->SetSel(-1, -1);
        box->ReplaceSel(piece);
    }
    CString LastText() override
    {
        CString text;
        m_boxes.back()->GetWindowText(text);
        return text;
    }
    void SetLastText(const CString& text) override { m_boxes.back()->SetWindowText(text); }

private:
    CChordEditView& m_view;
    std::vector<CKestrixRichEdit*>& m_boxes;
    CKestrixRichEdit* (*m_create)(CChordEditView&, int);
};

} // namespace

namespace {

// The effects a printed run takes from its character format.
const DWORD kRunMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_SIZE | CFM_FACE | CFM_COLOR;

bool SameRunFormat(const CHARFORMAT2A& a, const CHARFORMAT2A& b)
{
    const DWORD effects = CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT | CFE_AUTOCOLOR;
    return (a.dwEffects & effects) == (b.dwEffects & effects) && a.yHeight == b.yHeight &&
           std::strcmp(a.szFaceName, b.szFaceName) == 0 && a.bCharSet == b.bCharSet &&
           ((a.dwEffects & CFE_AUTOCOLOR) || a.crTextColor == b.crTextColor);
}

// The format of a range; true when the whole range shares it.
bool RangeFormat(CRichEditCtrl& box, long from, long to, CHARFORMAT2A& cf)
{
    CHARRANGE cr = {from, to};
    box.SendMessage(EM_EXSETSEL, 0, (LPARAM)&cr);
    cf = CHARFORMAT2A();
    cf.cbSize = sizeof cf;
    box.SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, (LPARAM)&cf);
    return (cf.dwMask & kRunMask) == kRunMask;
}

} // namespace

// The stretches of one format over the first n characters, in order.
std::vector<CChordEditView::FormatRun> CChordEditView::FormatRuns(CRichEditCtrl& ctl, long n)
{
    std::vector<FormatRun> runs;
    CHARFORMAT2A cf;
    for (long at = 0; at < n;) {
        // The longest stretch of one format: gallop, then halve.
        long good = at + 1, step = 2;
        RangeFormat(ctl, at, good, cf);
        CHARFORMAT2A probe;
        while (good < n) {
            const long to = at + step < n ? at + step : n;
            if (!RangeFormat(ctl, at, to, probe))
                break;
            good = to;
            step *= 2;
        }
        long bad = at + step < n ? at + step : n;
        while (good < n && bad - good > 1) {
            const long mid = good + (bad - good) / 2;
            if (RangeFormat(ctl, at, mid, probe))
                good = mid;
            else
                bad = mid;
        }
        if (good < n && bad == good + 1 && RangeFormat(ctl, at, bad, probe))
            good = bad;
        runs.push_back(FormatRun{at, good, cf});
        at = good;
    }
    return runs;
}

// Fonts of a print job made for the printer, with their measures.
class CChordEditView::PrintFonts {
public:
    explicit PrintFonts(HDC dc) : m_dc(dc) {}
    ~PrintFonts()
    {
        for (HFONT f : m_fonts)
            ::DeleteObject(f);
    }
    PrintFonts(const PrintFonts&) = delete;
    PrintFonts& operator=(const PrintFonts&) = delete;

    // The index of a format, added when new.
    int Add(const CHARFORMAT2A& cf)
    {
        for (size_t i = 0; i < m_formats.size(); ++i)
            if (SameRunFormat(m_formats[i], cf))
                return static_cast<int>(i);
        m_formats.push_back(cf);
        LOGFONTA lf = {};
        lf.lfHeight = -::MulDiv(cf.yHeight > 0 ? cf.yHeight : 200, ::GetDeviceCaps(m_dc, LOGPIXELSY), 1440);
        lf.lfWeight = (cf.dwEffects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (cf.dwEffects & CFE_ITALIC) ? 1 : 0;
        lf.lfUnderline = (cf.dwEffects & CFE_UNDERLINE) ? 1 : 0;
        lf.lfStrikeOut = (cf.dwEffects & CFE_STRIKEOUT) ? 1 : 0;
        lf.lfCharSet = cf.bCharSet;
        lf.lfOutPrecision = OUT_TT_PRECIS;
        std::strncpy(lf.lfFaceName, cf.szFaceName, LF_FACESIZE - 1);
        HFONT font = ::CreateFontIndirectA(&lf);
        m_fonts.push_back(font);
        TEXTMETRICA tm = {};
        HGDIOBJ old = ::SelectObject(m_dc, font);
        ::GetTextMetricsA(m_dc, &tm);
        ::SelectObject(m_dc, old);
        m_height.push_back(tm.tmHeight + tm.tmExternalLeading);
        m_ascent.push_back(tm.tmAscent);
        return static_cast<int>(m_formats.size() - 1);
    }

    FontMeasure Measure()
    {
        FontMeasure m;
        m.width = [this](const std::string& text, int font) {
            SIZE size = {};
            HGDIOBJ old = ::SelectObject(m_dc, m_fonts[static_cast<size_t>(font)]);
            ::GetTextExtentPoint32A(m_dc, text.data(), static_cast<int>(text.size()), &size);
            ::SelectObject(m_dc, old);
            return static_cast<int>(size.cx);
        };
        m.height = [this](int font) { return m_height[static_cast<size_t>(font)]; };
        m.ascent = [this](int font) { return m_ascent[static_cast<size_t>(font)]; };
        return m;
    }

    HFONT Font(int i) const { return m_fonts[static_cast<size_t>(i)]; }
    COLORREF Colour(int i) const
    {
        const CHARFORMAT2A& cf = m_formats[static_cast<size_t>(i)];
        return (cf.dwEffects & CFE_AUTOCOLOR) ? RGB(0, 0, 0) : cf.crTextColor;
    }

private:
    HDC m_dc;
    std::vector<CHARFORMAT2A> m_formats;
    std::vector<HFONT> m_fonts;
    std::vector<int> m_height, m_ascent;
};

// What the view writes into its boxes itself (generated or loaded text, a
// rescaled size) is not the user's edit: their modified flags are cleared
// when it is done.
class CChordEditView::OwnChanges {
public:
    explicit OwnChanges(CChordEditView& view) : m_view(view) { ++m_view.m_ownChanges; }
    ~OwnChanges()
    {
        if (--m_view.m_ownChanges == 0)
            for (CKestrixRichEdit* box : m_view.m_textBoxes)
                if (box && box->m_hWnd)
                    box->SetModify(FALSE);
    }
    OwnChanges(const OwnChanges&) = delete;
    OwnChanges& operator=(const OwnChanges&) = delete;

private:
    CChordEditView& m_view;
};

CChordEditView::CChordEditView()
    : m_viewWidth(100), m_viewHeight(100), m_pageCount(0), m_zoom(0.6f), m_pageWidth(700), m_pageHeight(1000),
      m_boxesExist(false), m_margin(kLeadSheetMargin), m_fontHeight(16), m_geometry{100, 100, 700, 1000, 16}
{
    // A leftover of the archive's temporary file, which lives in the
    // installation folder only.
    const CString folder = GetInstallFolder();
    if (!folder.IsEmpty())
        ::DeleteFileA(folder + "tempo.rtf");
    m_contextMenu.CreatePopupMenu();
    for (const MenuItem& item : kMenuItems)
        if (item.id)
            m_contextMenu.AppendMenu(MF_STRING, item.id, MenuText(item));
        else
            m_contextMenu.AppendMenu(MF_SEPARATOR);
}

CChordEditView::~CChordEditView() { DeleteBoxes(); }

CString CChordEditView::GetInstallFolder() { return GetDocHost()->GetInstallFolder(); }

void CChordEditView::DeleteBoxes()
{
    for (CKestrixRichEdit* box : m_textBoxes) {
        if (box->m_hWnd)
            box->DestroyWindow();
        delete box;
    }
    m_textBoxes.clear();
}

void CChordEditView::CreateViewFont()
{
    m_viewFont.DeleteObject();
    m_viewFont.CreateFont(m_fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH, "Arial");
}

void CChordEditView::GiveViewFont(CKestrixRichEdit& box, float zoom)
{
    box.SetZoom(zoom);
    box.SetFont(&m_viewFont);
    // The font's height is its cells'; a box's character format counts the
    // characters alone: the view font's em, the same at every zoom.
    CHARFORMATA cf = {};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_SIZE;
    cf.yHeight = ZoomedTwips(kLeadSheetTextTwips, zoom);
    box.SetDefaultCharFormat(cf);
    // The end mark of the (empty) text too: it kept the font's size read
    // as a negative one, which the RTF then carried.
    box.SendMessage(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
}

// Initial update and hints ------------------------------------------------

void CChordEditView::OnInitialUpdate()
{
    CKestrixViewBase::OnInitialUpdate();
    GetDocHost()->ShowToolWindows(false, false);
    RescaleTextBoxes();
    CKestrixDoc* doc = Doc();
    if (doc && doc->HasAudio() && doc->IsLeadSheetStale()) {
        RegenerateText();
        doc->SetLeadSheetStale(false);
    }
    m_fontHeight = static_cast<int>(m_zoom * 24.0f);
    CreateViewFont();
    RescaleTextBoxes();
    AfxInitRichEdit2();
    if (GetInstallFolder().IsEmpty())
        AfxMessageBox("Could not find App Path in registry");
    Invalidate(FALSE);
}

void CChordEditView::OnUpdate(CView*, LPARAM lHint, CObject*)
{
    if (lHint == HINT_ZOOM_CHANGED) {
        RescaleTextBoxes();
    } else if (lHint == HINT_REBUILD_LEADSHEET) {
        RebuildText();
        Invalidate(FALSE);
    } else if (lHint == HINT_PRINT) {
        OnFilePrint();
        // Regenerated only when stale: otherwise the rebuild would replace
        // the user's edited sheet by an empty box.
        CKestrixDoc* doc = Doc();
        if (doc && doc->IsLeadSheetStale()) {
            RebuildText();
            Invalidate(FALSE);
        }
    }
}

void CChordEditView::RebuildText()
{
    // The geometry and font of the current zoom first, as the first show
    // makes them (an export may come before any show); the pages a rebuild
    // added must be inside the scroll range after.
    RescaleTextBoxes();
    RegenerateText();
    RescaleTextBoxes();
    if (CKestrixDoc* doc = Doc())
        doc->SetLeadSheetStale(false);
}

// Geometry ---------------------------------------------------------------

void CChordEditView::RescaleTextBoxes()
{
    OwnChanges own(*this);
    const float oldZoom = m_zoom;
    if (CKestrixDoc* doc = Doc())
        m_zoom = doc->GetZoom();
    const CSize screen = GetScreenSize();
    m_geometry = ComputeLeadSheetGeometry(screen.cx, screen.cy, m_zoom, m_pageCount);
    m_viewWidth = m_geometry.viewWidth;
    m_viewHeight = m_geometry.viewHeight;
    m_pageWidth = m_geometry.pageWidth;
    m_pageHeight = m_geometry.pageHeight;
    m_fontHeight = m_geometry.fontHeight;
    CreateViewFont();
    for (CKestrixRichEdit* box : m_textBoxes)
        if (box && box->m_hWnd) {
            RezoomBox(*box, oldZoom, m_zoom);
            box->SetZoom(m_zoom);
        }
    SetScrollSizes(MM_TEXT, CSize(m_viewWidth, m_viewHeight));
    if (m_hWnd)
        Invalidate(FALSE);
    m_pageCount = static_cast<int>(m_textBoxes.size());
}

// Text -------------------------------------------------------------------

CKestrixRichEdit* CChordEditView::CreateBox(int index)
{
    if (index >= static_cast<int>(kMaxLeadSheetBoxes))
        return nullptr;
    auto* box = new CKestrixRichEdit;
    const LeadSheetRect r = LeadSheetNewBoxRect(m_geometry, m_zoom);
    const RECT rect = {r.left, r.top, r.right, r.bottom};
    if (!box->Create(WS_CHILD | WS_VISIBLE | ES_WANTRETURN | ES_MULTILINE, rect, this, kFirstBoxId + index)) {
        delete box;
        return nullptr;
    }
    GiveViewFont(*box, m_zoom);
    box->SendMessage(EM_SETEVENTMASK, 0, box->SendMessage(EM_GETEVENTMASK) | ENM_CHANGE);
    m_textBoxes.push_back(box);
    m_boxesExist = true;
    return box;
}

int CChordEditView::RegenerateText()
{
    OwnChanges own(*this);
    DeleteBoxes();
    CKestrixRichEdit* first = CreateBox(0);
    CKestrixDoc* doc = Doc();
    if (first && doc && doc->IsLeadSheetStale()) {
        first->SetWindowText(LeadSheetHeading(doc->GetTitle()));
        std::vector<CString> chordLines, lyrics;
        for (auto* edit : doc->GetLyricEdits()) {
            CString text;
            if (edit && edit->m_hWnd)
                edit->GetWindowText(text);
            lyrics.push_back(text);
        }
        for (int row = 0; row < doc->GetRowTextCount(); ++row)
            chordLines.push_back(doc->GetRowText(row));
        CBoxPages pages(*this, m_textBoxes, [](CChordEditView& v, int i) { return v.CreateBox(i); });
        FillLeadSheetPages(pages, LeadSheetPieces(chordLines, lyrics));
    }
    for (CKestrixRichEdit* box : m_textBoxes) {
        SetTabStops(*box, m_zoom);
        EndUndo(*box);
    }
    if (doc)
        doc->SetLeadSheetEdited(false);
    m_pageCount = static_cast<int>(m_textBoxes.size());
    return m_pageCount;
}

void CChordEditView::AppendText(const CString& piece)
{
    if (m_textBoxes.empty())
        return;
    CBoxPages pages(*this, m_textBoxes, [](CChordEditView& v, int i) { return v.CreateBox(i); });
    AppendLeadSheetPiece(pages, piece);
}

// Drawing ----------------------------------------------------------------

void CChordEditView::OnDraw(CDC* pDC)
{
    RECT client = {};
    GetClientRect(&client);
    const int w = client.right > 0 ? client.right : 1, h = client.bottom > 0 ? client.bottom : 1;
    const POINT origin = GetScrollPosition();
    HDC screen = pDC->GetSafeHdc();
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ oldBmp = ::SelectObject(mem, bmp);
    const RECT all = {0, 0, w, h};
    HBRUSH desk = ::CreateSolidBrush(kDeskColour);
    ::FillRect(mem, &all, desk);
    ::DeleteObject(desk);

    const LeadSheetRect visible = {origin.x, origin.y, origin.x + w, origin.y + h};
    if (m_boxesExist) {
        for (int p = 0; p < m_pageCount && p < static_cast<int>(m_textBoxes.size()); ++p)
            LayoutPages(mem, p, visible, origin);
    } else {
        DrawPage(mem, LeadSheetPageRect(m_geometry, m_zoom, 0), visible, origin);
    }
    ::BitBlt(screen, origin.x, origin.y, w, h, mem, 0, 0, SRCCOPY);
    ::SelectObject(mem, oldBmp);
    ::DeleteObject(bmp);
    ::DeleteDC(mem);
}

void CChordEditView::LayoutPages(HDC dc, int page, const LeadSheetRect& visible, POINT origin)
{
    CKestrixDoc* doc = Doc();
    if (!doc || !doc->IsPrinting())
        DrawPage(dc, LeadSheetPageRect(m_geometry, m_zoom, page), visible, origin);
    CKestrixRichEdit* box = m_textBoxes[page];
    if (!box->m_hWnd)
        return;
    const LeadSheetRect r = LeadSheetBoxRect(m_geometry, m_zoom, page);
    RECT now = {};
    box->GetWindowRect(&now);
    ScreenToClient(&now);
    const RECT want = {r.left - origin.x, r.top - origin.y, r.right - origin.x, r.bottom - origin.y};
    if (!::EqualRect(&now, &want))
        box->SetWindowPos(nullptr, want.left, want.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void CChordEditView::DrawPage(HDC dc, const LeadSheetRect& page, const LeadSheetRect& visible, POINT origin)
{
    const LeadSheetRect paper = IntersectRects(page, visible);
    if (paper.Width() > 0) {
        const RECT r = {paper.left - origin.x, paper.top - origin.y, paper.right - origin.x, paper.bottom - origin.y};
        ::FillRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    }
    const int width = static_cast<int>(2 * m_zoom);
    const int l = page.left - origin.x, t = page.top - origin.y, rt = page.right - origin.x, b = page.bottom - origin.y;
    HPEN edge = ::CreatePen(PS_SOLID, width, RGB(0, 0, 0));
    HGDIOBJ old = ::SelectObject(dc, edge);
    ::MoveToEx(dc, l, t, nullptr);
    ::LineTo(dc, rt, t);
    ::LineTo(dc, rt, b);
    ::LineTo(dc, l, b);
    ::LineTo(dc, l, t);
    HPEN shadow = ::CreatePen(PS_SOLID, width, kShadowColour);
    ::SelectObject(dc, shadow);
    ::MoveToEx(dc, rt + width, t + width, nullptr);
    ::LineTo(dc, rt + width, b + width);
    ::LineTo(dc, l + width, b + width);
    ::SelectObject(dc, old);
    ::DeleteObject(edge);
    ::DeleteObject(shadow);
}

BOOL CChordEditView::OnEraseBkgnd(CDC*) { return TRUE; }

// Mouse, context menu, formatting -----------------------------------------

void CChordEditView::OnDestroy()
{
    CKestrixViewBase::OnDestroy();
    m_viewFont.DeleteObject();
    if (CKestrixDoc* doc = Doc()) {
        const CPoint p = GetScrollPosition();
        doc->SetScrollPos(p.x, p.y);
    }
}

void CChordEditView::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetFocus();
    CKestrixViewBase::OnLButtonDown(nFlags, point);
}

void CChordEditView::OnRButtonDown(UINT nFlags, CPoint point)
{
    if (nFlags == kTextBoxClick) {
        ShowContextMenu(point);
        return;
    }
    CKestrixViewBase::OnRButtonDown(nFlags, point);
}

LRESULT CChordEditView::OnTextBoxContextMenu(WPARAM wParam, LPARAM)
{
    POINT* p = reinterpret_cast<POINT*>(wParam);
    if (!p)
        return 0;
    const CPoint at(*p);
    delete p;
    OnRButtonDown(kTextBoxClick, at);
    return 0;
}

void CChordEditView::ShowContextMenu(CPoint screenPoint)
{
    SyncFormatChecks();
    // Texts of the language chosen now.
    int pos = 0;
    for (const MenuItem& item : kMenuItems) {
        if (item.id) {
            const UINT checked = m_contextMenu.GetMenuState(pos, MF_BYPOSITION) & MF_CHECKED;
            m_contextMenu.ModifyMenu(pos, MF_BYPOSITION | MF_STRING | checked, item.id, MenuText(item));
        }
        ++pos;
    }
    m_contextMenu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, this);
}

namespace {
struct Effect {
    UINT command;
    DWORD mask, effect;
};
const Effect kEffects[] = {{ID_FORMAT_BOLD, CFM_BOLD, CFE_BOLD},
                           {ID_FORMAT_ITALIC, CFM_ITALIC, CFE_ITALIC},
                           {ID_FORMAT_UNDERLINE, CFM_UNDERLINE, CFE_UNDERLINE}};
} // namespace

CKestrixRichEdit* CChordEditView::FormatTarget() const
{
    auto selected = [](CKestrixRichEdit* box) {
        long start = 0, end = 0;
        box->GetSel(start, end);
        return start != end;
    };
    // The box the user works in: every box keeps its own selection, and
    // one left behind on another page, unseen, is not what is meant.
    for (CKestrixRichEdit* box : m_textBoxes)
        if (box->HasFocus())
            return selected(box) ? box : nullptr;
    for (CKestrixRichEdit* box : m_textBoxes)
        if (selected(box))
            return box;
    return nullptr;
}

void CChordEditView::SyncFormatChecks()
{
    // What the commands act on: the first selection, else the boxes'
    // default format.
    CHARFORMATA cf = {};
    if (CKestrixRichEdit* box = FormatTarget())
        box->GetSelectionCharFormat(cf);
    else if (!m_textBoxes.empty())
        m_textBoxes.front()->GetDefaultCharFormat(cf);
    for (const Effect& e : kEffects) {
        const bool on = (cf.dwMask & e.mask) && (cf.dwEffects & e.effect);
        m_contextMenu.CheckMenuItem(e.command, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    }
}

void CChordEditView::OnTextFormat(UINT nID)
{
    if (nID == ID_FORMAT_FONT) {
        ChooseTextFont();
        return;
    }
    // The command toggles its own effect and leaves the others as they are,
    // also where a selection mixes them.
    SyncFormatChecks();
    const UINT state = m_contextMenu.GetMenuState(nID, MF_BYCOMMAND);
    const bool on = state == static_cast<UINT>(-1) || !(state & MF_CHECKED);
    m_contextMenu.CheckMenuItem(nID, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    CHARFORMATA cf = {};
    for (const Effect& e : kEffects)
        if (e.command == nID) {
            cf.dwMask = e.mask;
            cf.dwEffects = on ? e.effect : 0;
        }
    if (CKestrixRichEdit* box = FormatTarget())
        box->SetSelectionCharFormat(cf);
    else
        for (CKestrixRichEdit* box : m_textBoxes)
            box->SetDefaultCharFormat(cf);
    if (CKestrixDoc* doc = Doc())
        doc->OnUserTextEdit(true);
}

void CChordEditView::ChooseTextFont()
{
    if (m_textBoxes.empty())
        return;
    CKestrixRichEdit* first = m_textBoxes.front();
    // What the font is for, as the user left it before the dialog: it starts
    // from the selection's format (OK took the selection's bold and size
    // away), else from the boxes' default one.
    CKestrixRichEdit* target = FormatTarget();
    CHARFORMATA cf = {};
    first->GetDefaultCharFormat(cf);
    if (target) {
        CHARFORMATA sel = {};
        target->GetSelectionCharFormat(sel);
        if ((sel.dwMask & CFM_FACE) && sel.szFaceName[0])
            lstrcpynA(cf.szFaceName, sel.szFaceName, LF_FACESIZE);
        if ((sel.dwMask & CFM_SIZE) && sel.yHeight > 0)
            cf.yHeight = sel.yHeight;
        cf.dwEffects = sel.dwEffects & sel.dwMask & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE);
    }
    HDC dc = ::GetDC(first->m_hWnd);
    const int dpi = ::GetDeviceCaps(dc, LOGPIXELSY);

    // The dialog speaks of the sizes the sheet prints, not of the zoomed ones.
    LOGFONTA lf = {};
    lstrcpynA(lf.lfFaceName, cf.szFaceName, LF_FACESIZE);
    lf.lfHeight = TwipsToFontHeight(UnzoomedTwips(cf.yHeight, m_zoom), dpi);
    lf.lfWeight = (cf.dwEffects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (cf.dwEffects & CFE_ITALIC) ? TRUE : FALSE;
    lf.lfUnderline = (cf.dwEffects & CFE_UNDERLINE) ? TRUE : FALSE;
    // The face the system draws it in: the dialog lists only faces it has,
    // and for another one started at its first face and smallest size.
    HFONT font = ::CreateFontIndirectA(&lf);
    HGDIOBJ old = ::SelectObject(dc, font);
    char drawn[LF_FACESIZE] = "";
    if (::GetTextFaceA(dc, LF_FACESIZE, drawn) > 0 && drawn[0])
        lstrcpynA(lf.lfFaceName, drawn, LF_FACESIZE);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    ::ReleaseDC(first->m_hWnd, dc);
    CFontDialog dlg(&lf, CF_SCREENFONTS | CF_TTONLY | CF_NOVERTFONTS | CF_EFFECTS, nullptr, this);
    if (dlg.DoModal() != IDOK)
        return;
    dlg.GetCurrentFont(&lf);

    CHARFORMATA out = {};
    out.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_PROTECTED;
    out.yHeight = ZoomedTwips(FontHeightToTwips(lf.lfHeight, dpi), m_zoom);
    out.dwEffects = (lf.lfItalic ? CFE_ITALIC : 0) | (lf.lfUnderline ? CFE_UNDERLINE : 0) |
                    (WeightIsBold(lf.lfWeight) ? CFE_BOLD : 0);
    lstrcpynA(out.szFaceName, lf.lfFaceName, LF_FACESIZE);
    if (target)
        target->SetSelectionCharFormat(out);
    else
        for (CKestrixRichEdit* box : m_textBoxes)
            box->SetDefaultCharFormat(out);
    if (CKestrixDoc* doc = Doc())
        doc->OnUserTextEdit(true);
}

template <class Enumerate>
std::vector<CString> CChordEditView::ListFonts(Enumerate enumerate)
{
    CWnd* parent = GetParent();
    HWND w = parent ? parent->m_hWnd : m_hWnd;
    HDC dc = ::GetDC(w);
    std::vector<CString> names = enumerate(dc);
    ::ReleaseDC(w, dc);
    m_fontFamilies.insert(m_fontFamilies.end(), names.begin(), names.end());
    return names;
}

std::vector<CString> CChordEditView::ListFontFamilies()
{
    return ListFonts([](HDC dc) { return AfxEnumFontFamilyNames(dc, ANSI_CHARSET); });
}

std::vector<CString> CChordEditView::ListFaceStyles(LPCSTR faceName)
{
    return ListFonts([faceName](HDC dc) { return AfxEnumFaceStyles(dc, faceName); });
}

// Clipboard --------------------------------------------------------------

void CChordEditView::SendToFocusedBox(UINT message)
{
    for (CKestrixRichEdit* box : m_textBoxes)
        if (box->HasFocus())
            box->SendMessage(message);
}

void CChordEditView::OnBoxChange(UINT)
{
    if (m_ownChanges)
        return;
    for (CKestrixRichEdit* box : m_textBoxes)
        if (box && box->m_hWnd && box->GetModify()) {
            box->SetModify(FALSE);
            if (CKestrixDoc* doc = Doc())
                doc->OnUserTextEdit(true);
        }
}

void CChordEditView::OnEditCut() { SendToFocusedBox(WM_CUT); }
void CChordEditView::OnEditCopy() { SendToFocusedBox(WM_COPY); }
void CChordEditView::OnEditPaste() { SendToFocusedBox(WM_PASTE); }

// Archive and export ----------------------------------------------------

namespace {

const char kPageMark[] = "QPPAGEBREAKMARK";
// Stored boxes of this version hold their sizes as at zoom 1; the mark says
// so (an ignorable group, which every RTF reader skips).
const char kUnzoomedMark[] = "{\\*\\unzoomed}";

bool TakeUnzoomedMark(std::string& rtf)
{
    const size_t at = rtf.find(kUnzoomedMark);
    if (at == std::string::npos)
        return false;
    rtf.erase(at, sizeof kUnzoomedMark - 1);
    return true;
}

void PutUnzoomedMark(std::string& rtf)
{
    const size_t end = rtf.rfind('}');
    if (end != std::string::npos)
        rtf.insert(end, kUnzoomedMark);
}

long Scaled(long v, float by) { return static_cast<long>(v < 0 ? v * by - 0.5f : v * by + 0.5f); }

} // namespace

void CChordEditView::EndUndo(CRichEditCtrl& box) { box.SendMessage(EM_EMPTYUNDOBUFFER); }

void CChordEditView::KeepingView(CRichEditCtrl& box, const std::function<void()>& act)
{
    CHARRANGE sel = {0, 0};
    box.SendMessage(EM_EXGETSEL, 0, (LPARAM)&sel);
    POINT scroll = {0, 0};
    box.SendMessage(EM_GETSCROLLPOS, 0, (LPARAM)&scroll);
    // Turning drawing back on shows a window: only a shown box is asked.
    const bool shown = (box.GetStyle() & WS_VISIBLE) != 0;
    if (shown)
        box.SendMessage(WM_SETREDRAW, FALSE);
    act();
    box.SendMessage(EM_EXSETSEL, 0, (LPARAM)&sel);
    box.SendMessage(EM_SETSCROLLPOS, 0, (LPARAM)&scroll);
    if (shown) {
        box.SendMessage(WM_SETREDRAW, TRUE);
        box.Invalidate(FALSE);
    }
}

std::vector<CChordEditView::FormatRun> CChordEditView::SizeRuns(CRichEditCtrl& box)
{
    const long n = box.GetTextLength();
    std::vector<FormatRun> runs = FormatRuns(box, n);
    FormatRun end = {n, -1, {}};
    RangeFormat(box, n, -1, end.cf); // the end mark, whose size new text takes
    runs.push_back(end);
    return runs;
}

void CChordEditView::SetSizes(CRichEditCtrl& box, const std::vector<FormatRun>& runs, const std::function<long(long)>& size)
{
    for (const FormatRun& r : runs) {
        CHARFORMATA cf = {};
        cf.cbSize = sizeof cf;
        cf.dwMask = CFM_SIZE;
        cf.yHeight = size(r.cf.yHeight);
        CHARRANGE cr = {r.from, r.to};
        box.SendMessage(EM_EXSETSEL, 0, (LPARAM)&cr);
        box.SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, (LPARAM)&cf);
    }
    CHARFORMATA def = {};
    box.GetDefaultCharFormat(def);
    def.dwMask = CFM_SIZE;
    def.yHeight = size(def.yHeight);
    box.SetDefaultCharFormat(def);
}

void CChordEditView::RezoomBox(CRichEditCtrl& box, float from, float to)
{
    if (from == to || from <= 0.0f || to <= 0.0f)
        return;
    KeepingView(box, [&] { SetSizes(box, SizeRuns(box), [&](long h) { return RezoomTwips(h, from, to); }); });
    SetTabStops(box, to);
    // Undoing a rescale would leave text at another zoom's size.
    EndUndo(box);
}

void CChordEditView::SetTabStops(CRichEditCtrl& box, float zoom)
{
    // The control's own stops stay half an inch apart at every zoom: the
    // chords of a line moved against the words below them as the zoom
    // changed, and printed elsewhere than shown.
    PARAFORMAT pf = {};
    pf.cbSize = sizeof pf;
    pf.dwMask = PFM_TABSTOPS;
    pf.cTabCount = MAX_TAB_STOPS;
    const long step = ZoomedTwips(kLeadSheetTabTwips, zoom);
    for (int i = 0; i < MAX_TAB_STOPS; ++i)
        pf.rgxTabs[i] = step * (i + 1);
    KeepingView(box, [&] {
        CHARRANGE all = {0, -1};
        box.SendMessage(EM_EXSETSEL, 0, (LPARAM)&all);
        box.SendMessage(EM_SETPARAFORMAT, 0, (LPARAM)&pf);
    });
}

bool CChordEditView::UnzoomedRtf(CKestrixRichEdit& box, std::string& rtf)
{
    // The sizes are the box's own: its RTF carries them in half points,
    // which the zoom would make inexact. A hidden copy takes them unzoomed,
    // so the box and its selection stay.
    rtf = BoxRtf(box);
    std::vector<FormatRun> runs;
    KeepingView(box, [&] { runs = SizeRuns(box); });
    CHARFORMATA def = {};
    box.GetDefaultCharFormat(def);
    CKestrixRichEdit copy;
    const LeadSheetRect r = LeadSheetNewBoxRect(m_geometry, m_zoom);
    const RECT rect = {0, 0, r.right > 1 ? r.right : 1, r.bottom > 1 ? r.bottom : 1};
    const bool made = copy.Create(WS_CHILD | ES_MULTILINE, rect, this, 0xFFF1) != FALSE;
    if (made) {
        GiveViewFont(copy, m_zoom);
        copy.SetDefaultCharFormat(def);
        PutRtf(copy, rtf, SF_RTF);
        const float zoom = m_zoom;
        SetSizes(copy, runs, [zoom](long h) { return UnzoomedTwips(h, zoom); });
        SetTabStops(copy, 1.0f);
        rtf = BoxRtf(copy);
        copy.DestroyWindow();
    }
    // The stream ends with a terminator that has no place in a file.
    while (!rtf.empty() && rtf.back() == '\0')
        rtf.pop_back();
    return made;
}

std::string CChordEditView::UnzoomedRtf(CKestrixRichEdit& box)
{
    std::string rtf;
    UnzoomedRtf(box, rtf);
    return rtf;
}

long CChordEditView::CommonSize(CRichEditCtrl& box)
{
    std::vector<std::pair<long, long>> counts; // size, characters
    for (const FormatRun& r : FormatRuns(box, box.GetTextLength())) {
        auto it = std::find_if(counts.begin(), counts.end(),
                               [&](const std::pair<long, long>& c) { return c.first == r.cf.yHeight; });
        if (it == counts.end())
            counts.push_back({r.cf.yHeight, r.to - r.from});
        else
            it->second += r.to - r.from;
    }
    auto most = std::max_element(counts.begin(), counts.end(),
                                 [](const std::pair<long, long>& a, const std::pair<long, long>& b) { return a.second < b.second; });
    return most == counts.end() ? 0 : most->first;
}

std::vector<long> CChordEditView::EarlierGeneratedSizes()
{
    // Earlier versions gave the generated text the em of the view font,
    // Arial of trunc(24 x zoom) pixel cells.
    std::vector<long> sizes;
    HDC dc = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
    for (float zoom : LeadSheetZoomSteps()) {
        HFONT font = ::CreateFontA(static_cast<int>(zoom * 24.0f), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH, "Arial");
        HGDIOBJ old = ::SelectObject(dc, font);
        TEXTMETRICA tm = {};
        ::GetTextMetricsA(dc, &tm);
        ::SelectObject(dc, old);
        ::DeleteObject(font);
        sizes.push_back(::MulDiv(tm.tmHeight - tm.tmInternalLeading, 1440, dpi > 0 ? dpi : 96));
    }
    ::ReleaseDC(nullptr, dc);
    return sizes;
}

void CChordEditView::SerializeBoxes(CArchive& ar)
{
    if (ar.IsStoring()) {
        LeadSheetBoxes stored;
        for (CKestrixRichEdit* box : m_textBoxes) {
            LeadSheetBox b;
            if (box && box->m_hWnd) {
                std::string rtf;
                // Without its hidden copy, a box is stored as shown, as
                // earlier versions stored it.
                const bool unzoomed = UnzoomedRtf(*box, rtf);
                if (unzoomed)
                    PutUnzoomedMark(rtf);
                b.rtf = CString(rtf.data(), static_cast<int>(rtf.size()));
                RECT r = {0, 0, 0, 0};
                box->GetRect(&r);
                const float unzoom = unzoomed && m_zoom > 0.0f ? 1.0f / m_zoom : 1.0f;
                b.left = Scaled(r.left, unzoom);
                b.right = Scaled(r.right, unzoom);
                b.top = Scaled(r.top, unzoom);
                b.bottom = Scaled(r.bottom, unzoom);
            }
            stored.push_back(b);
        }
        WriteLeadSheetBoxes(ar, stored);
        return;
    }
    // Read whole first: a refused section leaves the boxes as they were.
    LeadSheetBoxes stored;
    ReadLeadSheetBoxes(ar, stored);
    OwnChanges own(*this);
    DeleteBoxes();
    m_fontHeight = static_cast<int>(m_zoom * 24.0f);
    CreateViewFont();
    std::vector<long> earlier;
    for (size_t i = 0; i < stored.size(); ++i) {
        const LeadSheetBox& b = stored[i];
        CKestrixRichEdit* box = CreateBox(static_cast<int>(i));
        if (!box)
            continue;
        std::string rtf(b.rtf.GetString(), static_cast<size_t>(b.rtf.GetLength()));
        // Boxes of earlier versions hold the sizes of the zoom they were
        // saved at, which their generated text tells.
        float storedZoom = 1.0f;
        const bool unzoomed = TakeUnzoomedMark(rtf);
        PutRtf(*box, rtf, SF_RTF);
        CHARFORMATA def = {}; // not in the RTF: the generated text's
        def.cbSize = sizeof def;
        def.dwMask = CFM_SIZE;
        if (!unzoomed) {
            if (earlier.empty())
                earlier = EarlierGeneratedSizes();
            storedZoom = GuessStoredZoom(CommonSize(*box), earlier);
            if (storedZoom <= 0.0f)
                storedZoom = m_zoom;
        }
        def.yHeight = ZoomedTwips(kLeadSheetTextTwips, storedZoom);
        box->SetDefaultCharFormat(def);
        RezoomBox(*box, storedZoom, m_zoom);
        SetTabStops(*box, m_zoom); // earlier versions stored none
        const float by = m_zoom / storedZoom;
        const RECT r = {Scaled(b.left, by), Scaled(b.top, by), Scaled(b.right, by), Scaled(b.bottom, by)};
        box->SetRect(&r);
        EndUndo(*box);
    }
    m_pageCount = static_cast<int>(m_textBoxes.size());
    // A stored lead sheet may hold the user's changes: a rebuild asks.
    if (CKestrixDoc* doc = Doc()) {
        bool text = false;
        for (const LeadSheetBox& b : stored)
            text = text || b.rtf.GetLength() > 0;
        doc->SetLeadSheetEdited(text);
    }
    if (m_hWnd)
        Invalidate(FALSE);
}

CString CChordEditView::ExportRtf()
{
    CKestrixDoc* doc = Doc();
    if (m_textBoxes.empty() || (doc && doc->IsLeadSheetStale()))
        RebuildText();
    // One document from all boxes at their printed sizes: a hidden rich
    // edit takes them in page order and merges their formats; a mark
    // between them becomes the page break.
    CKestrixRichEdit all;
    const RECT none = {0, 0, 0, 0};
    if (!all.Create(WS_CHILD | ES_MULTILINE, none, this, 0xFFF0))
        return CString();
    // With the system font as its default, the control reading a box's RTF
    // made the text before a formatted run take that run's format.
    GiveViewFont(all, 1.0f);
    for (size_t i = 0; i < m_textBoxes.size(); ++i) {
        if (i > 0) {
            all.SetSel(-1, -1);
            all.ReplaceSel((CString("\r") + kPageMark + "\r").GetString());
        }
        all.SetSel(-1, -1);
        if (m_textBoxes[i] && m_textBoxes[i]->m_hWnd)
            PutRtf(all, UnzoomedRtf(*m_textBoxes[i]), SF_RTF | SFF_SELECTION);
    }
    std::string rtf = BoxRtf(all);
    all.DestroyWindow();
    for (size_t at; (at = rtf.find(kPageMark)) != std::string::npos;)
        rtf.replace(at, sizeof kPageMark - 1, "\\page ");
    // The stream ends with a terminator that has no place in a file.
    while (!rtf.empty() && rtf.back() == '\0')
        rtf.pop_back();
    return CString(rtf.data(), static_cast<int>(rtf.size()));
}

// Printing ---------------------------------------------------------------

void CChordEditView::OnPrintPreview()
{
    if (CountPrinters(PRINTER_ENUM_NAME, 1) == 0) {
        WarnNoPrinter();
        return;
    }
    CKestrixViewBase::OnFilePrintPreview();
}

std::vector<TextRun> CChordEditView::BoxRuns(CKestrixRichEdit& box, PrintFonts& fonts)
{
    std::vector<TextRun> runs;
    // A hidden copy is walked, so the user's selection and scroll stay.
    CKestrixRichEdit copy;
    const RECT none = {0, 0, 0, 0};
    if (!copy.Create(WS_CHILD | ES_MULTILINE, none, this, 0xFFF1))
        return runs;
    GiveViewFont(copy, 1.0f); // as the export's control
    PutRtf(copy, UnzoomedRtf(box), SF_RTF);
    GETTEXTLENGTHEX gtl = {GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
    const long length = static_cast<long>(copy.SendMessage(EM_GETTEXTLENGTHEX, (WPARAM)&gtl, 0));
    std::string text(static_cast<size_t>(length) + 1, '\0');
    TEXTRANGEA tr = {{0, length}, &text[0]};
    const long got = static_cast<long>(copy.SendMessage(EM_GETTEXTRANGE, 0, (LPARAM)&tr));
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    for (FormatRun& r : FormatRuns(copy, static_cast<long>(text.size()))) {
        runs.push_back(TextRun{text.substr(static_cast<size_t>(r.from), static_cast<size_t>(r.to - r.from)),
                               fonts.Add(r.cf)});
    }
    copy.DestroyWindow();
    return runs;
}

void CChordEditView::SheetArea(HDC printer, RECT& area, int& tabWidth) const
{
    const int w = ::GetDeviceCaps(printer, HORZRES), h = ::GetDeviceCaps(printer, VERTRES);
    // The margin a box keeps inside its page on the screen, as a share of the width.
    const int pageWidth = m_geometry.pageWidth > 0 ? m_geometry.pageWidth : 1000;
    const int m = static_cast<int>(static_cast<long long>(w) * kLeadSheetMargin / pageWidth);
    area = RECT{m, m, w - m, h - m};
    // The boxes' stops as at zoom 1.
    tabWidth = ::MulDiv(kLeadSheetTabTwips, ::GetDeviceCaps(printer, LOGPIXELSX), 1440);
}

std::vector<CChordEditView::PrintedSheet> CChordEditView::PaginateFor(HDC printer)
{
    m_printFonts.reset(new PrintFonts(printer));
    m_layouts.clear();
    std::vector<PrintedSheet> sheets;
    RECT area;
    int tabWidth = 0;
    SheetArea(printer, area, tabWidth);
    const FontMeasure measure = m_printFonts->Measure();
    for (size_t b = 0; b < m_textBoxes.size(); ++b) {
        CKestrixRichEdit* box = m_textBoxes[b];
        std::vector<TextRun> runs;
        if (box && box->m_hWnd)
            runs = BoxRuns(*box, *m_printFonts);
        m_layouts.push_back(LayoutSheets(runs, measure, area.right - area.left, area.bottom - area.top, tabWidth));
        for (size_t i = 0; i < m_layouts.back().size(); ++i)
            sheets.push_back(PrintedSheet{static_cast<int>(b), static_cast<int>(i)});
    }
    if (sheets.empty())
        sheets.push_back(PrintedSheet{-1, 0}); // a blank sheet
    return sheets;
}

BOOL CChordEditView::OnPreparePrinting(CPrintInfo* pInfo)
{
    // The count the dialog offers comes from the printer offered first; the
    // printer chosen counts again when printing begins.
    UINT pages = m_textBoxes.empty() ? 1 : static_cast<UINT>(m_textBoxes.size());
    {
        CPrintDialog defaults(FALSE);
        if (defaults.GetDefaults())
            pages = static_cast<UINT>(PaginateFor(defaults.GetPrinterDC()).size());
        m_printFonts.reset();
        m_layouts.clear();
    }
    pInfo->SetMaxPage(pages);
    return DoPreparePrinting(pInfo);
}

void CChordEditView::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    if (CKestrixDoc* doc = Doc())
        doc->SetPrinting(true);
    m_sheets = PaginateFor(pDC->m_hDC);
    pInfo->SetMaxPage(static_cast<UINT>(m_sheets.size()));
}

void CChordEditView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    const size_t index = pInfo->m_nCurPage - 1;
    if (index >= m_sheets.size() || !m_printFonts)
        return;
    const PrintedSheet& s = m_sheets[index];
    if (s.box < 0 || s.box >= static_cast<int>(m_layouts.size()) ||
        s.sheet >= static_cast<int>(m_layouts[static_cast<size_t>(s.box)].size()))
        return;
    const LaidSheet& sheet = m_layouts[static_cast<size_t>(s.box)][static_cast<size_t>(s.sheet)];
    RECT area;
    int tabWidth = 0;
    SheetArea(pDC->m_hAttribDC ? pDC->m_hAttribDC : pDC->m_hDC, area, tabWidth);
    HDC dc = pDC->m_hDC;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
    HGDIOBJ oldFont = nullptr;
    for (const LaidLine& line : sheet.lines)
        for (const PlacedText& p : line.pieces) {
            HGDIOBJ was = ::SelectObject(dc, m_printFonts->Font(p.font));
            if (!oldFont)
                oldFont = was;
            ::SetTextColor(dc, m_printFonts->Colour(p.font));
            ::TextOutA(dc, area.left + p.x, area.top + line.top + line.ascent, p.text.data(),
                       static_cast<int>(p.text.size()));
        }
    if (oldFont)
        ::SelectObject(dc, oldFont);
}

void CChordEditView::OnEndPrinting(CDC*, CPrintInfo*)
{
    if (CKestrixDoc* doc = Doc())
        doc->SetPrinting(false);
    m_sheets.clear();
    m_layouts.clear();
    m_printFonts.reset();
    Invalidate(FALSE);
}
