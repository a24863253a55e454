#include "app/ViewDlg.h"

#include "app/DocHost.h"
#include "app/KestrixApp.h"
#include "app/KestrixDoc.h"
#include "app/LangText.h"
#include "framework/App.h"
#include "resources/resource.h"

namespace {
const COLORREF kBack = RGB(236, 233, 216);
const COLORREF kBand = RGB(206, 203, 186);
const COLORREF kHot = RGB(247, 244, 228);
const COLORREF kLine = RGB(130, 130, 130);
const int kHintFont = 16;

void Line(CDC& dc, int y, int width)
{
    CPen pen(PS_SOLID, 1, kLine);
    CPen* old = dc.SelectObject(&pen);
    dc.MoveTo(0, y);
    dc.LineTo(width, y);
    dc.SelectObject(old);
}

// A title band B high from y with the text centred.
void Band(CDC& dc, int y, int width, int text, CFont& font)
{
    dc.FillSolidRect(0, y, width, CViewDlg::kBandHeight, kBand);
    CFont* old = dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    CRect r(0, y, width, y + CViewDlg::kBandHeight);
    dc.DrawText(LangText(text), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.SelectObject(old);
}
} // namespace

BEGIN_MESSAGE_MAP(CViewDlg, CDialog)
ON_WM_MOUSEMOVE()
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONUP()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CViewDlg::CViewDlg() : m_options{}, m_hotRow(-1), m_displayMode(0), m_chordOptions(true) {}

CViewDlg::~CViewDlg()
{
    for (HBITMAP& b : m_options)
        if (b)
            ::DeleteObject(b);
}

BOOL CViewDlg::Create(CWnd* pParent) { return CDialog::Create(IDD_TOOLS_PANEL, pParent); }

BOOL CViewDlg::PreTranslateMessage(MSG* pMsg)
{
    // A tool window: the main window's shortcuts work while it has the focus.
    return TranslateMainWindowShortcut(this, pMsg) || CDialog::PreTranslateMessage(pMsg);
}

BOOL CViewDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // Its mode rows act on the document: not while a box asks something.
    AfxHoldWhileModal(m_hWnd, true);
    CRect window;
    GetWindowRect(&window);
    if (HWND main = GetDocHost()->GetMainWindow()) {
        RECT m;
        ::GetWindowRect(main, &m);
        SetWindowPos(&wndTop, m.right - 20 - window.Width(), (m.bottom - m.top) / 2 - window.Height() / 2, 0, 0,
                     SWP_NOSIZE);
    }
    ShowWindow(SW_HIDE);
    auto font = [](CFont& f, int height) {
        f.CreateFont(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, VARIABLE_PITCH, "Verdana");
    };
    font(m_hintFont, kHintFont);
    font(m_valueFont, 13);
    font(m_titleFont, 15);
    static const UINT ids[4] = {IDB_OPTION_ON, IDB_OPTION_OFF, IDB_OPTION_ON_HOT, IDB_OPTION_OFF_HOT};
    for (int i = 0; i < 4; ++i)
        m_options[i] = (HBITMAP)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(ids[i]), IMAGE_BITMAP, 0, 0,
                                             LR_CREATEDIBSECTION);
    SetWindowText(LangText(110));
    // The rows open on the mode new documents take.
    const int stored = GetDocHost()->GetSetting("defaultMode");
    if (stored >= 0 && stored <= 2)
        m_displayMode = stored;
    CRect client;
    GetClientRect(&client);
    LayoutRows(client.Width());
    return TRUE;
}

void CViewDlg::OnDestroy()
{
    AfxHoldWhileModal(m_hWnd, false);
    CDialog::OnDestroy();
}

void CViewDlg::ShowDocument(CKestrixDoc* doc)
{
    if (doc) {
        m_displayMode = doc->GetMode();
        m_chordOptions = doc->GetCurrentView() != 2;
    }
    m_hintText.Empty();
    if (m_hWnd)
        Invalidate(FALSE);
}

void CViewDlg::PlaceOnFrame(CWnd* frame)
{
    if (!frame || !frame->m_hWnd)
        return;
    CRect area, own;
    frame->GetClientRect(&area);
    GetClientRect(&own);
    SetWindowPos(&wndTop, area.Width() - own.Width() - 40, 120, 0, 0, SWP_NOSIZE);
}

void CViewDlg::LayoutRows(int width)
{
    // Below the hint, two value rows between their band and the options band.
    const int top = kValueTop + 1 + 3 * kBandHeight + 1 + kBandHeight + 5;
    for (int i = 0; i < kOptionRowCount; ++i)
        m_rows[i] = CRect(0, top + 20 * i, width, top + 20 * i + 16);
}

void CViewDlg::SetHintText(const CString& text)
{
    if (text == m_hintText)
        return;
    m_hintText = text;
    if (m_hWnd)
        Invalidate(FALSE);
}

void CViewDlg::SetChordOptionsShown(bool shown)
{
    m_chordOptions = shown;
    if (m_hWnd)
        Invalidate(FALSE);
}

void CViewDlg::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    const int w = client.Width(), h = client.Height();
    if (!m_canvas.GetSafeHandle() || m_canvasSize.cx != w || m_canvasSize.cy != h) {
        m_canvas.DeleteObject();
        m_canvas.CreateCompatibleBitmap(&dc, w, h);
        m_canvasSize = CSize(w, h);
    }
    CDC canvas;
    canvas.CreateCompatibleDC(&dc);
    CBitmap* old = canvas.SelectObject(&m_canvas);
    Paint(canvas, w, h);
    dc.BitBlt(0, 0, w, h, &canvas, 0, 0, SRCCOPY);
    canvas.SelectObject(old);
}

void CViewDlg::Paint(CDC& dc, int w, int h)
{
    const int B = kBandHeight;
    dc.FillSolidRect(0, 0, w, h, kBack);
    Line(dc, 0, w);
    Band(dc, 1, w, 74, m_titleFont);

    // The note names under the mouse, one per line, centred on the first.
    const std::vector<CString> names = SplitNoteNames(m_hintText);
    if (!names.empty()) {
        CFont* oldFont = dc.SelectObject(&m_hintFont);
        dc.SetBkMode(OPAQUE);
        dc.SetBkColor(kBack);
        dc.SetTextColor(RGB(0, 0, 0));
        const int n = static_cast<int>(names.size());
        const int x = (w - dc.GetTextExtent(names[0]).cx) / 2;
        int y = B + (kValueTop - B - n * kHintFont) / 2;
        for (const CString& name : names) {
            dc.TextOut(x, y, name);
            y += kHintFont + 1;
        }
        dc.SelectObject(oldFont);
    }

    // Reference pitch and key of the active document.
    Line(dc, kValueTop, w);
    Band(dc, kValueTop + 1, w, 75, m_titleFont);
    float tuning = 0.0f;
    CString key;
    if (CKestrixApp* app = GetKestrixApp())
        app->GetActiveDocInfo(tuning, key);
    CString hz;
    if (static_cast<int>(tuning) != 0)
        hz.Format("%d Hz", static_cast<int>(tuning));
    CFont* oldFont = dc.SelectObject(&m_valueFont);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));
    const int valueTop = kValueTop + 1 + B;
    const struct {
        int label;
        const CString& value;
    } values[] = {{76, hz}, {77, key}};
    for (int i = 0; i < 2; ++i) {
        CRect label(0, valueTop + i * B, w / 2, valueTop + (i + 1) * B);
        dc.DrawText(LangText(values[i].label), &label, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
        CRect value(w / 2 + 5, label.top, w, label.bottom);
        dc.DrawText(values[i].value, &value, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }

    // The display-mode rows.
    const int optionsTop = valueTop + 2 * B;
    Line(dc, optionsTop, w);
    Band(dc, optionsTop + 1, w, 78, m_titleFont);
    if (m_chordOptions) {
        CDC marks;
        marks.CreateCompatibleDC(&dc);
        for (int i = 0; i < kOptionRowCount; ++i) {
            const CRect& r = m_rows[i];
            dc.FillSolidRect(r, i == m_hotRow ? kHot : kBack);
            const bool selected = OptionRowMode(i) == m_displayMode;
            const HBITMAP mark = m_options[(selected ? 0 : 1) + (i == m_hotRow ? 2 : 0)];
            if (mark) {
                HGDIOBJ was = ::SelectObject(marks.GetSafeHdc(), mark);
                dc.BitBlt(15, r.top, 16, 16, &marks, 0, 0, SRCCOPY);
                ::SelectObject(marks.GetSafeHdc(), was);
            }
            CRect text(38, r.top, w, r.bottom);
            dc.DrawText(LangText(OptionRowText(i)), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        }
    }
    dc.SelectObject(oldFont);
}

BOOL CViewDlg::OnEraseBkgnd(CDC*) { return TRUE; }

int CViewDlg::RowAt(CPoint point) const
{
    for (int i = 0; i < kOptionRowCount; ++i)
        if (m_rows[i].PtInRect(point))
            return i;
    return -1;
}

void CViewDlg::InvalidateRows()
{
    CRect all(m_rows[0].left, m_rows[0].top, m_rows[kOptionRowCount - 1].right, m_rows[kOptionRowCount - 1].bottom);
    InvalidateRect(&all, FALSE);
}

void CViewDlg::OnMouseMove(UINT nFlags, CPoint point)
{
    CPoint screen = point;
    ClientToScreen(&screen);
    CRect window;
    GetWindowRect(&window);
    if (window.PtInRect(screen)) {
        int left = 0, top = 0;
        if (m_drag.Move(nFlags == MK_LBUTTON, screen.x, screen.y, left, top))
            SetWindowPos(nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    const int hot = RowAt(point);
    if (hot != m_hotRow) {
        m_hotRow = hot;
        InvalidateRows();
    }
}

void CViewDlg::OnLButtonDown(UINT, CPoint point)
{
    // The grab point is kept relative to the window's corner, so the panel
    // does not jump by its caption when the drag starts; it is taken while
    // the bass view hides the rows too, or a drag would start from an old one.
    CPoint screen = point;
    ClientToScreen(&screen);
    CRect window;
    GetWindowRect(&window);
    m_drag.Grab(screen.x - window.left, screen.y - window.top);
    SetCapture();
    if (!m_chordOptions)
        return;
    const int row = RowAt(point);
    if (row < 0)
        return;
    const int mode = OptionRowMode(row);
    m_displayMode = mode;
    InvalidateRows();
    CKestrixApp* app = GetKestrixApp();
    if (!app)
        return;
    app->WriteSetting("defaultMode", mode);
    if (CKestrixDoc* doc = app->GetActiveDoc())
        doc->SetMode(mode);
}

void CViewDlg::OnLButtonUp(UINT, CPoint)
{
    ::ReleaseCapture();
    Default();
}
