#include "app/SmallDialogs.h"

#include "app/KestrixApp.h"
#include "app/LangText.h"
#include "app/MessageBoxDemo.h"
#include "app/SmallDialogRules.h"
#include "app/WaveOut.h"
#include "framework/DataExchange.h"
#include "resources/resource.h"

namespace {
const char kProductTitle[] = "Quorva Plindor";

void SetItemText(CWnd* dlg, int id, int text) { dlg->SetDlgItemText(id, LangText(text)); }
} // namespace

// --- Confirmation ---

CTextDlg::CTextDlg(CWnd* pParent) : CDialog(IDD_CONFIRM_TEXT, pParent) {}

BOOL CTextDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetItemText(this, IDOK, 99);
    SetItemText(this, IDCANCEL, 100);
    return TRUE;
}

void CTextDlg::DoDataExchange(CDataExchange* pDX) { DDX_Text(pDX, IDC_CONFIRM_TEXT, m_text); }

// --- Transpose ---

BEGIN_MESSAGE_MAP(CTransposeDlg, CDialog)
ON_BN_CLICKED(IDC_TRANSPOSE_PLUS, OnPlus)
ON_BN_CLICKED(IDC_TRANSPOSE_MINUS, OnMinus)
ON_WM_SIZE()
END_MESSAGE_MAP()

CTransposeDlg::CTransposeDlg(CWnd* pParent) : CDialog(IDD_TRANSPOSE, pParent), m_semitones(0) {}

BOOL CTransposeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetItemText(this, IDOK, 101);
    SetItemText(this, IDCANCEL, 102);
    SetItemText(this, IDC_TRANSPOSE_LABEL, 104);
    SetItemText(this, IDC_TRANSPOSE_GROUP, 103);
    SetWindowText(LangText(105));
    AttachDialogBanner(m_banner, this, IDR_MAINFRAME, CString());
    UpdateData(FALSE);
    return TRUE;
}

void CTransposeDlg::DoDataExchange(CDataExchange* pDX) { DDX_Text(pDX, IDC_TRANSPOSE_VALUE, m_semitones); }

void CTransposeDlg::Step(int step)
{
    if (!UpdateData(TRUE))
        return;
    m_semitones = StepTranspose(m_semitones, step);
    UpdateData(FALSE);
}

void CTransposeDlg::OnPlus() { Step(1); }
void CTransposeDlg::OnMinus() { Step(-1); }

void CTransposeDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (!IsTransposeAccepted(m_semitones)) {
        ShowMessageBox(LangText(73), LangText(124), false, this);
        return;
    }
    EndDialog(IDOK);
}

void CTransposeDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (m_banner.GetSafeHwnd())
        m_banner.UpdateSize();
}

// --- Settings ---

BEGIN_MESSAGE_MAP(COptionsDlg, CDialog)
ON_WM_SIZE()
END_MESSAGE_MAP()

COptionsDlg::COptionsDlg(CWnd* pParent)
    : CDialog(IDD_OPTIONS, pParent), m_openingDevice(0), m_chosenDevice(-1), m_rows(0), m_seconds(0)
{
}

void COptionsDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_SOUND_CARDS, m_devices);
    DDX_Control(pDX, IDC_VIEW_BAR_COUNT, m_viewBarCount);
    DDX_Control(pDX, IDC_SHOW_QUICKSTART, m_showQuickStart);
    DDX_Text(pDX, IDC_ROWS_PER_PAGE, m_rows);
    DDX_Text(pDX, IDC_ROW_SECONDS, m_seconds);
}

BOOL COptionsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    static const struct {
        int id, text;
    } texts[] = {{IDC_SOUND_GROUP, 92}, {IDC_VIEW_GROUP, 93}, {IDC_ROW_SECONDS_LABEL, 95}, {IDC_ROWS_LABEL, 96},
                 {IDOK, 91},           {IDCANCEL, 90},      {IDC_VIEW_BAR_COUNT, 97},    {IDC_SHOW_QUICKSTART, 134}};
    for (const auto& t : texts)
        SetItemText(this, t.id, t.text);
    SetWindowText(LangText(108));
    AttachDialogBanner(m_banner, this, IDR_MAINFRAME, kProductTitle);

    {
        CWaveOut devices(m_hWnd);
        devices.EnumDevices();
        for (int i = 0; i < devices.GetDeviceCount(); ++i)
            m_devices.AddString(devices.GetDeviceName(i));
    }
    CKestrixApp* app = GetKestrixApp();
    m_openingDevice = app ? app->GetSoundCard() : 0;
    if (m_openingDevice >= 0)
        m_devices.SetCurSel(m_openingDevice);
    m_viewBarCount.SetCheck(app && app->GetViewBarCount() ? 1 : 0);
    m_showQuickStart.SetCheck(app && app->IsQuickStartShown() ? 1 : 0);
    UpdateData(FALSE);
    return TRUE;
}

void COptionsDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    m_chosenDevice = m_devices.GetCurSel();
    if (m_chosenDevice != m_openingDevice) {
        CTextDlg confirm(this);
        confirm.m_text = LangText(89);
        if (confirm.DoModal() != IDOK)
            return;
    }
    if (!IsRowSecondsAccepted(m_seconds)) {
        ShowMessageBox(LangText(65), LangText(122), false, this);
        return;
    }
    if (!IsRowsPerPageAccepted(m_rows)) {
        ShowMessageBox(LangText(66), LangText(122), false, this);
        return;
    }
    if (CKestrixApp* app = GetKestrixApp()) {
        app->SetViewBarCount(m_viewBarCount.GetCheck() == BST_CHECKED);
        app->SetShowQuickStart(m_showQuickStart.GetCheck() == BST_CHECKED);
    }
    EndDialog(IDOK);
}

void COptionsDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (m_banner.GetSafeHwnd())
        m_banner.UpdateSize();
}
