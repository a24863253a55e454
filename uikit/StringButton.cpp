#include "StringButton.h"

#include "framework/Dialog.h"

namespace {
const UINT kToolId = 1;
}

BEGIN_MESSAGE_MAP(CStringButton, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CStringButton::CStringButton()
    : m_linkColour(RGB(0, 0, 0xEE)), m_visitedColour(RGB(0x55, 0x1A, 0x8B)),
      m_hoverColour(::GetSysColor(COLOR_HIGHLIGHT)), m_hovering(false), m_visited(false), m_underline(true),
      m_autoSize(true), m_linkCursor(nullptr)
{
}

CStringButton::~CStringButton()
{
    if (m_linkCursor)
        ::DestroyCursor(m_linkCursor);
    m_font.DeleteObject();
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.DestroyWindow();
}

void CStringButton::PreSubclassWindow()
{
    // A click then reaches the owner as BN_CLICKED.
    ModifyStyle(0, SS_NOTIFY);

    CString text;
    GetWindowText(text);
    if (m_linkText.IsEmpty())
        m_linkText = text;
    if (text.IsEmpty())
        SetWindowText(m_linkText);

    ApplyFont();
    PositionWindow();
    SetDefaultCursor();

    CRect rect;
    GetClientRect(&rect);
    m_toolTip.Create(this);
    m_toolTip.AddTool(this, m_linkText, &rect, kToolId);

    CStatic::PreSubclassWindow();
}

void CStringButton::ApplyFont()
{
    HFONT current = (HFONT)SendMessage(WM_GETFONT);
    LOGFONTA lf = {};
    ::GetObjectA(current ? (HGDIOBJ)current : ::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfUnderline = (BYTE)m_underline;
    m_font.DeleteObject();
    if (m_font.CreateFontIndirect(&lf))
        SetFont(&m_font, TRUE);
}

void CStringButton::PositionWindow()
{
    if (!m_autoSize || !::IsWindow(m_hWnd))
        return;
    CRect rect;
    GetWindowRect(&rect);
    CWnd* parent = GetParent();
    if (parent)
        parent->ScreenToClient(&rect);

    CString text;
    GetWindowText(text);
    SIZE extent = {0, 0};
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, (HFONT)SendMessage(WM_GETFONT));
    ::GetTextExtentPoint32A(dc, text, text.GetLength(), &extent);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);

    DWORD style = GetStyle();
    if (style & SS_CENTERIMAGE) {
        int dy = (rect.Height() - extent.cy) / 2;
        rect.top += dy;
        rect.bottom = rect.top + extent.cy;
    } else {
        rect.bottom = rect.top + extent.cy;
    }
    switch (style & SS_TYPEMASK) {
    case SS_CENTER: {
        int dx = (rect.Width() - extent.cx) / 2;
        rect.left += dx;
        rect.right = rect.left + extent.cx;
        break;
    }
    case SS_RIGHT:
        rect.left = rect.right - extent.cx;
        break;
    default:
        rect.right = rect.left + extent.cx;
        break;
    }
    SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER);
}

void CStringButton::SetDefaultCursor()
{
    if (m_linkCursor)
        return;
    char path[MAX_PATH + 32] = {0};
    UINT n = ::GetWindowsDirectoryA(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    lstrcatA(path, "\\winhlp32.exe");
    HMODULE module = ::LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return;
    HCURSOR hand = ::LoadCursorA(module, MAKEINTRESOURCEA(106));
    if (hand)
        m_linkCursor = (HCURSOR)::CopyIcon((HICON)hand);
    ::FreeLibrary(module);
}

BOOL CStringButton::PreTranslateMessage(MSG* pMsg)
{
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.RelayEvent(pMsg);
    return CStatic::PreTranslateMessage(pMsg);
}

HBRUSH CStringButton::CtlColor(CDC* pDC, UINT nCtlColor)
{
    if (m_hovering)
        pDC->SetTextColor(m_hoverColour);
    else if (m_visited)
        pDC->SetTextColor(m_visitedColour);
    else
        pDC->SetTextColor(m_linkColour);
    pDC->SetBkMode(TRANSPARENT);
    return (HBRUSH)::GetStockObject(NULL_BRUSH);
}

BOOL CStringButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_linkCursor) {
        ::SetCursor(m_linkCursor);
        return TRUE;
    }
    return FALSE;
}

void CStringButton::OnMouseMove(UINT nFlags, CPoint point)
{
    CStatic::OnMouseMove(nFlags, point);
    const UINT redraw = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;
    if (!m_hovering) {
        m_hovering = true;
        RedrawWindow(nullptr, nullptr, redraw);
        SetCapture();
        return;
    }
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(point))
        return;
    m_hovering = false;
    ::ReleaseCapture();
    RedrawWindow(nullptr, nullptr, redraw);
}

void CStringButton::OnCaptureChanged(CWnd* pWnd)
{
    // Losing the capture to another window (a click that opens the link,
    // a switch to another program) ends the hover too; otherwise the link
    // would keep the hover colour until the mouse passed over it again.
    CStatic::OnCaptureChanged(pWnd);
    if (m_hovering && pWnd != this) {
        m_hovering = false;
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

void CStringButton::SetLinkText(const CString& link)
{
    m_linkText = link;
    if (::IsWindow(m_hWnd)) {
        SetWindowText(link);
        PositionWindow();
        if (m_toolTip.GetSafeHwnd()) {
            CRect rect;
            GetClientRect(&rect);
            TOOLINFOA ti = {};
            ti.cbSize = TTTOOLINFOA_V2_SIZE;
            ti.hwnd = m_hWnd;
            ti.uId = kToolId;
            ti.rect = rect;
            m_toolTip.SendMessage(TTM_NEWTOOLRECTA, 0, (LPARAM)&ti);
            m_toolTip.UpdateTipText(m_linkText, this, kToolId);
        }
    }
}

void CStringButton::SetColours(COLORREF link, COLORREF visited, COLORREF hover)
{
    m_linkColour = link;
    m_visitedColour = visited;
    m_hoverColour = hover == (COLORREF)-1 ? ::GetSysColor(COLOR_HIGHLIGHT) : hover;
    if (::IsWindow(m_hWnd))
        Invalidate();
}

void CStringButton::SetVisited(bool visited)
{
    m_visited = visited;
    if (::IsWindow(m_hWnd))
        Invalidate();
}

void CStringButton::SetLinkCursor(HCURSOR cursor)
{
    if (m_linkCursor)
        ::DestroyCursor(m_linkCursor);
    m_linkCursor = cursor ? (HCURSOR)::CopyIcon((HICON)cursor) : nullptr;
    if (!m_linkCursor)
        SetDefaultCursor();
}

void CStringButton::SetUnderline(bool underline)
{
    m_underline = underline;
    if (::IsWindow(m_hWnd)) {
        ApplyFont();
        PositionWindow();
    }
}

void CStringButton::SetAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    PositionWindow();
}

void CStringButton::SetToolTipMaxWidth(int width)
{
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.SetMaxTipWidth(width);
}

CString CStringButton::HyperlinkErrorText(int result)
{
    const char* why;
    switch (result) {
    case 0: why = "The operating system is out of memory or resources."; break;
    case SE_ERR_PNF: why = "The specified path was not found."; break;
    case SE_ERR_FNF: why = "The specified file was not found."; break;
    case ERROR_BAD_FORMAT: why = "The file is not a valid program."; break;
    case SE_ERR_ACCESSDENIED: why = "Access to the file was denied."; break;
    case SE_ERR_ASSOCINCOMPLETE: why = "The file name association is incomplete or invalid."; break;
    case SE_ERR_DDEBUSY:
    case SE_ERR_DDEFAIL:
    case SE_ERR_DDETIMEOUT: why = "The program that opens the link did not answer."; break;
    case SE_ERR_DLLNOTFOUND: why = "A library that is needed was not found."; break;
    case SE_ERR_NOASSOC: why = "No program is associated with this kind of link."; break;
    case SE_ERR_OOM: why = "There is not enough memory to open the link."; break;
    case SE_ERR_SHARE: why = "A sharing violation occurred."; break;
    default: why = "An unknown error occurred."; break;
    }
    return CString("Unable to open hyperlink:\n\n") + why;
}

bool CStringButton::OpenLink(int showCommand)
{
    HWND owner = ::GetParent(m_hWnd);
    const INT_PTR result = (INT_PTR)::ShellExecuteA(owner, "open", m_linkText, nullptr, nullptr, showCommand);
    if (result > 32)
        return true;
    CSystemBoxGuard guard(owner);
    ::MessageBoxA(owner, HyperlinkErrorText((int)result), nullptr, MB_OK | MB_ICONEXCLAMATION);
    return false;
}
