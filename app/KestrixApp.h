#pragma once
// The program's application object: start-up, the language table, the
// engine binding, the application commands and the accessors through which
// the rest of the program reaches texts, settings and the active document.
#include <vector>

#include "app/DocHost.h"
#include "app/LanguageTable.h"
#include "framework/Frame.h"

class CControlDlg;
class CEngineLoader;
class CKestrixDoc;
class CMainFrame;
class CTimeStretchDlg;
class CViewDlg;

class CKestrixApp : public CFrameApp, public IDocHost {
public:
    CKestrixApp();
    ~CKestrixApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
    void HtmlHelp(DWORD_PTR dwData, UINT nCmd = 0x000F) override;

    // Accessors.
    CString GetLangString(int id) override;
    std::vector<CString> GetLanguageNames() const { return m_languages.GetLanguageNames(); }
    int GetLanguageIndex() const { return m_languages.current; }
    CString GetLanguageName() const { return m_languages.GetCurrentName(); }
    int GetSetting(const char* key) override;
    void WriteSetting(const char* key, int value);
    int GetSoundCard() override { return m_soundCard; }
    bool GetViewBarCount() override { return GetSetting("viewBarCount") == 1; }
    bool IsQuickStartShown() { return GetSetting("showQuickStart") == 1; }
    int GetLengthPerRow() { return GetSetting("lengthPerRow"); }
    int GetRowsPerPage() { return GetSetting("rowsPerPage"); }
    void SetViewBarCount(bool on);
    void SetShowQuickStart(bool on) { WriteSetting("showQuickStart", on ? 1 : 0); }
    CString GetInstallFolder() override;
    CKestrixDoc* GetActiveDoc();
    bool ShowLeadSheetView();
    bool ShowChordView();
    bool ShowBassView();
    void TranslateMainMenu();
    void SetLanguage(const char* name);
    bool GetActiveDocInfo(float& tuning, CString& key);
    CEngineLoader* GetEngineLoader() const { return m_pEngineLoader; }
    CLanguageTable& GetLanguageTable() { return m_languages; }

    // Deletes the folder's stale temporary audio files (names holding
    // "tempwavfile" in any case); returns how many went.
    static int DeleteStaleTempFiles(const CString& folder);

    // IDocHost.
    HWND GetMainWindow() override { return m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr; }
    CWnd* GetViewParent() override { return nullptr; }
    IDocPanel* GetControlPanel() override;
    CControlDlg* GetControlDlg();
    int GetToolsMode() override;
    void SetChordOptionsShown(bool shown) override;
    void ShowChordDiagram(bool) override {}
    void ActivateView(CView* view) override;
    void OnDocumentClosed() override { TranslateMainMenu(); }
    void ShowMessage(const CString& text, const CString& caption) override;
    void SetToolsPanelText(const CString& text) override;
    void ShowChordName(const CString& name) override;
    void ShowToolWindows(bool show, bool withChordDiagram) override;
    // The last texts the views handed on (what the windows show).
    CString GetToolsPanelText() const { return m_toolsPanelText; }
    CString GetShownChordName() const { return m_shownChordName; }
    // The tools panel; null until start-up made it.
    CViewDlg* GetToolsPanel() const;

    afx_msg void OnAppAbout();
    afx_msg void OnFileNew();
    afx_msg void OnSettings();
    afx_msg void OnToggleToolsPanel();
    afx_msg void OnToggleControlDlg();
    afx_msg void OnToggleChordDiagram();
    afx_msg void OnToggleTutorial();
    afx_msg void OnUpdateToneDialog(CCmdUI* pCmdUI);
    afx_msg void OnUpdateControlDialog(CCmdUI* pCmdUI);
    afx_msg void OnUpdateChordDialog(CCmdUI* pCmdUI);
    afx_msg void OnUpdateTutorial(CCmdUI* pCmdUI);
    afx_msg void OnUpdateRecentFile(CCmdUI* pCmdUI);

private:
    // Start-up: the tools panel (placed and shown) and the hidden bitmap window.
    void CreateToolsPanel(CWnd* frame);
    void CreateTimeStretchWindow(CWnd* frame);
    // Settings: every open document takes the device and the layout once.
    void ApplySettings(int rowMs, int rows);

    // Check and enable state of a tool-window toggle.
    void UpdateToggle(CCmdUI* pCmdUI, CWnd* window);

    CLanguageTable m_languages;
    CEngineLoader* m_pEngineLoader;
    // The tool windows come with their own windows; none exists yet.
    CWnd* m_pToneDialog;
    CWnd* m_pChordDialog;
    CWnd* m_pTutorialDialog;
    int m_soundCard;
    bool m_menuHookInstalled;
    CString m_toolsPanelText;
    CString m_shownChordName;
    CTimeStretchDlg* m_pTimeStretchDlg = nullptr;

    DECLARE_MESSAGE_MAP()
};

CKestrixApp* GetKestrixApp();
