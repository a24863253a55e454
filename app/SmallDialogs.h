#pragma once
// The modal Settings, Transpose and confirmation dialogs. Settings and
// Transpose carry the side banner on their left edge.
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "uikit/KCSideBannerWnd.h"

// Asks OK or Cancel for one line of text.
class CTextDlg : public CDialog {
public:
    explicit CTextDlg(CWnd* pParent = nullptr);
    CString m_text;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};

// The transposition in semitones, -11..11.
class CTransposeDlg : public CDialog {
public:
    explicit CTransposeDlg(CWnd* pParent = nullptr);
    void SetSemitones(int semitones) { m_semitones = semitones; }
    int GetSemitones() const { return m_semitones; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    afx_msg void OnPlus();
    afx_msg void OnMinus();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    void Step(int step);

    int m_semitones;
    CKCSideBannerWnd m_banner;
};

// The output device, the page layout and two check boxes.
class COptionsDlg : public CDialog {
public:
    explicit COptionsDlg(CWnd* pParent = nullptr);
    void SetSeconds(int seconds) { m_seconds = seconds; }
    int GetSeconds() const { return m_seconds; }
    void SetRows(int rows) { m_rows = rows; }
    int GetRows() const { return m_rows; }
    // The chosen device; -1 when none is selected.
    int GetSoundCard() const { return m_chosenDevice; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    int m_openingDevice;
    int m_chosenDevice;
    CComboBox m_devices;
    CKCSideBannerWnd m_banner;
    int m_rows;
    int m_seconds;
    CButton m_viewBarCount;
    CButton m_showQuickStart;
};
