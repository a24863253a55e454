#include "app/TimeStretchDlg.h"

#include "app/DocHost.h"
#include "app/SkinBitmapWin.h"
#include "resources/resource.h"

BEGIN_MESSAGE_MAP(CTimeStretchDlg, CDialog)
ON_WM_PAINT()
END_MESSAGE_MAP()

CTimeStretchDlg::CTimeStretchDlg(CWnd* pParent) { Create(IDD_TIME_STRETCH, pParent); }

bool CTimeStretchDlg::LoadBitmapFile(const char* name, CBitmap& bitmap, CPalette* palette)
{
    // The checked reader: a damaged header is refused before any pixel is read.
    CPalette scratch;
    return LoadSkinBitmapReported(GetDocHost()->GetInstallFolder() + name, bitmap, palette ? *palette : scratch,
                                  palette != nullptr);
}

BOOL CTimeStretchDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!LoadBitmapFile("mainBmp.bmp", m_bitmap, &m_palette)) {
        PostQuitMessage(0);
        return FALSE;
    }
    BITMAP bm = {};
    m_bitmap.GetBitmap(&bm);
    SetWindowPos(nullptr, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

void CTimeStretchDlg::OnPaint()
{
    CPaintDC dc(this);
    if (!m_bitmap.GetSafeHandle())
        return;
    BITMAP bm = {};
    m_bitmap.GetBitmap(&bm);
    CDC source;
    source.CreateCompatibleDC(&dc);
    CBitmap* old = source.SelectObject(&m_bitmap);
    dc.BitBlt(0, 0, bm.bmWidth, bm.bmHeight, &source, 0, 0, SRCCOPY);
    source.SelectObject(old);
}
