#include "views/GChordDlg.h"

#include "app/DocHost.h"
#include "app/LangText.h"
#include "app/MessageBoxDemo.h"
#include "app/TextConvert.h"
#include "framework/App.h"
#include "resources/resource.h"

namespace {

// Posted to the window itself: the rejected sections wait in the window.
const UINT WM_CHORDFILE_REJECTED = WM_APP + 0x3A1;

const COLORREF kPanel = RGB(236, 233, 216);
const COLORREF kBand = RGB(206, 203, 186); // the panel less 30 in each part
const COLORREF kLines = RGB(100, 100, 100);

// Moves of the mouse with only the left button down, counted for every
// window of the kind (one exists): the window follows from the fifth.
int g_dragMoves = 0;

CRect ToRect(const DiagramRect& r) { return CRect(r.left, r.top, r.right, r.bottom); }

void Blit(CDC& dc, CDC& source, CBitmap& bitmap, int x, int y)
{
    if (!bitmap.GetSafeHandle())
        return;
    BITMAP bm = {};
    bitmap.GetBitmap(&bm);
    CBitmap* old = source.SelectObject(&bitmap);
    dc.BitBlt(x, y, bm.bmWidth, bm.bmHeight, &source, 0, 0, SRCCOPY);
    source.SelectObject(old);
}

CSize BitmapSize(CBitmap& bitmap)
{
    BITMAP bm = {};
    if (bitmap.GetSafeHandle())
        bitmap.GetBitmap(&bm);
    return CSize(bm.bmWidth, bm.bmHeight);
}

} // namespace

BEGIN_MESSAGE_MAP(CGChordDlg, CDialog)
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_CBN_SELCHANGE(IDC_CHORD_COMBO, OnSelChangeChordCombo)
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_CHORDFILE_REJECTED, OnReportRejected)
ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
END_MESSAGE_MAP()

CGChordDlg::CGChordDlg(CWnd* pParent)
    : CDialog(IDD_CHORD_DIALOG, pParent), m_fretSpacing(ChordDiagramLayout::kFretSpacing),
      m_fretCount(ChordDiagramLayout::kFretCount), m_stringSpacing(ChordDiagramLayout::kStringSpacing),
      m_stringCount(ChordDiagramLayout::kStringCount), m_rightHot(false), m_leftHot(false)
{
}

CGChordDlg::~CGChordDlg()
{
    if (m_hWnd)
        DestroyWindow();
    m_shapes.clear();
}

BOOL CGChordDlg::Create(CWnd* pParent) { return CDialog::Create(IDD_CHORD_DIALOG, pParent); }

BOOL CGChordDlg::PreTranslateMessage(MSG* pMsg)
{
    // A tool window: the main window's shortcuts work while it has the focus.
    return TranslateMainWindowShortcut(this, pMsg) || CDialog::PreTranslateMessage(pMsg);
}

BOOL CGChordDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const CString title = LangText(109);
    if (!title.IsEmpty())
        SetWindowText(title);
    m_stringFont.CreateFont(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            DEFAULT_QUALITY, VARIABLE_PITCH, "Verdana");
    m_smallFont.CreateFont(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, VARIABLE_PITCH, "Verdana");
    m_arrowRight.LoadBitmap(IDB_CHORD_ARROW_RIGHT);
    m_arrowLeft.LoadBitmap(IDB_CHORD_ARROW_LEFT);
    m_arrowRightHot.LoadBitmap(IDB_CHORD_ARROW_RIGHT_HOT);
    m_arrowLeftHot.LoadBitmap(IDB_CHORD_ARROW_LEFT_HOT);
    m_barre.LoadBitmap(IDB_CHORD_BARRE);
    for (int f = 0; f < 4; ++f)
        m_fingers[f].LoadBitmap(IDB_CHORD_FINGER1 + f);
    m_combo.SubclassDlgItem(IDC_CHORD_COMBO, this);
    return TRUE;
}

void CGChordDlg::PostNcDestroy()
{
    m_stringFont.DeleteObject();
    m_smallFont.DeleteObject();
    CDialog::PostNcDestroy(); // the application owns the object
}

namespace {
constexpr int kLangMoreNames = 182; // "and %d more"
} // namespace

void CGChordDlg::LoadChordFile() { LoadChordFile(GetDocHost()->GetInstallFolder() + "chordfile.ini"); }

void CGChordDlg::LoadChordFile(const CString& path)
{
    std::vector<CString> rejected;
    m_shapes = ChordShapeFile::Load(path, &rejected);
    m_selection.Clear();
    if (rejected.empty())
        return;
    m_rejected.insert(m_rejected.end(), rejected.begin(), rejected.end());
    // The box belongs on the window's own thread, whoever loads.
    if (m_hWnd)
        PostMessage(WM_CHORDFILE_REJECTED);
}

LRESULT CGChordDlg::OnReportRejected(WPARAM, LPARAM)
{
    if (m_rejected.empty())
        return 0;
    // A few names: a file of thousands of broken sections must not make a
    // box no screen holds.
    CString names;
    int left = 0;
    ChordLookup::ListNames(m_rejected, names, left);
    if (left > 0) {
        CString more = LangText(kLangMoreNames);
        if (more.IsEmpty())
            more = "and %s more";
        CString count;
        count.Format("%d", left);
        names += " " + FillInText(more, count);
    }
    m_rejected.clear();
    ShowMessageBox(FillInText(LangText(125), names), LangText(123), false, this);
    return 0;
}

void CGChordDlg::FillChordCombo()
{
    m_comboNames = ChordLookup::ComboNames(m_shapes);
    if (!m_combo.m_hWnd)
        return;
    m_combo.AddString("");
    for (const CString& name : m_comboNames)
        m_combo.AddString(name);
}

int CGChordDlg::CopyShapes(std::vector<ChordShape>& target) const
{
    target.insert(target.end(), m_shapes.begin(), m_shapes.end());
    return (int)m_shapes.size();
}

void CGChordDlg::ShowChord(const CString& name, int version)
{
    if (!m_selection.Show(m_shapes, name, version))
        return;
    SelectComboFor(m_selection.key);
    if (m_hWnd)
        Invalidate(FALSE);
}

void CGChordDlg::SelectComboFor(const CString& key)
{
    if (!m_combo.m_hWnd)
        return;
    if (key.IsEmpty()) {
        m_combo.SetCurSel(0);
        return;
    }
    const int item = ChordLookup::FindComboItem(m_comboNames, key);
    m_combo.SetCurSel(item >= 0 ? item + 1 : -1);
}

void CGChordDlg::OnSelChangeChordCombo()
{
    const int sel = m_combo.GetCurSel();
    if (sel - 1 < 0) {
        if (m_selection.Clear())
            Invalidate(FALSE);
        return;
    }
    CString text;
    m_combo.GetLBText(sel, text);
    ShowChord(text, 1);
}

CString CGChordDlg::GetVersionText() const
{
    const int i = m_selection.index;
    if (i < 0 || i >= (int)m_shapes.size() || m_shapes[i].version == 0)
        return CString();
    CString text;
    text.Format("%d : %d", m_shapes[i].version, CountVersions(m_shapes[i].name));
    return text;
}

void CGChordDlg::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_pressPoint = point;
    g_dragMoves = 0; // every drag starts counting afresh
    SetCapture();
    if (m_rightArrowRect.PtInRect(point))
        ShowChord(m_selection.name, m_selection.version + 1);
    else if (m_leftArrowRect.PtInRect(point))
        ShowChord(m_selection.name, m_selection.version - 1);
    CDialog::OnLButtonDown(nFlags, point);
}

void CGChordDlg::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    // The window class reports a quick second click as a double click; on
    // an arrow it is one more step.
    OnLButtonDown(nFlags, point);
}

void CGChordDlg::OnLButtonUp(UINT nFlags, CPoint point)
{
    ReleaseCapture();
    CDialog::OnLButtonUp(nFlags, point);
}

void CGChordDlg::OnMouseMove(UINT nFlags, CPoint point)
{
    CPoint screen = point;
    ClientToScreen(&screen);
    CRect window;
    GetWindowRect(&window);
    if (window.PtInRect(screen)) {
        if (nFlags == MK_LBUTTON) {
            if (g_dragMoves > 3) {
                // Keep the pressed client point under the cursor.
                CPoint origin(0, 0);
                ClientToScreen(&origin);
                SetWindowPos(nullptr, screen.x - m_pressPoint.x - (origin.x - window.left),
                             screen.y - m_pressPoint.y - (origin.y - window.top), 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            ++g_dragMoves;
        } else {
            g_dragMoves = 0;
        }
    }
    const bool rightHot = m_rightArrowRect.PtInRect(point) != FALSE;
    if (rightHot != m_rightHot) {
        m_rightHot = rightHot;
        InvalidateRect(&m_rightArrowRect, TRUE);
    }
    const bool leftHot = m_leftArrowRect.PtInRect(point) != FALSE;
    if (leftHot != m_leftHot) {
        m_leftHot = leftHot;
        InvalidateRect(&m_leftArrowRect, TRUE);
    }
    if (m_rightHot || m_leftHot) {
        // A lit arrow goes out when the mouse leaves the window too.
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = m_hWnd;
        TrackMouseEvent(&track);
    }
    CDialog::OnMouseMove(nFlags, point);
}

LRESULT CGChordDlg::OnMouseLeave(WPARAM, LPARAM)
{
    if (m_rightHot)
        InvalidateRect(&m_rightArrowRect, TRUE);
    if (m_leftHot)
        InvalidateRect(&m_leftArrowRect, TRUE);
    m_rightHot = m_leftHot = false;
    return 0;
}

BOOL CGChordDlg::OnEraseBkgnd(CDC*) { return TRUE; } // the painter fills everything

void CGChordDlg::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    // Drawn off screen and copied once, so hovering and stepping do not flicker.
    CDC memory;
    memory.CreateCompatibleDC(&dc);
    CBitmap buffer;
    buffer.CreateCompatibleBitmap(&dc, client.Width(), client.Height());
    CBitmap* oldBuffer = memory.SelectObject(&buffer);
    DrawDiagram(memory, client);
    dc.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(oldBuffer);
}

void CGChordDlg::DrawDiagram(CDC& dc, const CRect& client)
{
    static const ChordShape kEmpty;
    const int i = m_selection.index;
    const ChordShape shape = (!m_shapes.empty() && i >= 0 && i < (int)m_shapes.size()) ? m_shapes[i] : kEmpty;
    const ChordDiagramLayout layout(client.left, client.top, client.right, client.bottom);
    const int nutY = layout.NutY();
    const int x0 = layout.X0();
    const int gridRight = x0 + (m_stringCount - 1) * m_stringSpacing;
    const int gridBottom = client.bottom - 15;

    dc.FillSolidRect(&client, kPanel);
    CPen framePen(PS_SOLID, 2, kLines);
    CPen linePen(PS_SOLID, 1, kLines);
    CPen mutedPen(PS_SOLID, 2, kLines);
    CPen* oldPen = dc.SelectObject(&framePen);

    // Frame, inner strings and fret lines.
    dc.MoveTo(x0, gridBottom);
    dc.LineTo(x0, nutY);
    dc.LineTo(gridRight, nutY);
    dc.LineTo(gridRight, gridBottom);
    dc.SelectObject(&linePen);
    for (int k = 2; k < m_stringCount; ++k) {
        dc.MoveTo(layout.StringX(k), nutY);
        dc.LineTo(layout.StringX(k), gridBottom);
    }
    for (int j = 1; j < m_fretCount; ++j) {
        dc.MoveTo(x0, nutY + m_fretSpacing * j);
        dc.LineTo(gridRight, nutY + m_fretSpacing * j);
    }

    // Fret numbers and string names.
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));
    CFont* oldFont = dc.SelectObject(&m_smallFont);
    const UINT centred = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP;
    for (int j = 1; j <= m_fretCount; ++j) {
        CString number;
        number.Format("%d", j + shape.baseFret - 1);
        CRect r = ToRect(layout.FretNumberRect(j));
        dc.DrawText(number, &r, centred);
    }
    dc.SelectObject(&m_stringFont);
    static const char* const kStringNames[6] = {"E", "A", "D", "G", "B", "E"};
    for (int k = 1; k <= m_stringCount; ++k) {
        CRect r = ToRect(layout.StringNameRect(k));
        dc.DrawText(kStringNames[k - 1], -1, &r, centred);
    }

    // Header band and the arrows on it.
    const CRect band = ToRect(layout.Band());
    dc.FillSolidRect(&band, kBand);
    CDC source;
    source.CreateCompatibleDC(&dc);
    CBitmap& right = m_rightHot ? m_arrowRightHot : m_arrowRight;
    CBitmap& left = m_leftHot ? m_arrowLeftHot : m_arrowLeft;
    const CSize rightSize = BitmapSize(right);
    const CSize leftSize = BitmapSize(left);
    const DiagramPoint rp = layout.ArrowPos(true, rightSize.cx, rightSize.cy);
    const DiagramPoint lp = layout.ArrowPos(false, leftSize.cx, leftSize.cy);
    Blit(dc, source, right, rp.x, rp.y);
    Blit(dc, source, left, lp.x, lp.y);
    m_rightArrowRect = CRect(rp.x, rp.y, rp.x + rightSize.cx, rp.y + rightSize.cy);
    m_leftArrowRect = CRect(lp.x, lp.y, lp.x + leftSize.cx, lp.y + leftSize.cy);

    // Barre, with the dot of the finger that holds it beside its end.
    DiagramRect barre;
    if (layout.BarreRect(shape, barre) && m_barre.GetSafeHandle()) {
        const CSize size = BitmapSize(m_barre);
        CBitmap* old = source.SelectObject(&m_barre);
        dc.SetStretchBltMode(COLORONCOLOR);
        dc.StretchBlt(barre.left, barre.top, barre.right - barre.left, barre.bottom - barre.top, &source, 0, 0,
                      size.cx, size.cy, SRCCOPY);
        source.SelectObject(old);
        for (int f = 0; f < 4; ++f) {
            if (shape.fingers[f].string == FINGER_ON_BARRE && shape.fingers[f].fret == FINGER_ON_BARRE) {
                const DiagramPoint p = layout.BarreDotPos(barre);
                Blit(dc, source, m_fingers[f], p.x, p.y);
                break;
            }
        }
    }

    // Muted strings: an X on the nut.
    dc.SelectObject(&mutedPen);
    for (int s : shape.mutedStrings) {
        const int x = layout.StringX(s);
        dc.MoveTo(x - 4, nutY - 4);
        dc.LineTo(x + 4, nutY + 4);
        dc.MoveTo(x + 4, nutY - 4);
        dc.LineTo(x - 4, nutY + 4);
    }

    for (int f = 0; f < 4; ++f) {
        DiagramPoint p;
        if (layout.FingerDotPos(shape, f, p))
            Blit(dc, source, m_fingers[f], p.x, p.y);
    }

    // The version line: "version : count".
    const CString version = GetVersionText();
    if (!version.IsEmpty()) {
        dc.SelectObject(&m_smallFont);
        const CRect strip = ToRect(layout.VersionStrip());
        dc.FillSolidRect(&strip, kBand);
        CRect r = ToRect(layout.VersionTextRect());
        dc.DrawText(version, &r, centred);
    }
    dc.SelectObject(oldFont);
    dc.SelectObject(oldPen);
}
