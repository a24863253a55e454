#include "framework/Print.h"

#include <cstring>

#include "framework/App.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/DocView.h"

namespace {

// The printer chosen last, offered again by the next dialog.
HGLOBAL g_devMode = nullptr;
HGLOBAL g_devNames = nullptr;

HDC CreateDCFromNames(HGLOBAL names, HGLOBAL mode)
{
    if (!names)
        return nullptr;
    auto* dn = static_cast<DEVNAMES*>(::GlobalLock(names));
    if (!dn)
        return nullptr;
    const char* base = reinterpret_cast<const char*>(dn);
    DEVMODEA* dm = mode ? static_cast<DEVMODEA*>(::GlobalLock(mode)) : nullptr;
    HDC dc = ::CreateDCA(base + dn->wDriverOffset, base + dn->wDeviceOffset, nullptr, dm);
    if (dm)
        ::GlobalUnlock(mode);
    ::GlobalUnlock(names);
    return dc;
}

HWND OwnerWindow(CWnd* parent)
{
    if (parent && parent->m_hWnd)
        return parent->m_hWnd;
    CWnd* main = AfxGetMainWnd();
    return main ? main->m_hWnd : nullptr;
}

} // namespace

// --- Print dialog ---

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd)
{
    std::memset(&m_pd, 0, sizeof m_pd);
    m_pd.lStructSize = sizeof m_pd;
    m_pd.Flags = dwFlags | (bPrintSetupOnly ? PD_PRINTSETUP : PD_RETURNDC);
    m_pd.hwndOwner = OwnerWindow(pParentWnd);
    m_pd.nMinPage = 1;
    m_pd.nMaxPage = 0xFFFF;
    m_pd.nFromPage = 1;
    m_pd.nToPage = 0xFFFF;
    m_pd.nCopies = 1;
}

CPrintDialog::~CPrintDialog()
{
    if (m_pd.hDC)
        ::DeleteDC(m_pd.hDC);
}

INT_PTR CPrintDialog::DoModal()
{
    if (m_pd.hDC) {
        ::DeleteDC(m_pd.hDC);
        m_pd.hDC = nullptr;
    }
    m_pd.hDevMode = g_devMode;
    m_pd.hDevNames = g_devNames;
    BOOL ok;
    {
        CSystemBoxGuard guard(m_pd.hwndOwner);
        ok = ::PrintDlgA(&m_pd);
    }
    // The dialog may have replaced the handles it was given.
    g_devMode = m_pd.hDevMode;
    g_devNames = m_pd.hDevNames;
    return ok && m_pd.hDC ? IDOK : IDCANCEL;
}

BOOL CPrintDialog::GetDefaults()
{
    if (m_pd.hDC) {
        ::DeleteDC(m_pd.hDC);
        m_pd.hDC = nullptr;
    }
    if (!g_devNames) {
        PRINTDLGA pd = {};
        pd.lStructSize = sizeof pd;
        pd.Flags = PD_RETURNDEFAULT;
        if (!::PrintDlgA(&pd))
            return FALSE;
        g_devMode = pd.hDevMode;
        g_devNames = pd.hDevNames;
    }
    m_pd.hDevMode = g_devMode;
    m_pd.hDevNames = g_devNames;
    m_pd.hDC = CreateDCFromNames(g_devNames, g_devMode);
    return m_pd.hDC != nullptr;
}

CString CPrintDialog::GetDeviceName() const
{
    CString name;
    if (!m_pd.hDevNames)
        return name;
    if (auto* dn = static_cast<DEVNAMES*>(::GlobalLock(m_pd.hDevNames))) {
        name = reinterpret_cast<const char*>(dn) + dn->wDeviceOffset;
        ::GlobalUnlock(m_pd.hDevNames);
    }
    return name;
}

// --- Print information ---

CPrintInfo::CPrintInfo()
    : m_pPD(new CPrintDialog(FALSE)), m_bPreview(FALSE), m_bContinuePrinting(TRUE), m_nCurPage(1),
      m_lpUserData(nullptr)
{
}

CPrintInfo::~CPrintInfo() { delete m_pPD; }

UINT CPrintInfo::GetFromPage() const { return m_pPD->PrintAll() ? GetMinPage() : m_pPD->m_pd.nFromPage; }

UINT CPrintInfo::GetToPage() const { return m_pPD->PrintAll() ? GetMaxPage() : m_pPD->m_pd.nToPage; }

// --- The view's print path ---

BOOL CView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo)
{
    CPrintDialog* pd = pInfo->m_pPD;
    if (pInfo->m_bPreview)
        return pd->GetDefaults();
    pd->m_pd.hwndOwner = OwnerWindow(nullptr);
    pd->m_pd.nFromPage = pd->m_pd.nMinPage;
    pd->m_pd.nToPage = pd->m_pd.nMaxPage;
    if (pd->m_pd.nMaxPage <= pd->m_pd.nMinPage)
        pd->m_pd.Flags |= PD_NOPAGENUMS;
    else
        pd->m_pd.Flags &= ~PD_NOPAGENUMS;
    return pd->DoModal() == IDOK;
}

void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CView::OnPrint(CDC* pDC, CPrintInfo*) { OnDraw(pDC); }

void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

void CView::OnFilePrint()
{
    CPrintInfo info;
    if (!OnPreparePrinting(&info))
        return;
    HDC hdc = info.m_pPD->GetPrinterDC();
    if (!hdc)
        return;
    CDC dc;
    dc.Attach(hdc);
    OnBeginPrinting(&dc, &info);

    CString title = m_pDocument ? m_pDocument->GetTitle() : CString();
    if (title.IsEmpty())
        title = "Untitled";
    DOCINFOA di = {};
    di.cbSize = sizeof di;
    di.lpszDocName = title;
    bool ok = ::StartDocA(hdc, &di) > 0;
    const UINT from = info.GetFromPage(), to = info.GetToPage();
    for (UINT page = from; ok && page <= to && info.m_bContinuePrinting; ++page) {
        info.m_nCurPage = page;
        info.m_rectDraw.SetRect(0, 0, ::GetDeviceCaps(hdc, HORZRES), ::GetDeviceCaps(hdc, VERTRES));
        if (::StartPage(hdc) <= 0) {
            ok = false;
            break;
        }
        const int saved = ::SaveDC(hdc);
        OnPrint(&dc, &info);
        ::RestoreDC(hdc, saved);
        if (::EndPage(hdc) <= 0)
            ok = false;
    }
    if (ok)
        ok = ::EndDoc(hdc) > 0;
    else
        ::AbortDoc(hdc);
    OnEndPrinting(&dc, &info);
    dc.Detach();
    if (!ok)
        AfxMessageBox("The document could not be printed.", MB_OK | MB_ICONEXCLAMATION);
}

void CView::OnFilePrintPreview()
{
    CPrintInfo info;
    info.m_bPreview = TRUE;
    if (!OnPreparePrinting(&info)) {
        AfxMessageBox("There is no printer to preview the pages for.", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CDC dc;
    dc.Attach(info.m_pPD->GetPrinterDC());
    OnBeginPrinting(&dc, &info);
    BOOL print = FALSE;
    {
        CPreviewWnd preview(this, &info, &dc);
        print = preview.Run();
    }
    OnEndPrinting(&dc, &info);
    dc.Detach();
    if (print && m_hWnd)
        SendMessage(WM_COMMAND, ID_FILE_PRINT);
}

// --- Preview window ---

BEGIN_MESSAGE_MAP(CPreviewWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

CPreviewWnd::CPreviewWnd(CView* pView, CPrintInfo* pInfo, CDC* pPrinterDC)
    : m_pView(pView), m_pInfo(pInfo), m_pPrinterDC(pPrinterDC), m_page(pInfo->GetMinPage()), m_print(FALSE),
      m_buttons{}
{
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof ncm;
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
        m_font.CreateFontIndirect(&ncm.lfMessageFont);
}

CPreviewWnd::~CPreviewWnd()
{
    if (m_hWnd)
        DestroyWindow();
    for (CButton* b : m_buttons)
        delete b;
    for (HENHMETAFILE h : m_pages)
        if (h)
            ::DeleteEnhMetaFile(h);
}

BOOL CPreviewWnd::Run()
{
    HWND owner = OwnerWindow(nullptr);
    RECT r = {0, 0, 800, 600};
    if (owner)
        ::GetWindowRect(owner, &r);
    else
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    LPCSTR cls = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW), nullptr);
    if (!CreateEx(0, cls, "Print Preview", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, r.left, r.top,
                  r.right - r.left, r.bottom - r.top, owner, nullptr))
        return FALSE;

    static const char* const texts[4] = {"&Print...", "&Next Page", "Pre&v Page", "&Close"};
    for (int i = 0; i < 4; ++i) {
        m_buttons[i] = new CButton;
        const CRect b(8 + i * 96, 5, 8 + i * 96 + 88, kBarHeight - 5);
        m_buttons[i]->Create(texts[i], WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, b, this,
                             IDC_PREVIEW_PRINT + i);
        if (m_font.m_hObject)
            m_buttons[i]->SetFont(&m_font, FALSE);
    }
    ShowPage(m_pInfo->GetMinPage());
    ShowWindow(SW_SHOW);
    UpdateWindow();
    CModalHold hold(owner);
    if (owner)
        ::EnableWindow(owner, FALSE);
    ::SetFocus(m_hWnd);
    RunModalLoop(MLF_NOIDLEMSG | MLF_NOKICKIDLE);
    // The owner comes back before this window goes, so it gets the activation.
    if (owner) {
        ::EnableWindow(owner, TRUE);
        ::SetActiveWindow(owner);
    }
    DestroyWindow();
    return m_print;
}

void CPreviewWnd::Finish(BOOL print)
{
    m_print = print;
    if (ContinueModal())
        EndModalLoop(0);
}

void CPreviewWnd::ShowPage(UINT page)
{
    if (page < m_pInfo->GetMinPage())
        page = m_pInfo->GetMinPage();
    if (page > m_pInfo->GetMaxPage())
        page = m_pInfo->GetMaxPage();
    m_page = page;
    CString title;
    title.Format("Print Preview - Page %u of %u", m_page, m_pInfo->GetMaxPage());
    if (m_hWnd) {
        SetWindowText(title);
        UpdateButtons();
        Invalidate(FALSE);
    }
}

void CPreviewWnd::UpdateButtons()
{
    if (m_buttons[1])
        m_buttons[1]->EnableWindow(m_page < m_pInfo->GetMaxPage());
    if (m_buttons[2])
        m_buttons[2]->EnableWindow(m_page > m_pInfo->GetMinPage());
    // A disabled button cannot keep the focus; the keys still work here.
    HWND focus = ::GetFocus();
    if (focus && !::IsWindowEnabled(focus))
        ::SetFocus(m_hWnd);
}

HENHMETAFILE CPreviewWnd::GetPageMetafile(UINT page)
{
    const UINT first = m_pInfo->GetMinPage();
    if (page < first || page > m_pInfo->GetMaxPage())
        return nullptr;
    const size_t index = page - first;
    if (m_pages.size() <= index)
        m_pages.resize(index + 1, nullptr);
    if (m_pages[index])
        return m_pages[index];

    HDC ref = m_pPrinterDC->m_hDC;
    const int w = ::GetDeviceCaps(ref, HORZRES), h = ::GetDeviceCaps(ref, VERTRES);
    const int dpx = ::GetDeviceCaps(ref, LOGPIXELSX), dpy = ::GetDeviceCaps(ref, LOGPIXELSY);
    // The frame in hundredths of a millimetre: the printable area.
    RECT frame = {0, 0, ::MulDiv(w, 2540, dpx > 0 ? dpx : 96), ::MulDiv(h, 2540, dpy > 0 ? dpy : 96)};
    HDC mf = ::CreateEnhMetaFileA(ref, nullptr, &frame, nullptr);
    if (!mf)
        return nullptr;
    CDC dc;
    dc.Attach(mf);
    m_pInfo->m_nCurPage = page;
    m_pInfo->m_rectDraw.SetRect(0, 0, w, h);
    const int saved = ::SaveDC(mf);
    m_pView->OnPrint(&dc, m_pInfo);
    ::RestoreDC(mf, saved);
    dc.Detach();
    m_pages[index] = ::CloseEnhMetaFile(mf);
    return m_pages[index];
}

CRect CPreviewWnd::PaperRect() const
{
    CRect client;
    GetClientRect(&client);
    HDC ref = m_pPrinterDC->m_hDC;
    int pw = ::GetDeviceCaps(ref, PHYSICALWIDTH), ph = ::GetDeviceCaps(ref, PHYSICALHEIGHT);
    if (pw <= 0 || ph <= 0) {
        pw = ::GetDeviceCaps(ref, HORZRES);
        ph = ::GetDeviceCaps(ref, VERTRES);
    }
    const int margin = 16;
    const int areaW = client.Width() - 2 * margin, areaH = client.Height() - kBarHeight - 2 * margin;
    if (pw <= 0 || ph <= 0 || areaW <= 0 || areaH <= 0)
        return CRect();
    double scale = static_cast<double>(areaW) / pw;
    if (static_cast<double>(areaH) / ph < scale)
        scale = static_cast<double>(areaH) / ph;
    const int w = static_cast<int>(pw * scale), h = static_cast<int>(ph * scale);
    const int left = client.left + (client.Width() - w) / 2;
    const int top = kBarHeight + margin + (areaH - h) / 2;
    return CRect(left, top, left + w, top + h);
}

BOOL CPreviewWnd::OnEraseBkgnd(CDC*) { return TRUE; }

void CPreviewWnd::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    CDC mem;
    mem.CreateCompatibleDC(&paint);
    CBitmap bmp;
    bmp.CreateCompatibleBitmap(&paint, client.Width(), client.Height());
    CBitmap* oldBmp = mem.SelectObject(&bmp);

    CBrush desk(RGB(128, 128, 128)), bar(::GetSysColor(COLOR_BTNFACE)), white(RGB(255, 255, 255)),
        shadow(RGB(64, 64, 64));
    mem.FillRect(&client, &desk);
    CRect barRect(client.left, client.top, client.right, client.top + kBarHeight);
    mem.FillRect(&barRect, &bar);

    CString label;
    label.Format("Page %u of %u", m_page, m_pInfo->GetMaxPage());
    CFont* oldFont = m_font.m_hObject ? mem.SelectObject(&m_font) : nullptr;
    mem.SetBkMode(TRANSPARENT);
    mem.SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    CRect labelRect(8 + 4 * 96 + 16, 0, client.right - 8, kBarHeight);
    mem.DrawText(label, &labelRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (oldFont)
        mem.SelectObject(oldFont);

    const CRect paper = PaperRect();
    if (!paper.IsRectEmpty()) {
        CRect s = paper;
        s.OffsetRect(4, 4);
        mem.FillRect(&s, &shadow);
        mem.FillRect(&paper, &white);
        HDC ref = m_pPrinterDC->m_hDC;
        int pw = ::GetDeviceCaps(ref, PHYSICALWIDTH);
        const double scale = pw > 0 ? static_cast<double>(paper.Width()) / pw
                                    : static_cast<double>(paper.Width()) / ::GetDeviceCaps(ref, HORZRES);
        const int offX = pw > 0 ? ::GetDeviceCaps(ref, PHYSICALOFFSETX) : 0;
        const int offY = pw > 0 ? ::GetDeviceCaps(ref, PHYSICALOFFSETY) : 0;
        RECT area = {paper.left + static_cast<int>(offX * scale), paper.top + static_cast<int>(offY * scale), 0, 0};
        area.right = area.left + static_cast<int>(::GetDeviceCaps(ref, HORZRES) * scale);
        area.bottom = area.top + static_cast<int>(::GetDeviceCaps(ref, VERTRES) * scale);
        if (HENHMETAFILE page = GetPageMetafile(m_page)) {
            const int saved = mem.SaveDC();
            ::IntersectClipRect(mem.m_hDC, paper.left, paper.top, paper.right, paper.bottom);
            ::PlayEnhMetaFile(mem.m_hDC, page, &area);
            mem.RestoreDC(saved);
        }
        CBrush frame(RGB(0, 0, 0));
        mem.FrameRect(&paper, &frame);
    }
    paint.BitBlt(0, 0, client.Width(), client.Height(), &mem, 0, 0, SRCCOPY);
    mem.SelectObject(oldBmp);
}

void CPreviewWnd::OnSize(UINT, int, int) { Invalidate(FALSE); }

void CPreviewWnd::OnClose() { Finish(FALSE); }

BOOL CPreviewWnd::OnMouseWheel(UINT, short zDelta, CPoint)
{
    ShowPage(zDelta < 0 ? m_page + 1 : (m_page > m_pInfo->GetMinPage() ? m_page - 1 : m_page));
    return TRUE;
}

BOOL CPreviewWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDC_PREVIEW_PRINT:
        Finish(TRUE);
        return TRUE;
    case IDC_PREVIEW_NEXT:
        ShowPage(m_page + 1);
        return TRUE;
    case IDC_PREVIEW_PREV:
        if (m_page > m_pInfo->GetMinPage())
            ShowPage(m_page - 1);
        return TRUE;
    case IDC_PREVIEW_CLOSE:
    case IDCANCEL:
        Finish(FALSE);
        return TRUE;
    default:
        return CWnd::OnCommand(wParam, lParam);
    }
}

BOOL CPreviewWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message != WM_KEYDOWN || (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)))
        return FALSE;
    switch (pMsg->wParam) {
    case VK_NEXT:
    case VK_RIGHT:
    case VK_DOWN:
        ShowPage(m_page + 1);
        return TRUE;
    case VK_PRIOR:
    case VK_LEFT:
    case VK_UP:
        if (m_page > m_pInfo->GetMinPage())
            ShowPage(m_page - 1);
        return TRUE;
    case VK_HOME:
        ShowPage(m_pInfo->GetMinPage());
        return TRUE;
    case VK_END:
        ShowPage(m_pInfo->GetMaxPage());
        return TRUE;
    case VK_ESCAPE:
        Finish(FALSE);
        return TRUE;
    default:
        return FALSE;
    }
}
