#include "app/KestrixApp.h"

#include <commctrl.h>
#include <shlobj.h>

#include "app/ChildFrame.h"
#include "app/ChordNames.h"
#include "app/ControlDlg.h"
#include "app/ChooseLanguageDlg.h"
#include "app/AboutDlg.h"
#include "app/HtmlDynDialog.h"
#include "app/SplashWindow.h"
#include "app/InstallFolderWin.h"
#include "app/KestrixDoc.h"
#include "app/KestrixViews.h"
#include "app/LangText.h"
#include "app/LibraryLoaders.h"
#include "app/MainFrame.h"
#include "app/MessageBoxDemo.h"
#include "app/SmallDialogRules.h"
#include "app/SmallDialogs.h"
#include "app/SongFiles.h"
#include "app/TimeStretchDlg.h"
#include "app/ViewDlg.h"
#include "app/WaveOut.h"
#include "resources/resource.h"
#include "views/GChordDlg.h"
#include "shared/Messages.h"
#include "uikit/MenuXP.h"

namespace {
void ReportLanguageError(const char* text) { AfxMessageBox(text); }

// Chord and note names are the engine's.
CString EngineNoteName(int code)
{
    CKestrixApp* app = GetKestrixApp();
    CEngineLoader* engine = app ? app->GetEngineLoader() : nullptr;
    return engine && engine->IsLoaded() ? engine->GetNoteName(code) : CString();
}
} // namespace

BEGIN_MESSAGE_MAP(CKestrixApp, CFrameApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
ON_COMMAND(ID_FILE_NEW, OnFileNew)
ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
ON_COMMAND(ID_OPTIONS_SETTINGS, OnSettings)
ON_COMMAND(ID_VIEW_TONE_DIALOG, OnToggleToolsPanel)
ON_COMMAND(ID_VIEW_CONTROL_DIALOG, OnToggleControlDlg)
ON_COMMAND(ID_VIEW_CHORD_DIALOG, OnToggleChordDiagram)
ON_COMMAND(ID_VIEW_TUTORIAL, OnToggleTutorial)
ON_UPDATE_COMMAND_UI(ID_VIEW_TONE_DIALOG, OnUpdateToneDialog)
ON_UPDATE_COMMAND_UI(ID_VIEW_CONTROL_DIALOG, OnUpdateControlDialog)
ON_UPDATE_COMMAND_UI(ID_VIEW_CHORD_DIALOG, OnUpdateChordDialog)
ON_UPDATE_COMMAND_UI(ID_VIEW_TUTORIAL, OnUpdateTutorial)
ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFile)
END_MESSAGE_MAP()

namespace {
CKestrixApp* g_kestrixApp = nullptr;
}

CKestrixApp* GetKestrixApp() { return g_kestrixApp; }

CKestrixApp::CKestrixApp()
    : m_pEngineLoader(nullptr), m_pToneDialog(nullptr), m_pChordDialog(nullptr), m_pTutorialDialog(nullptr),
      m_soundCard(0), m_menuHookInstalled(false), m_startupPauses(true)
{
    g_kestrixApp = this;
    m_languages.SetReporter(&ReportLanguageError);
    EnableHtmlHelp();
    SetDocHost(this);
    SetLangTextTable(&m_languages);
}

CKestrixApp::~CKestrixApp()
{
    delete m_pEngineLoader;
    delete m_pChordDialog; // when start-up failed after making it
    SetDocHost(nullptr);
    SetLangTextTable(nullptr);
    if (g_kestrixApp == this)
        g_kestrixApp = nullptr;
}

int CKestrixApp::DeleteStaleTempFiles(const CString& folder)
{
    int deleted = 0;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(folder + "*.*", &fd);
    if (h == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        CString lower(fd.cFileName);
        lower.MakeLower();
        // The folder is part of the name: a bare name would delete in the
        // current directory instead.
        if (lower.Find("tempwavfile") >= 0 && DeleteFileA(folder + fd.cFileName))
            ++deleted;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return deleted;
}

BOOL CKestrixApp::InitInstance()
{
    // 1-2: installation folder and languages.
    const CString folder = AppInstallFolder().GetRaw();
    if (m_languages.Load(folder + "languages.txt")) {
        const int stored = GetSetting("defaultLanguage");
        if (stored == -1) {
            if (m_languages.GetLanguageCount() > 1) {
                CChooseLanguageDlg dlg;
                if (dlg.DoModal() != IDOK) {
                    PostQuitMessage(0);
                    return FALSE;
                }
                WriteSetting("defaultLanguage", dlg.GetSelection());
                m_languages.SelectIndex(dlg.GetSelection());
            } else if (m_languages.GetLanguageCount() == 1) {
                // Nothing selected would leave every text blank.
                m_languages.SelectIndex(0);
            }
        } else {
            m_languages.SelectIndex(stored);
        }
    } else {
        AfxMessageBox("Language file is corrupt or could not be found. Reinstall. Default language is used.");
    }

    // 3: stale temporary audio of an earlier run.
    DeleteStaleTempFiles(folder);

    // 4-5: common controls, the framework, OLE, profile and recent files.
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    CWinApp::InitInstance();
    CMenuXP::InstallHook();
    m_menuHookInstalled = true;
    if (!AfxOleInit()) {
        AfxMessageBox("The system's object services could not be started.");
        return FALSE;
    }
    LoadStdProfileSettings(4);

    // 6: the document template.
    AddDocTemplate(new CMultiDocTemplate(IDR_KESTRIXTYPE, RUNTIME_CLASS(CKestrixDoc), RUNTIME_CLASS(CChildFrame),
                                         RUNTIME_CLASS(CKestrixView)));

    // 7: the main frame.
    CMainFrame* frame = new CMainFrame;
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        if (frame->m_hWnd)
            frame->DestroyWindow();
        return FALSE;
    }
    m_pMainWnd = frame;
    POSITION pos = GetFirstDocTemplatePosition();
    while (pos)
        GetNextDocTemplate(pos)->SetFrameParent(frame);
    DoWaitCursor(1);
    frame->DragAcceptFiles();

    // 8: the command line opens the first, empty document. A file it names
    // is opened once the panel and the note names exist (below): its song
    // and chord names need them.
    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    CCommandLineInfo firstDoc = cmdInfo;
    if (firstDoc.m_nShellCommand == CCommandLineInfo::FileOpen)
        firstDoc.m_nShellCommand = CCommandLineInfo::FileNothing;
    if (!ProcessShellCommand(firstDoc)) {
        DoWaitCursor(-1);
        return FALSE;
    }
    frame->ShowWindow(SW_SHOWMAXIMIZED);
    frame->UpdateWindow();
    EnableShellOpen();
    // The shell refreshes every association on this notice: only when ours changed.
    if (RegisterShellFileTypes(FALSE))
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);

    // 9: output devices.
    {
        CWaveOut probe(frame->m_hWnd);
        probe.EnumDevices();
        if (probe.GetDeviceCount() > 0) {
            m_soundCard = GetSetting("soundCard");
            // A device that is gone (a removed USB device) is as none stored.
            if (m_soundCard < 0 || m_soundCard >= probe.GetDeviceCount()) {
                m_soundCard = 0;
                WriteSetting("soundCard", 0);
            }
        } else {
            m_soundCard = -1;
            ShowMessageBox(GetLangString(38), GetLangString(123), false, nullptr);
        }
    }

    // 10: defaults of missing settings.
    static const struct {
        const char* key;
        int value;
    } defaults[] = {{"lengthPerRow", 6000}, {"rowsPerPage", 7}, {"viewBarCount", 1}, {"showQuickStart", 1},
                    {"defaultMode", 0}};
    for (const auto& d : defaults)
        if (GetSetting(d.key) == -1)
            WriteSetting(d.key, d.value);

    // 11-13: the tool windows, then the splash while the start-up thread
    // works; the thread's steps load the chord shapes and place the windows.
    CreateToolsPanel(frame);
    m_pChordDialog = new CGChordDlg;
    if (!m_pChordDialog->Create(frame)) {
        delete m_pChordDialog;
        m_pChordDialog = nullptr;
    }
    CreateTutorialDialog(frame);
    RunSplash(frame);
    // The main window may have been closed under the splash.
    if (!m_pMainWnd || !m_pMainWnd->m_hWnd) {
        DoWaitCursor(-1);
        return FALSE;
    }

    // 14: the transport panel; it binds the conversion library.
    frame->CreateControlDlg();
    CControlDlg* panel = frame->GetControlDlg();
    // It has told the user and asked to quit; the message loop ends at
    // once. Nothing more may tell of the same file (the time-stretch window
    // reads the panel's face too).
    if (panel && panel->m_hWnd && !panel->IsReady()) {
        DoWaitCursor(-1);
        return TRUE;
    }

    // 15: the engine; all its messages go to the panel.
    m_pEngineLoader = new CEngineLoader(panel && panel->m_hWnd ? panel->m_hWnd : frame->m_hWnd, folder + "Zumbrel.dll");
    if (!m_pEngineLoader->IsLoaded()) {
        ShowMessageBox(GetLangString(39), GetLangString(122), false, nullptr);
        DoWaitCursor(-1);
        PostQuitMessage(0);
        return FALSE;
    }

    SetNoteNameSource(&EngineNoteName);

    // 16.
    CreateTimeStretchWindow(frame);
    DoWaitCursor(-1);

    // Documents asked for during start-up, the command line's first.
    m_startupDone = true;
    std::vector<CString> early;
    if (cmdInfo.m_nShellCommand == CCommandLineInfo::FileOpen)
        early.push_back(cmdInfo.m_strFileName);
    early.insert(early.end(), m_earlyOpens.begin(), m_earlyOpens.end());
    m_earlyOpens.clear();
    for (const CString& path : early)
        OpenDocumentFile(path);
    // One that did not open leaves the program as a plain start does.
    if (!early.empty() && AfxGetDocManager()->GetOpenDocumentCount() == 0)
        OnFileNew();
    return TRUE;
}

CDocument* CKestrixApp::OpenDocumentFile(LPCSTR lpszFileName)
{
    const CString path(lpszFileName ? lpszFileName : "");
    if (!m_startupDone) {
        // The panel and the note names do not exist yet.
        if (!path.IsEmpty())
            m_earlyOpens.push_back(path);
        return nullptr;
    }
    CControlDlg* panel = GetControlDlg();
    if (panel && panel->m_hWnd) {
        if (!panel->CheckUsableName(path))
            return nullptr;
        // A song goes the panel's road, into a document of its own when
        // there is none.
        if (panel->IsSongPath(path)) {
            if (!GetActiveDoc())
                OnFileNew();
            return panel->OpenSong(path) ? GetActiveDoc() : nullptr;
        }
    }
    return CFrameApp::OpenDocumentFile(lpszFileName);
}

void CKestrixApp::OnFileOpen()
{
    CString name;
    CControlDlg* panel = GetControlDlg();
    const CString songs = panel && panel->m_hWnd ? SoundFileFilterEntry(panel->GetExtensions()) : CString();
    if (!AfxGetDocManager()->DoPromptFileName(name, "Open", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, nullptr,
                                              songs.IsEmpty() ? nullptr : songs.GetString()))
        return;
    OpenDocumentFile(name);
}

int CKestrixApp::ExitInstance()
{
    SetNoteNameSource(nullptr);
    delete m_pEngineLoader;
    m_pEngineLoader = nullptr;
    auto drop = [](auto*& w) {
        if (w && w->m_hWnd)
            w->DestroyWindow();
        delete w;
        w = nullptr;
    };
    drop(m_pToneDialog);
    drop(m_pChordDialog);
    drop(m_pTutorialDialog);
    if (m_menuHookInstalled)
        CMenuXP::RemoveHook();
    m_menuHookInstalled = false;
    if (m_pTimeStretchDlg && m_pTimeStretchDlg->m_hWnd)
        m_pTimeStretchDlg->DestroyWindow();
    delete m_pTimeStretchDlg;
    m_pTimeStretchDlg = nullptr;
    return CFrameApp::ExitInstance();
}

void CKestrixApp::HtmlHelp(DWORD_PTR dwData, UINT nCmd) { CWinApp::HtmlHelp(dwData, nCmd); }

CString CKestrixApp::GetLangString(int id) { return m_languages.GetString(id); }
int CKestrixApp::GetSetting(const char* key) { return AppSettingsFile().GetSetting(key); }
void CKestrixApp::WriteSetting(const char* key, int value) { AppSettingsFile().WriteSetting(key, value); }
CString CKestrixApp::GetInstallFolder() { return AppInstallFolder().GetRaw(); }

void CKestrixApp::SetViewBarCount(bool on)
{
    WriteSetting("viewBarCount", on ? 1 : 0);
    if (CKestrixDoc* doc = GetActiveDoc())
        doc->UpdateAllViews(nullptr, HINT_BAR_NUMBERS_CHANGED);
}

CControlDlg* CKestrixApp::GetControlDlg()
{
    auto* frame = dynamic_cast<CMainFrame*>(m_pMainWnd);
    return frame ? frame->GetControlDlg() : nullptr;
}

IDocPanel* CKestrixApp::GetControlPanel()
{
    CControlDlg* panel = GetControlDlg();
    return panel && panel->m_hWnd ? panel : nullptr;
}

bool CKestrixApp::IsActiveDocument(const CDocument* doc)
{
    CKestrixDoc* active = GetActiveDoc();
    return doc && active && doc == active;
}

CKestrixDoc* CKestrixApp::GetActiveDoc()
{
    auto* frame = dynamic_cast<CMDIFrameWnd*>(m_pMainWnd);
    if (!frame || !frame->m_hWnd)
        return nullptr;
    CMDIChildWnd* child = frame->MDIGetActive();
    return child ? dynamic_cast<CKestrixDoc*>(child->GetActiveDocument()) : nullptr;
}

bool CKestrixApp::ShowLeadSheetView()
{
    CKestrixDoc* doc = GetActiveDoc();
    if (doc)
        doc->ShowLeadSheetView();
    return doc != nullptr;
}

bool CKestrixApp::ShowChordView()
{
    CKestrixDoc* doc = GetActiveDoc();
    if (doc)
        doc->ShowChordView();
    return doc != nullptr;
}

bool CKestrixApp::ShowBassView()
{
    CKestrixDoc* doc = GetActiveDoc();
    if (doc)
        doc->ShowBassView();
    return doc != nullptr;
}

void CKestrixApp::TranslateMainMenu()
{
    if (auto* frame = dynamic_cast<CMainFrame*>(m_pMainWnd))
        if (frame->m_hWnd)
            frame->TranslateMenu();
}

void CKestrixApp::SetLanguage(const char* name)
{
    m_languages.SelectName(name);
    WriteSetting("defaultLanguage", m_languages.current);
    if (m_pChordDialog && m_pChordDialog->m_hWnd)
        m_pChordDialog->SetWindowText(GetLangString(109));
    if (CHtmlDynDialog* tutorial = GetTutorialDialog()) {
        tutorial->SetWindowText(GetLangString(126));
        NavigateTutorial(GetTutorialPath());
    }
    if (CViewDlg* tools = GetToolsPanel()) {
        tools->SetWindowText(GetLangString(110));
        tools->Invalidate(FALSE);
    }
    // The panel draws its captions itself; it floats outside the frame.
    if (CControlDlg* panel = GetControlDlg())
        if (panel->m_hWnd)
            panel->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    if (auto* frame = dynamic_cast<CMainFrame*>(m_pMainWnd)) {
        frame->LoadToolTips();
        if (frame->m_hWnd)
            frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

bool CKestrixApp::GetActiveDocInfo(float& tuning, CString& key)
{
    tuning = 0.0f;
    key.Empty();
    CKestrixDoc* doc = GetActiveDoc();
    if (!doc)
        return false;
    tuning = doc->GetTuning();
    key = doc->GetShownKey();
    return true;
}

void CKestrixApp::RefreshPanels()
{
    CKestrixDoc* doc = GetActiveDoc();
    if (CViewDlg* tools = GetToolsPanel())
        tools->ShowDocument(doc);
    if (CControlDlg* panel = GetControlDlg())
        if (panel->m_hWnd)
            panel->ShowDocument(doc);
}

void CKestrixApp::ActivateView(CView* view)
{
    CView::SetActiveView(view);
    if (CFrameWnd* frame = AfxGetParentFrame(view)) {
        frame->SetActiveView(view);
        frame->RecalcLayout();
    }
}

void CKestrixApp::ShowMessage(const CString& text, const CString& caption)
{
    ShowMessageBox(text, caption, false, nullptr);
}

void CKestrixApp::SetToolsPanelText(const CString& text)
{
    m_toolsPanelText = text;
    if (CViewDlg* tools = GetToolsPanel())
        tools->SetHintText(text);
}

CViewDlg* CKestrixApp::GetToolsPanel() const
{
    auto* tools = static_cast<CViewDlg*>(m_pToneDialog);
    return tools && tools->m_hWnd ? tools : nullptr;
}

int CKestrixApp::GetToolsMode()
{
    CViewDlg* tools = GetToolsPanel();
    return tools ? tools->GetMode() : 0;
}

void CKestrixApp::SetChordOptionsShown(bool shown)
{
    if (CViewDlg* tools = GetToolsPanel())
        tools->SetChordOptionsShown(shown);
}

void CKestrixApp::CreateToolsPanel(CWnd* frame)
{
    // Placed and shown by the start-up thread's step.
    auto* tools = new CViewDlg;
    m_pToneDialog = tools;
    tools->Create(frame);
}

void CKestrixApp::OnUpdateRecentFile(CCmdUI* pCmdUI)
{
    OnUpdateRecentFileMenu(pCmdUI);
    CMainFrame::TranslateRecentFilePlaceholder(pCmdUI, m_pRecentFileList);
}

void CKestrixApp::CreateTimeStretchWindow(CWnd* frame) { m_pTimeStretchDlg = new CTimeStretchDlg(frame); }

void CKestrixApp::ShowChordName(const CString& name)
{
    m_shownChordName = name;
    if (m_pChordDialog && m_pChordDialog->m_hWnd)
        m_pChordDialog->ShowChord(name, 1);
}

void CKestrixApp::ShowChordDiagram(bool show)
{
    // Shown without taking the activation from the document's frame.
    if (m_pChordDialog && m_pChordDialog->m_hWnd)
        m_pChordDialog->ShowWindow(show ? SW_SHOWNA : SW_HIDE);
}

void CKestrixApp::ShowToolWindows(bool show, bool withChordDiagram)
{
    const int cmd = show ? SW_SHOW : SW_HIDE;
    if (CControlDlg* panel = GetControlDlg())
        if (panel->m_hWnd)
            panel->ShowWindow(cmd);
    if (m_pToneDialog && m_pToneDialog->m_hWnd)
        m_pToneDialog->ShowWindow(cmd);
    if (withChordDiagram && m_pChordDialog && m_pChordDialog->m_hWnd)
        m_pChordDialog->ShowWindow(cmd);
}

void CKestrixApp::OnAppAbout()
{
    if (CKestrixDoc* doc = GetActiveDoc())
        if (doc->IsPlaying())
            return;
    CAboutDlg dlg(m_pMainWnd);
    dlg.DoModal();
}

void CKestrixApp::OnFileNew() { CFrameApp::OnFileNew(); }

void CKestrixApp::OnSettings()
{
    CKestrixDoc* active = GetActiveDoc();
    if (active && active->IsPlaying())
        return;
    int rowMs = GetSetting("lengthPerRow");
    if (rowMs < 0)
        rowMs = 6000;
    int rows = GetSetting("rowsPerPage");
    if (rows < 0)
        rows = 8;
    COptionsDlg dlg(m_pMainWnd);
    dlg.SetSeconds(rowMs / 1000);
    dlg.SetRows(rows);
    if (dlg.DoModal() != IDOK)
        return;
    WriteSetting("lengthPerRow", dlg.GetSeconds() * 1000);
    WriteSetting("rowsPerPage", dlg.GetRows());
    // Nothing selected keeps the device in use: -1 would silence every document.
    m_soundCard = SoundCardAfterSettings(dlg.GetSoundCard(), m_soundCard);
    ApplySettings(dlg.GetSeconds() * 1000, dlg.GetRows());
    WriteSetting("soundCard", m_soundCard);
}

void CKestrixApp::ApplySettings(int rowMs, int rows)
{
    CKestrixDoc* last = nullptr;
    POSITION tp = GetFirstDocTemplatePosition();
    while (tp) {
        CDocTemplate* tmpl = GetNextDocTemplate(tp);
        POSITION dp = tmpl->GetFirstDocPosition();
        while (dp)
            if (auto* doc = dynamic_cast<CKestrixDoc*>(tmpl->GetNextDoc(dp))) {
                doc->SetSoundCard(m_soundCard);
                doc->SetLayout(rowMs, rows);
                last = doc;
            }
    }
    if (!last)
        return;
    if (last->GetCurrentView() == 2)
        last->ShowBassView();
    else if (last->GetCurrentView() == 1)
        last->ShowChordView();
}

namespace {
void Toggle(CWnd* w)
{
    if (w && w->m_hWnd)
        w->ShowWindow(w->IsWindowVisible() ? SW_HIDE : SW_SHOW);
}
} // namespace

void CKestrixApp::OnToggleToolsPanel() { Toggle(m_pToneDialog); }
void CKestrixApp::OnToggleControlDlg() { Toggle(GetControlDlg()); }
void CKestrixApp::OnToggleChordDiagram() { Toggle(m_pChordDialog); }
void CKestrixApp::OnToggleTutorial()
{
    // Without its own window the page still opens, in the system's browser.
    if (m_pTutorialDialog)
        Toggle(m_pTutorialDialog);
    else
        OpenInShell(GetTutorialPath(), SW_SHOWNORMAL);
}

void CKestrixApp::UpdateToggle(CCmdUI* pCmdUI, CWnd* window)
{
    pCmdUI->SetCheck(window && window->m_hWnd && window->IsWindowVisible() ? 1 : 0);
    if (CKestrixDoc* doc = GetActiveDoc())
        pCmdUI->Enable(!doc->IsPrinting());
}

void CKestrixApp::OnUpdateToneDialog(CCmdUI* pCmdUI) { UpdateToggle(pCmdUI, m_pToneDialog); }
void CKestrixApp::OnUpdateControlDialog(CCmdUI* pCmdUI) { UpdateToggle(pCmdUI, GetControlDlg()); }
void CKestrixApp::OnUpdateChordDialog(CCmdUI* pCmdUI) { UpdateToggle(pCmdUI, m_pChordDialog); }
void CKestrixApp::OnUpdateTutorial(CCmdUI* pCmdUI) { UpdateToggle(pCmdUI, m_pTutorialDialog); }

// Start-up: the quick-start dialog, the splash window and its thread.

CHtmlDynDialog* CKestrixApp::GetTutorialDialog() const { return dynamic_cast<CHtmlDynDialog*>(m_pTutorialDialog); }

CString CKestrixApp::GetTutorialPath() { return GetInstallFolder() + GetLangString(135) + "\\TutorialStart.html"; }

void CKestrixApp::NavigateTutorial(const CString& path)
{
    if (CHtmlDynDialog* tutorial = GetTutorialDialog())
        tutorial->Navigate(path);
}

bool CKestrixApp::OpenInShell(const CString& path, int showCommand)
{
    return (INT_PTR)::ShellExecuteA(nullptr, "open", path, nullptr, nullptr, showCommand) > 32;
}

void CKestrixApp::CreateTutorialDialog(CWnd* frame)
{
    auto* dialog = new CHtmlDynDialog(frame);
    bool ready = false;
    try {
        ready = dialog->Create(IDD_QUICK_START, frame) && dialog->IsBrowserReady();
    } catch (...) {
        ready = false;
    }
    if (ready) {
        m_pTutorialDialog = dialog;
        // A page that never comes up leaves no empty window behind.
        dialog->SetPageHandler(
            [](void* app, bool shown) {
                if (!shown)
                    static_cast<CKestrixApp*>(app)->DropTutorialDialog();
            },
            this);
        return;
    }
    if (dialog->m_hWnd)
        dialog->DestroyWindow();
    delete dialog;
    DropTutorialDialog();
}

void CKestrixApp::DropTutorialDialog()
{
    if (m_pTutorialDialog) {
        if (m_pTutorialDialog->m_hWnd)
            m_pTutorialDialog->DestroyWindow();
        delete m_pTutorialDialog;
        m_pTutorialDialog = nullptr;
    }
    // Only a user who wants the page at start-up hears about it.
    if (IsQuickStartShown()) {
        ShowMessageBox(GetLangString(140), GetLangString(123), false, nullptr);
        OpenInShell(GetTutorialPath(), SW_SHOWMINIMIZED);
    }
}

void CKestrixApp::PrepareChordDialog()
{
    if (!m_pChordDialog || !m_pChordDialog->m_hWnd)
        return;
    m_pChordDialog->LoadChordFile();
    m_pChordDialog->FillChordCombo();
}

void CKestrixApp::PlaceToolWindow(CWnd* window, int x, int y, bool show)
{
    if (!window || !window->m_hWnd)
        return;
    window->SetWindowPos(&CWnd::wndTop, x, y, 0, 0, SWP_NOSIZE);
    window->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CKestrixApp::RunStartupStep(int step)
{
    switch (step) {
    case kStepPlaceToolsPanel:
        if (CViewDlg* tools = GetToolsPanel()) {
            tools->PlaceOnFrame(m_pMainWnd);
            tools->ShowWindow(SW_SHOW);
        }
        break;
    case kStepChordDialog:
        PrepareChordDialog();
        PlaceToolWindow(m_pChordDialog, 20, 120, true);
        break;
    case kStepQuickStart:
        if (CHtmlDynDialog* tutorial = GetTutorialDialog()) {
            // Shown once its page is up, never as an empty box.
            PlaceToolWindow(tutorial, 20, 390, false);
            if (IsQuickStartShown())
                tutorial->ShowWhenPageShown();
            NavigateTutorial(GetTutorialPath());
        }
        break;
    default:
        break;
    }
}

namespace {
// What the start-up thread needs, gathered on the user-interface thread:
// the thread reads no object of that thread and only posts.
struct StartupWork {
    HWND splash = nullptr;
    bool pauses = true;
    CString texts[4]; // 129 to 132
};

void StartupPause(const StartupWork& work, DWORD ms)
{
    if (work.pauses)
        ::Sleep(ms);
}

void RunSplashStep(void* app, int step) { static_cast<CKestrixApp*>(app)->RunStartupStep(step); }
} // namespace

UINT CKestrixApp::StartupThreadProc(LPVOID param)
{
    const StartupWork& work = *static_cast<const StartupWork*>(param);
    auto step = [&](int n) { return ::PostMessageA(work.splash, WM_SPLASH_STEP, (WPARAM)n, 0) != 0; };
    // A failed post means the splash is gone: nothing more to say.
    StartupPause(work, 500);
    if (!PostSplashStatus(work.splash, work.texts[0]))
        return 0;
    StartupPause(work, 900);
    if (!step(kStepPlaceToolsPanel) || !PostSplashStatus(work.splash, work.texts[1]))
        return 0;
    if (!step(kStepChordDialog) || !PostSplashStatus(work.splash, work.texts[2]))
        return 0;
    StartupPause(work, 1000);
    if (!PostSplashStatus(work.splash, work.texts[3]))
        return 0;
    StartupPause(work, 700);
    if (step(kStepQuickStart))
        ::PostMessageA(work.splash, WM_SPLASH_STATUS, 0, 0);
    return 0;
}

void CKestrixApp::RunSplash(CWnd* frame)
{
    StartupWork work;
    work.pauses = m_startupPauses;
    for (int i = 0; i < 4; ++i)
        work.texts[i] = GetLangString(129 + i);
    struct Start {
        StartupWork* work;
        CWinThread* thread;
    } start = {&work, nullptr};

    CSplashWindow splash(frame);
    splash.SetBitmap(IDB_SPLASH);
    splash.SetStepHandler(&RunSplashStep, this);
    splash.SetShownHandler(
        [](void* context, HWND window) {
            auto* s = static_cast<Start*>(context);
            s->work->splash = window;
            s->thread = AfxBeginThread(&CKestrixApp::StartupThreadProc, s->work, THREAD_PRIORITY_NORMAL, 0,
                                       CREATE_SUSPENDED);
            if (!s->thread)
                return false;
            s->thread->m_bAutoDelete = FALSE;
            s->thread->ResumeThread();
            return true;
        },
        &start);
    splash.DoModal();
    if (start.thread) {
        // It reads work on this stack: wait until it is gone. It only posts
        // and sleeps, so it ends soon.
        ::WaitForSingleObject(start.thread->m_hThread, INFINITE);
        delete start.thread;
    }
}
