#include "app/ChooseLanguageDlg.h"

#include "app/KestrixApp.h"
#include "resources/resource.h"

BEGIN_MESSAGE_MAP(CChooseLanguageDlg, CDialog)
ON_WM_SIZE()
END_MESSAGE_MAP()

CChooseLanguageDlg::CChooseLanguageDlg(CWnd* pParent) : CDialog(IDD_CHOOSE_LANGUAGE, pParent), m_selection(0) {}

BOOL CChooseLanguageDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SubclassDlgItem(IDC_LANGUAGE_LIST, this);
    if (CKestrixApp* app = GetKestrixApp())
        for (const CString& name : app->GetLanguageNames())
            m_list.AddString(name);
    m_list.SetCurSel(0);
    // The template's list is one row high: make room for every language.
    CRect r;
    m_list.GetWindowRect(&r);
    const int rows = m_list.GetCount() > 0 ? m_list.GetCount() : 1;
    const int item = (int)m_list.SendMessage(CB_GETITEMHEIGHT, 0, 0);
    const int field = (int)m_list.SendMessage(CB_GETITEMHEIGHT, (WPARAM)-1, 0);
    m_list.SetWindowPos(nullptr, 0, 0, r.Width(), field + 8 + rows * item, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    AttachDialogBanner(m_banner, this, IDR_MAINFRAME, CString());
    UpdateData(FALSE);
    return TRUE;
}

void CChooseLanguageDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (m_banner.GetSafeHwnd())
        m_banner.UpdateSize();
}

void CChooseLanguageDlg::OnOK()
{
    m_selection = m_list.GetCurSel();
    if (m_selection < 0)
        m_selection = 0;
    CDialog::OnOK();
}
