#include "app/AboutDlg.h"

#include <cstring>

#include "app/InstallFolderWin.h"
#include "app/KestrixApp.h"
#include "framework/DataExchange.h"
#include "resources/resource.h"

namespace {
const char kProductTitle[] = "Quorva Plindor";
const char kMakerWebAddress[] = "http://quorva.example/";
} // namespace

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
ON_WM_SIZE()
ON_BN_CLICKED(IDC_ABOUT_LINK, OnLinkClicked)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg(CWnd* pParent) : CDialog(IDD_ABOUTBOX, pParent) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ABOUT_LINK, m_link);
}

CString CAboutDlg::BuildVersionsText(const CString& header, const std::vector<CString>& files)
{
    CString text = header + "\r\n\r\n";
    for (const CString& file : files)
        text += file + ":\t\t" + GetFileVersionString(file) + "\r\n";
    return text;
}

CString CAboutDlg::ProgramFileName()
{
    char path[256] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    path[sizeof path - 1] = 0;
    const char* slash = strrchr(path, '\\');
    return CString(slash ? slash + 1 : path);
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    AttachDialogBanner(m_banner, this, IDR_MAINFRAME, kProductTitle);
    AppInstallFolder().GetNormalised(); // reports an empty registry value

    CKestrixApp* app = GetKestrixApp();
    const CString header = app ? app->GetLangString(42) : CString();
    SetDlgItemText(IDC_ABOUT_VERSIONS,
                   BuildVersionsText(header, {ProgramFileName(), CString("Zumbrel.dll"), CString("QuorvaSound.dll")}));
    SetDlgItemText(IDC_ABOUT_TITLE, CString(kProductTitle) + " " + m_versionInfo.GetFileVersion());
    m_link.SetLinkText(kMakerWebAddress);
    UpdateData(FALSE);
    return TRUE;
}

void CAboutDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (m_banner.GetSafeHwnd())
        m_banner.UpdateSize();
}

void CAboutDlg::OnLinkClicked() { m_link.OpenLink(SW_SHOWMINIMIZED); }
