#include "app/ProgressDlg.h"

#include "app/LangText.h"
#include "app/MessageBoxDemo.h"
#include "framework/App.h"
#include "shared/Messages.h"

BEGIN_MESSAGE_MAP(CProgressDlg, CDialog)
    ON_WM_SHOWWINDOW()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_BN_CLICKED(IDC_PROGRESS_CANCEL, OnCancelButton)
    ON_MESSAGE(WM_ANALYSIS_PROGRESS, OnAnalysisProgress)
    ON_MESSAGE(WM_ANALYSIS_NO_ENGINE, OnAnalysisNoEngine)
    ON_MESSAGE(WM_CD_RIP_STATUS, OnCdRipStatus)
    ON_MESSAGE(WM_DECODE_STATUS, OnDecodeStatus)
    ON_MESSAGE(WM_DECODE_RESULT, OnDecodeResult)
    ON_MESSAGE(WM_SONG_READ_STATUS, OnSongReadStatus)
END_MESSAGE_MAP()

CProgressDlg::CProgressDlg(CWnd* pParent, IProgressOwner* owner)
    : CDialog(IDD, pParent), m_owner(owner), m_run(0), m_cancelShown(false), m_ending(false), m_cancelAsked(false),
      m_dragX(0), m_dragY(0)
{
}

void CProgressDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS_BAR, m_bar);
    DDX_Text(pDX, IDC_PROGRESS_TEXT, m_statusText);
}

BOOL CProgressDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The template starts with the button hidden; each run starts afresh.
    m_cancelShown = false;
    m_ending = false;
    m_cancelAsked = false;
    SetDlgItemText(IDC_PROGRESS_CANCEL, LangText(106));
    m_bar.SetRange(0, 100);
    m_shownText = m_statusText; // placed by the data exchange
    return TRUE;
}

void CProgressDlg::OnOK() {}

void CProgressDlg::OnCancel()
{
    // Escape or the close box act as the Cancel button while it is shown.
    if (m_cancelShown)
        OnCancelButton();
}

bool CProgressDlg::SetPos(int pos)
{
    // A conversion posts thousands of positions, most of them repeats: only
    // a change is drawn, so the dialog does not slow the conversion down.
    if (GetSafeHwnd()) {
        if (m_bar.GetPos() != pos)
            m_bar.SetPos(pos);
        if (m_shownText != m_statusText) {
            SetDlgItemText(IDC_PROGRESS_TEXT, m_statusText);
            m_shownText = m_statusText;
        }
    }
    return true;
}

void CProgressDlg::ShowCancel()
{
    if (!m_cancelShown) {
        m_cancelShown = true;
        if (CWnd* button = GetDlgItem(IDC_PROGRESS_CANCEL))
            button->ShowWindow(SW_SHOW);
    }
}

void CProgressDlg::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CDialog::OnShowWindow(bShow, nStatus);
    if (!bShow)
        return;
    CRect own;
    GetWindowRect(&own);
    CWnd* main = AfxGetMainWnd();
    if (main && main->GetSafeHwnd() && main != this) {
        CRect frame;
        main->GetWindowRect(&frame);
        int left = (frame.left + frame.right) / 2 - own.Width() / 2;
        int top = (frame.top + frame.bottom) / 2 - own.Height() / 2;
        SetWindowPos(nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        CenterWindow();
    }
    // No hiding of Cancel here: the run's first message may have shown it
    // before the dialog came up (each run starts with it hidden).
}

void CProgressDlg::OnLButtonDown(UINT, CPoint point)
{
    m_dragX = point.x;
    m_dragY = point.y;
    SetCapture();
}

void CProgressDlg::OnMouseMove(UINT nFlags, CPoint point)
{
    if ((nFlags & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_SHIFT | MK_CONTROL)) != MK_LBUTTON)
        return;
    CRect own;
    GetWindowRect(&own);
    SetWindowPos(nullptr, own.left + point.x - m_dragX, own.top + point.y - m_dragY, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CProgressDlg::OnLButtonUp(UINT, CPoint)
{
    ReleaseCapture();
}

void CProgressDlg::OnCancelButton()
{
    // The dialog stays: the worker ends it once the engine has stopped.
    m_cancelAsked = true;
    if (m_owner)
        m_owner->CancelAnalysis();
}

void CProgressDlg::Apply(const ProgressAction& action)
{
    if (m_ending)
        return;
    if (action.showCancel)
        ShowCancel();
    if (action.statusText)
        m_statusText = LangText(action.statusText);
    if (action.setBar || action.statusText)
        SetPos(action.setBar ? action.bar : m_bar.GetPos());
    if (action.resetCancelEvent && m_owner)
        m_owner->ResetCancelEvent();
    if (action.end == ProgressEnd::Continue)
        return;
    // Codes that arrive while the message box is up belong to a run that
    // is over.
    m_ending = true;
    if (action.messageText)
        ShowMessageBox(LangText(action.messageText), LangText(122), false, this);
    EndDialog(action.end == ProgressEnd::Ok ? IDOK : IDCANCEL);
}

void CProgressDlg::Take(ProgressSource source, WPARAM code, LPARAM value)
{
    const unsigned int run = RunOf(code);
    const bool engine = run == 0 && (source == ProgressSource::Analysis || source == ProgressSource::NoEngine);
    if (run != m_run && !engine)
        return; // a finished run's late word
    Apply(DecideProgressAction(source, CodeOf(code), (int)value, m_cancelAsked));
}

LRESULT CProgressDlg::OnAnalysisProgress(WPARAM code, LPARAM value)
{
    Take(ProgressSource::Analysis, code, value);
    return 0;
}

LRESULT CProgressDlg::OnAnalysisNoEngine(WPARAM code, LPARAM value)
{
    Take(ProgressSource::NoEngine, code, value);
    return 0;
}

LRESULT CProgressDlg::OnCdRipStatus(WPARAM code, LPARAM value)
{
    Take(ProgressSource::CdRip, code, value);
    return 0;
}

LRESULT CProgressDlg::OnDecodeStatus(WPARAM code, LPARAM value)
{
    Take(ProgressSource::Decode, code, value);
    return 0;
}

LRESULT CProgressDlg::OnDecodeResult(WPARAM code, LPARAM value)
{
    Take(ProgressSource::DecodeResult, code, value);
    return 0;
}

LRESULT CProgressDlg::OnSongReadStatus(WPARAM code, LPARAM value)
{
    Take(ProgressSource::SongRead, code, value);
    return 0;
}
