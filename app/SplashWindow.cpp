#include "app/SplashWindow.h"

#include "framework/App.h"
#include "resources/resource.h"
#include "shared/Messages.h"

namespace {
volatile LONG g_liveStatus = 0;

void DeleteStatus(CString* text)
{
    delete text;
    InterlockedDecrement(&g_liveStatus);
}
} // namespace

bool PostSplashStatus(HWND splash, const CString& text)
{
    CString* copy = new CString(text);
    InterlockedIncrement(&g_liveStatus);
    if (splash && ::PostMessageA(splash, WM_SPLASH_STATUS, (WPARAM)copy, 1))
        return true;
    DeleteStatus(copy);
    return false;
}

long LiveSplashStatusCount() { return InterlockedCompareExchange(&g_liveStatus, 0, 0); }

BEGIN_MESSAGE_MAP(CSplashWindow, CDialog)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_SPLASH_STATUS, OnSplashStatus)
ON_MESSAGE(WM_SPLASH_STEP, OnSplashStep)
END_MESSAGE_MAP()

CSplashWindow::CSplashWindow(CWnd* pParent)
    : CDialog(IDD_SPLASH, pParent), m_bitmapId(0), m_onShown(nullptr), m_onStep(nullptr), m_context(nullptr), m_stepContext(nullptr)
{
}

CSplashWindow::~CSplashWindow() = default;

void CSplashWindow::SetBitmap(int bitmapId)
{
    m_bitmapId = bitmapId;
    HBITMAP bmp = (HBITMAP)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, 0);
    BITMAP info = {};
    if (bmp) {
        ::GetObjectA(bmp, sizeof info, &info);
        ::DeleteObject(bmp);
    }
    m_textRect = CRect(40, info.bmHeight - 60, info.bmWidth, info.bmHeight - 40);
}

void CSplashWindow::SetStatusText(const CString& text)
{
    m_statusText = text;
    if (m_hWnd)
        InvalidateRect(&m_textRect, TRUE);
}

BOOL CSplashWindow::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_font.CreateFont(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "Verdana");
    // The template's dialog units give only about the picture's size.
    if (m_textRect.right > 0)
        SetWindowPos(nullptr, 0, 0, m_textRect.right, m_textRect.bottom + 40, SWP_NOMOVE | SWP_NOZORDER);
    CenterWindow();
    ShowWindow(SW_SHOW);
    UpdateWindow();
    // The thread starts only now, so the window is there for its first post.
    if (m_onShown && !m_onShown(m_context, m_hWnd))
        EndDialog(IDABORT);
    return TRUE;
}

BOOL CSplashWindow::OnEraseBkgnd(CDC*) { return TRUE; } // the picture covers it all

void CSplashWindow::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    HBITMAP bmp =
        (HBITMAP)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_bitmapId), IMAGE_BITMAP, 0, 0, 0);
    if (bmp) {
        BITMAP info = {};
        ::GetObjectA(bmp, sizeof info, &info);
        HDC mem = ::CreateCompatibleDC(dc);
        HGDIOBJ oldBmp = ::SelectObject(mem, bmp);
        HGDIOBJ oldFont = ::SelectObject(mem, (HFONT)m_font);
        ::SetBkMode(mem, TRANSPARENT);
        ::SetTextColor(mem, RGB(255, 255, 255));
        RECT text = m_textRect;
        ::DrawTextA(mem, m_statusText, m_statusText.GetLength(), &text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        ::BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, mem, 0, 0, SRCCOPY);
        ::SelectObject(mem, oldFont);
        ::SelectObject(mem, oldBmp);
        ::DeleteDC(mem);
        ::DeleteObject(bmp);
    }
    ::EndPaint(m_hWnd, &ps);
}

LRESULT CSplashWindow::OnSplashStatus(WPARAM wParam, LPARAM lParam)
{
    CString* text = reinterpret_cast<CString*>(wParam);
    if (lParam == 0) {
        if (text)
            DeleteStatus(text);
        EndDialog(IDOK);
    } else if (text) {
        SetStatusText(*text);
        DeleteStatus(text);
    }
    return 0;
}

LRESULT CSplashWindow::OnSplashStep(WPARAM wParam, LPARAM)
{
    if (m_onStep)
        m_onStep(m_stepContext, (int)wParam);
    return 0;
}

void CSplashWindow::PostNcDestroy()
{
    m_font.DeleteObject();
    CDialog::PostNcDestroy();
}
