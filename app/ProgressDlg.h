#pragma once
// The small modal dialog that follows a conversion or an analysis running on
// another thread. It is driven only by the status messages its owner passes
// on, and ends with IDOK on success and IDCANCEL on failure or cancel.
#include "app/ProgressCodes.h"
#include "framework/Controls.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "resources/resource.h"

// What the dialog needs of the window that runs it (the transport panel).
class IProgressOwner {
public:
    // The Cancel button: ask the running analysis to stop.
    virtual void CancelAnalysis() = 0;
    // Called when an analysis ended as cancelled, so the next run starts clear.
    virtual void ResetCancelEvent() = 0;

protected:
    ~IProgressOwner() = default;
};

class CProgressDlg : public CDialog {
public:
    enum { IDD = IDD_PROGRESS };

    CProgressDlg(CWnd* pParent, IProgressOwner* owner);

    // Bar position (0..100 expected, passed on as given) and the status text.
    bool SetPos(int pos);
    void ShowCancel();
    void SetStatusText(const CString& text) { m_statusText = text; }
    const CString& GetStatusText() const { return m_statusText; }
    // The run the next DoModal follows (see RunCode): messages of any other
    // run are ignored. The engine's percentages, which name no run, count
    // for an analysis.
    void SetRun(unsigned int run) { m_run = run; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Enter and Escape never end the dialog: only the status codes do.
    void OnOK() override;
    void OnCancel() override;

    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnCancelButton();
    afx_msg LRESULT OnAnalysisProgress(WPARAM code, LPARAM value);
    afx_msg LRESULT OnAnalysisNoEngine(WPARAM code, LPARAM value);
    afx_msg LRESULT OnCdRipStatus(WPARAM code, LPARAM value);
    afx_msg LRESULT OnDecodeStatus(WPARAM code, LPARAM value);
    afx_msg LRESULT OnDecodeResult(WPARAM code, LPARAM value);
    afx_msg LRESULT OnSongReadStatus(WPARAM code, LPARAM value);
    DECLARE_MESSAGE_MAP()

private:
    // Acts on a message of this dialog's run.
    void Take(ProgressSource source, WPARAM code, LPARAM value);
    void Apply(const ProgressAction& action);

    IProgressOwner* m_owner;
    unsigned int m_run;
    bool m_cancelShown;
    // Set once a code has ended this run; later codes of the run are lost.
    bool m_ending;
    // The Cancel button was pressed during this run.
    bool m_cancelAsked;
    int m_dragX;
    int m_dragY;
    CProgressCtrl m_bar;
    CString m_statusText;
    CString m_shownText; // what the status line shows now
};
