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
class CGChordDlg;
class CHtmlDynDialog;
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

    // Start-up: the splash window and its thread, the quick-start page.
    // The quick-start dialog's view navigates to path when it exists.
    void NavigateTutorial(const CString& path);
    // Installation folder + text 135 + "\TutorialStart.html".
    CString GetTutorialPath();
    CHtmlDynDialog* GetTutorialDialog() const;
    // Off: the start-up thread does not pause between its steps.
    void SetStartupPauses(bool on) { m_startupPauses = on; }
    // Start-up work that must run on the user-interface thread, in the
    // order the start-up thread asks for it.
    enum StartupStep { kStepPlaceToolsPanel = 1, kStepChordDialog, kStepQuickStart };
    void RunStartupStep(int step);

    // IDocHost.
    HWND GetMainWindow() override { return m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr; }
    CWnd* GetViewParent() override { return nullptr; }
    IDocPanel* GetControlPanel() override;
    bool IsActiveDocument(const CDocument* doc) override;
    CControlDlg* GetControlDlg();
    int GetToolsMode() override;
    void SetChordOptionsShown(bool shown) override;
    void ShowChordDiagram(bool show) override;
    void ActivateView(CView* view) override;
    void OnDocumentClosed() override
    {
        TranslateMainMenu();
        RefreshPanels();
    }
    void RefreshPanels() override;
    void ShowMessage(const CString& text, const CString& caption) override;
    void SetToolsPanelText(const CString& text) override;
    void ShowChordName(const CString& name) override;
    void ShowToolWindows(bool show, bool withChordDiagram) override;
    // The last texts the views handed on (what the windows show).
    CString GetToolsPanelText() const { return m_toolsPanelText; }
    CString GetShownChordName() const { return m_shownChordName; }
    // The chord diagram window; null before start-up made it.
    CGChordDlg* GetChordDiagramDlg() const { return m_pChordDialog; }
    // The tools panel; null until start-up made it.
    CViewDlg* GetToolsPanel() const;

    // Opens a file with the shell's "open" (the help file, the quick-start
    // page without its own window); false when the shell could not.
    virtual bool OpenInShell(const CString& path, int showCommand);

    afx_msg void OnAppAbout();
    afx_msg void OnFileNew();
    // File > Open lists songs beside documents.
    afx_msg void OnFileOpen();
    // Songs go the transport panel's road; before start-up has made the
    // panel and the note names, the name waits until it has.
    CDocument* OpenDocumentFile(LPCSTR lpszFileName) override;
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
    // Start-up steps 11 to 13.
    void CreateTutorialDialog(CWnd* frame);
    // Without a quick-start page of its own: the dialog goes, and a user who
    // wants the page at start-up is told and gets it in the shell's browser.
    void DropTutorialDialog();
    void RunSplash(CWnd* frame);
    static UINT StartupThreadProc(LPVOID param);
    // The chord diagram dialog loads its chord shapes and fills its chord
    // list; nothing while there is no such dialog.
    void PrepareChordDialog();
    // Places a tool window (screen coordinates, top of the z-order) and shows it.
    static void PlaceToolWindow(CWnd* window, int x, int y, bool show);

    CLanguageTable m_languages;
    CEngineLoader* m_pEngineLoader;
    // The tools panel and the quick-start page come with their own windows.
    CWnd* m_pToneDialog;
    CGChordDlg* m_pChordDialog;
    CWnd* m_pTutorialDialog;
    int m_soundCard;
    bool m_menuHookInstalled;
    CString m_toolsPanelText;
    CString m_shownChordName;
    bool m_startupPauses;
    bool m_startupDone = false;
    std::vector<CString> m_earlyOpens;
    CTimeStretchDlg* m_pTimeStretchDlg = nullptr;

    DECLARE_MESSAGE_MAP()
};

CKestrixApp* GetKestrixApp();
