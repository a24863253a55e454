// The splash window and its status messages, the start-up thread's work in
// the program, the quick-start page on the framework's browser host, and
// the About box with the file versions.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "ProgramPanelFixture.h"
#include "app/AboutDlg.h"
#include "app/FileVersion.h"
#include "app/HtmlDynDialog.h"
#include "app/KestrixApp.h"
#include "app/SplashWindow.h"
#include "resources/resource.h"
#include "shared/Messages.h"

using namespace progtest;

namespace {

// A class id that names no object: the browser cannot be created.
const CLSID kNoBrowser = {0x6b1e2f10, 0x1c2d, 0x4e5f, {0x90, 0xa1, 0xb2, 0xc3, 0xd4, 0xe5, 0xf6, 0x07}};

class NoBrowser {
public:
    NoBrowser() : m_saved(CHtmlView::GetBrowserClass()) { CHtmlView::SetBrowserClass(kNoBrowser); }
    ~NoBrowser() { CHtmlView::SetBrowserClass(m_saved); }

private:
    CLSID m_saved;
};

// Posts from a thread of its own once the splash shows, as the start-up
// thread does.
struct Poster {
    std::vector<std::string> texts;
    bool close = true;
    std::thread thread;
    static bool Start(void* self, HWND splash)
    {
        Poster* p = static_cast<Poster*>(self);
        p->thread = std::thread([p, splash] {
            for (const std::string& t : p->texts)
                PostSplashStatus(splash, t.c_str());
            if (p->close)
                PostMessageA(splash, WM_SPLASH_STATUS, 0, 0);
        });
        return true;
    }
};

} // namespace

TEST(SplashWindow, QuickStatusTextsReplaceEachOtherAndNoneLeaks)
{
    Poster poster;
    for (int i = 0; i < 200; ++i)
        poster.texts.push_back("step " + std::to_string(i) + " of a status line far wider than the picture, " +
                               std::string(200, 'x'));
    CSplashWindow splash;
    splash.SetBitmap(IDB_SPLASH);
    // The status line sits near the bottom of the 450 x 330 picture.
    EXPECT_EQ(splash.GetTextRect(), CRect(40, 270, 450, 290));
    splash.SetShownHandler(&Poster::Start, &poster);
    EXPECT_EQ(splash.DoModal(), IDOK);
    poster.thread.join();
    EXPECT_EQ(std::string(splash.GetStatusText()), poster.texts.back());
    EXPECT_EQ(LiveSplashStatusCount(), 0);
    EXPECT_EQ(splash.m_hWnd, nullptr);
}

TEST(SplashWindow, OnlyTheCloseMessageEndsIt)
{
    CSplashWindow splash;
    splash.SetBitmap(IDB_SPLASH);
    struct Ctx {
        HWND splash = nullptr;
        bool stillUp = false;
    } ctx;
    // Escape, Enter, Cancel and OK leave it up; then the close message ends it.
    splash.SetStepHandler(
        [](void* c, int) {
            Ctx* x = static_cast<Ctx*>(c);
            x->stillUp = IsWindow(x->splash) && IsWindowVisible(x->splash);
            PostMessageA(x->splash, WM_SPLASH_STATUS, 0, 0);
        },
        &ctx);
    splash.SetShownHandler(
        [](void* c, HWND w) {
            Ctx* x = static_cast<Ctx*>(c);
            x->splash = w;
            SetForegroundWindow(w);
            SetFocus(w);
            for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
                PostMessageA(w, WM_KEYDOWN, key, 1);
                PostMessageA(w, WM_KEYUP, key, 0xC0000001);
            }
            PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
            PostMessageA(w, WM_COMMAND, IDOK, 0);
            PostMessageA(w, WM_SPLASH_STEP, 1, 0);
            return true;
        },
        &ctx);
    EXPECT_EQ(splash.DoModal(), IDOK);
    EXPECT_TRUE(ctx.stillUp);
}

TEST(SplashWindow, AFailedPostDeletesItsTextAndAFailedStartEndsTheSplash)
{
    CSplashWindow splash;
    splash.SetBitmap(IDB_SPLASH);
    HWND gone = nullptr;
    splash.SetShownHandler(
        [](void* c, HWND w) {
            *static_cast<HWND*>(c) = w;
            return false; // as when the start-up thread cannot start
        },
        &gone);
    const DWORD start = GetTickCount();
    EXPECT_EQ(splash.DoModal(), IDABORT);
    EXPECT_LT(GetTickCount() - start, 5000u);
    ASSERT_NE(gone, nullptr);
    EXPECT_FALSE(IsWindow(gone));
    EXPECT_FALSE(PostSplashStatus(gone, "nobody reads this"));
    EXPECT_FALSE(PostSplashStatus(nullptr, "nor this"));
    EXPECT_EQ(LiveSplashStatusCount(), 0);
}

// --- The browser host ---

namespace {
// A plain top-level window for the views.
class HostWindow {
public:
    HostWindow()
    {
        m_wnd.CreateEx(0, nullptr, "host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 500, nullptr, nullptr);
    }
    ~HostWindow()
    {
        if (m_wnd.m_hWnd)
            m_wnd.DestroyWindow();
    }
    CWnd* get() { return &m_wnd; }

private:
    CWnd m_wnd;
};

std::string WritePage(const std::string& name)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + name;
    WriteText(path, "<html><body><p>Quick start</p></body></html>");
    return path;
}

void PumpMs(DWORD ms)
{
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < ms) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
}
} // namespace

TEST(HtmlHost, TheBrowserIsActivatedInPlaceAndNavigatesToAFile)
{
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    {
        HostWindow host;
        ASSERT_NE(host.get()->m_hWnd, nullptr);
        auto* view = dynamic_cast<CHtmlDynView*>(RUNTIME_CLASS(CHtmlDynView)->CreateObject());
        ASSERT_NE(view, nullptr);
        ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 400), host.get(), 0xE900));
        ASSERT_TRUE(view->HasBrowser());
        const std::string page = WritePage("qp-host-page.html");
        EXPECT_TRUE(view->Navigate(page.c_str()));
        PumpMs(500);
        const std::string location(view->GetLocationURL());
        EXPECT_NE(location.find("qp-host-page.html"), std::string::npos) << location;
        // The view's window takes the browser with it.
        host.get()->DestroyWindow();
        DeleteFileA(page.c_str());
    }
    OleUninitialize();
}

TEST(HtmlHost, WithoutABrowserTheViewFailsAndTheDialogIsNotReady)
{
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    {
        NoBrowser none;
        HostWindow host;
        auto* view = dynamic_cast<CHtmlDynView*>(RUNTIME_CLASS(CHtmlDynView)->CreateObject());
        ASSERT_NE(view, nullptr);
        // A failed view deletes itself with its window.
        EXPECT_FALSE(view->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), host.get(), 0xE900));

        CHtmlDynDialog dialog(host.get());
        ASSERT_TRUE(dialog.Create(IDD_QUICK_START, host.get()));
        EXPECT_FALSE(dialog.IsBrowserReady());
        EXPECT_EQ(dialog.GetView(), nullptr);
        EXPECT_FALSE(dialog.Navigate("C:\\nowhere.html"));
        dialog.DestroyWindow();
    }
    OleUninitialize();
}

// --- File versions ---

TEST(FileVersions, TheProgramAndBothLibrariesCarryTheirVersion)
{
    EXPECT_EQ(std::string(GetFileVersionString((ExeFolder() + "QuorvaPlindor.exe").c_str())), "2.0.3");
    // Bare names are found in the program's folder.
    EXPECT_EQ(std::string(GetFileVersionString("Zumbrel.dll")), "2.0.3");
    EXPECT_EQ(std::string(GetFileVersionString("QuorvaSound.dll")), "2.0.3");
    EXPECT_EQ(std::string(GetFileVersionString("NoSuchLibrary.dll")), "Corrupt");
    EXPECT_EQ(std::string(GetFileVersionString((ExeFolder() + "languages.txt").c_str())), "Corrupt");
    EXPECT_EQ(std::string(GetFileVersionString(nullptr)), "Corrupt");

    CFileVersionInfo info;
    EXPECT_EQ(std::string(info.GetFileVersion()), "");
    ASSERT_TRUE(info.Create("Zumbrel.dll"));
    EXPECT_EQ(std::string(info.GetFileVersion()), "2.0.3");
    EXPECT_EQ(std::string(info.GetString(CFileVersionInfo::kOriginalFilename)), "Zumbrel.dll");
    EXPECT_EQ(info.GetFixedInfo().dwFileVersionMS, 0x00020000u);
    EXPECT_EQ(info.GetFixedInfo().dwFileVersionLS, 0x00030000u);
    EXPECT_FALSE(info.Create("NoSuchLibrary.dll"));
    EXPECT_EQ(std::string(info.GetFileVersion()), "");
}

TEST(FileVersions, AMissingLibraryIsCorruptOnItsOwnLine)
{
    const CString text =
        CAboutDlg::BuildVersionsText("Versions:", {CString("Zumbrel.dll"), CString("Gone.dll"), CString("QuorvaSound.dll")});
    EXPECT_EQ(std::string(text), "Versions:\r\n\r\n"
                                 "Zumbrel.dll:\t\t2.0.3\r\n"
                                 "Gone.dll:\t\tCorrupt\r\n"
                                 "QuorvaSound.dll:\t\t2.0.3\r\n");
}

// --- Start-up of the program ---

namespace {

// The program with the shell's "open" noted instead of done.
class ShellNotingApp : public CKestrixApp {
public:
    struct Opened {
        std::string path;
        int show;
    };
    std::vector<Opened> opened;

    bool OpenInShell(const CString& path, int showCommand) override
    {
        opened.push_back({std::string(path), showCommand});
        return true;
    }
};

// Notes what reaches the splash window, in order, before the window sees
// it: status texts, work steps and the close message.
class SplashTrace {
public:
    SplashTrace()
    {
        Current() = this;
        m_hook = SetWindowsHookExA(WH_GETMESSAGE, &SplashTrace::Proc, nullptr, GetCurrentThreadId());
    }
    ~SplashTrace()
    {
        UnhookWindowsHookEx(m_hook);
        Current() = nullptr;
    }
    std::vector<std::string> events;
    HWND splash = nullptr;
    // What the quick-start dialog was when the close message came.
    bool quickStartPlaced = false;
    bool quickStartShown = false;

private:
    static SplashTrace*& Current()
    {
        static SplashTrace* p = nullptr;
        return p;
    }
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam)
    {
        SplashTrace* self = Current();
        const MSG* m = (const MSG*)lParam;
        if (self && code == HC_ACTION && wParam == PM_REMOVE) {
            if (m->message == WM_SPLASH_STATUS) {
                self->splash = m->hwnd;
                if (m->lParam == 0) {
                    self->events.push_back("close");
                    CHtmlDynDialog* q = GetKestrixApp()->GetTutorialDialog();
                    RECT r = {};
                    if (q && q->m_hWnd)
                        GetWindowRect(q->m_hWnd, &r);
                    self->quickStartPlaced = q && r.left == 20 && r.top == 390;
                    self->quickStartShown = q && IsWindowVisible(q->m_hWnd);
                } else {
                    self->events.push_back(std::string(*(const CString*)m->wParam));
                }
            } else if (m->message == WM_SPLASH_STEP) {
                self->events.push_back("step " + std::to_string(m->wParam));
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK m_hook;
};

class StartUp : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder.reset(new TestInstallation({"Zumbrel.dll", "QuorvaSound.dll", "languages.txt", "mainBmp.bmp",
                                             "mainLightBmp.bmp", "volumeBmp.bmp", "timeSlideBmp.bmp"},
                                            "qp-start-"));
        ASSERT_TRUE(m_folder->missing.empty());
        // The quick-start pages and help files in their folders.
        for (const std::string& dir : kFolders)
            CreateDirectoryA((m_folder->path + dir).c_str(), nullptr);
        for (const std::string& file : kFolderFiles)
            ASSERT_TRUE(CopyFileA((ExeFolder() + file).c_str(), (m_folder->path + file).c_str(), FALSE)) << file;
    }
    void TearDown() override
    {
        if (m_app)
            EndProgram(*m_app);
        m_app.reset();
        m_boxes.reset();
        if (m_folder) {
            for (const std::string& file : kFolderFiles)
                DeleteFileA((m_folder->path + file).c_str());
            for (auto dir = std::rbegin(kFolders); dir != std::rend(kFolders); ++dir)
                RemoveDirectoryA((m_folder->path + *dir).c_str());
        }
        m_folder.reset();
    }
    const std::string kFolders[5] = {"english", "deutsch", "help", "help\\English", "help\\Deutsch"};
    const std::string kFolderFiles[4] = {"english\\TutorialStart.html", "deutsch\\TutorialStart.html",
                                         "help\\English\\QuorvaPlindor.chm", "help\\Deutsch\\QuorvaPlindor.chm"};
    void ShowQuickStart(int on)
    {
        WriteText(m_folder->path + "set.ton", "[defaultLanguage]=0\r\n[showQuickStart]=" + std::to_string(on) + "\r\n");
    }
    bool Start(bool pauses = false)
    {
        m_boxes.reset(new BoxWatcher(GetCurrentThreadId()));
        m_app.reset(new ShellNotingApp);
        m_app->SetStartupPauses(pauses);
        const bool ok = m_app->InitInstance();
        Pump(*m_app);
        return ok;
    }
    std::string TutorialPath() const { return m_folder->path + "english\\TutorialStart.html"; }
    // Pumps until the quick-start dialog is gone (its page never came up).
    bool QuickStartDropped()
    {
        for (DWORD start = GetTickCount(); GetTickCount() - start < CHtmlDynDialog::kPageTimeoutMs + 3000;) {
            if (!m_app->GetTutorialDialog())
                return true;
            PumpFor(*m_app, 50);
        }
        return !m_app->GetTutorialDialog();
    }

    std::unique_ptr<TestInstallation> m_folder;
    std::unique_ptr<BoxWatcher> m_boxes;
    std::unique_ptr<ShellNotingApp> m_app;
};

} // namespace

TEST_F(StartUp, TheSplashShowsTheStatusTextsInOrderAndTheWorkIsDoneWhenItCloses)
{
    ShowQuickStart(1);
    SplashTrace trace;
    const DWORD start = GetTickCount();
    ASSERT_TRUE(Start(true));
    // The thread's pauses: 500 + 900 + 1000 + 700 ms.
    EXPECT_GE(GetTickCount() - start, 3000u);
    EXPECT_EQ(trace.events, (std::vector<std::string>{"Reading the settings...", "step 1", "Opening the tools panel...",
                                                       "step 2", "Loading the chord shapes...",
                                                       "Preparing the quick start page...", "step 3", "close"}));
    // The quick-start page was placed before the splash closed; it shows
    // only once its page is up.
    EXPECT_TRUE(trace.quickStartPlaced);
    EXPECT_FALSE(trace.quickStartShown);
    // Gone before the main window is used, with every text deleted.
    ASSERT_NE(trace.splash, nullptr);
    EXPECT_FALSE(IsWindow(trace.splash));
    EXPECT_EQ(LiveSplashStatusCount(), 0);
    EXPECT_TRUE(IsWindowEnabled(m_app->m_pMainWnd->m_hWnd));
    EXPECT_TRUE(m_boxes->All().empty());
    EXPECT_TRUE(m_app->opened.empty());

    // Wine's browser object stands in for the system's: the page is asked for.
    CHtmlDynDialog* quick = m_app->GetTutorialDialog();
    ASSERT_NE(quick, nullptr);
    EXPECT_TRUE(quick->IsBrowserReady());
    EXPECT_EQ(TextOf(quick->m_hWnd), "Dialog");
    PumpFor(*m_app, 300);
    EXPECT_NE(std::string(quick->GetView()->GetLocationURL()).find("english\\TutorialStart.html"), std::string::npos)
        << quick->GetView()->GetLocationURL();

    // View > Quick Start shows and hides it; a new language re-titles it.
    SendMessageA(m_app->m_pMainWnd->m_hWnd, WM_COMMAND, ID_VIEW_TUTORIAL, 0);
    EXPECT_TRUE(IsWindowVisible(quick->m_hWnd));
    SendMessageA(m_app->m_pMainWnd->m_hWnd, WM_COMMAND, ID_VIEW_TUTORIAL, 0);
    EXPECT_FALSE(IsWindowVisible(quick->m_hWnd));
    m_app->SetLanguage("Deutsch");
    EXPECT_EQ(TextOf(quick->m_hWnd), "Schnellstart");
    PumpFor(*m_app, 300);
    EXPECT_NE(std::string(quick->GetView()->GetLocationURL()).find("deutsch\\TutorialStart.html"), std::string::npos);

    // Wine's browser has no engine to draw with: the page never comes up,
    // and the empty dialog gives way to the page in the system's browser.
    EXPECT_FALSE(quick->IsPageShown());
    ASSERT_TRUE(QuickStartDropped());
    ASSERT_EQ(m_boxes->Count("box"), 1);
    EXPECT_TRUE(m_boxes->All()[0].Mentions("kann nicht im Programm angezeigt werden"));
    ASSERT_EQ(m_app->opened.size(), 1u);
    EXPECT_EQ(m_app->opened[0].path, m_folder->path + "deutsch\\TutorialStart.html");
    EXPECT_EQ(m_app->opened[0].show, SW_SHOWMINIMIZED);
    EXPECT_FALSE(m_app->GetTutorialDialog());
}

TEST_F(StartUp, WithTheQuickStartPageOffNothingOpensAtStartUp)
{
    ShowQuickStart(0);
    ASSERT_TRUE(Start());
    CHtmlDynDialog* quick = m_app->GetTutorialDialog();
    ASSERT_NE(quick, nullptr);
    EXPECT_FALSE(IsWindowVisible(quick->m_hWnd));
    // A page that never comes up is dropped without a word.
    EXPECT_TRUE(QuickStartDropped());
    EXPECT_TRUE(m_boxes->All().empty());
    EXPECT_TRUE(m_app->opened.empty());
}

TEST_F(StartUp, OnlyTheFirstWatchOfAQuickStartPageIsReported)
{
    // Start-up asks once whether the page comes up; a later page (another
    // language's) is not watched, so a slow one cannot take the window away.
    ShowQuickStart(0);
    ASSERT_TRUE(Start());
    CHtmlDynDialog dialog(m_app->m_pMainWnd);
    ASSERT_TRUE(dialog.Create(IDD_QUICK_START, m_app->m_pMainWnd));
    int reports = 0;
    dialog.SetPageHandler([](void* n, bool) { ++*static_cast<int*>(n); }, &reports);
    dialog.Navigate(CString((m_folder->path + "no such page.html").c_str()));
    EXPECT_TRUE(PumpUntil(*m_app, [&] { return reports == 1; }, 2000));
    dialog.Navigate(CString((m_folder->path + "another missing page.html").c_str()));
    PumpFor(*m_app, 500);
    EXPECT_EQ(1, reports);
    dialog.DestroyWindow();
}

TEST_F(StartUp, HelpTopicsOpensTheInstalledHelpFileOfTheLanguageOrSaysItIsMissing)
{
    ShowQuickStart(0);
    // A translation's text is shown as it is written, never formatted.
    std::vector<unsigned char> texts = ReadAll(m_folder->path + "languages.txt");
    std::string all(texts.begin(), texts.end());
    const size_t german = all.find("170=Die Hilfedatei %s wurde nicht gefunden.");
    ASSERT_NE(german, std::string::npos);
    all.insert(german + 42, " (%d%n%s)");
    ASSERT_TRUE(WriteText(m_folder->path + "languages.txt", all));
    ASSERT_TRUE(Start());
    const HWND frame = m_app->m_pMainWnd->m_hWnd;
    const std::string english = m_folder->path + "help\\English\\QuorvaPlindor.chm";
    const std::string germanHelp = m_folder->path + "help\\Deutsch\\QuorvaPlindor.chm";

    SendMessageA(frame, WM_COMMAND, ID_HELP_FINDER, 0);
    m_app->SetLanguage("Deutsch");
    SendMessageA(frame, WM_COMMAND, ID_HELP_FINDER, 0);
    Pump(*m_app);
    EXPECT_TRUE(m_boxes->All().empty());
    ASSERT_EQ(m_app->opened.size(), 2u);
    EXPECT_EQ(m_app->opened[0].path, english);
    EXPECT_EQ(m_app->opened[0].show, SW_SHOWNORMAL);
    EXPECT_EQ(m_app->opened[1].path, germanHelp);

    // Without its help file the language's Help Topics says so.
    DeleteFileA(germanHelp.c_str());
    SendMessageA(frame, WM_COMMAND, ID_HELP_FINDER, 0);
    Pump(*m_app);
    ASSERT_EQ(m_boxes->Count("box"), 1);
    EXPECT_TRUE(m_boxes->All()[0].Mentions("Die Hilfedatei " + germanHelp + " wurde nicht gefunden (%d%n%s)."));
    EXPECT_EQ(m_app->opened.size(), 2u);
}

TEST_F(StartUp, WithoutABrowserThePageIsOfferedInTheSystemsBrowserOnlyWhenWanted)
{
    NoBrowser none;
    // Wanted at start-up: a note, the page in the system's browser, no dialog.
    ShowQuickStart(1);
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_app->GetTutorialDialog(), nullptr);
    ASSERT_EQ(m_boxes->Count("box"), 1);
    EXPECT_TRUE(m_boxes->All()[0].Mentions("cannot be shown inside the program"));
    ASSERT_EQ(m_app->opened.size(), 1u);
    EXPECT_EQ(m_app->opened[0].path, TutorialPath());
    EXPECT_EQ(m_app->opened[0].show, SW_SHOWMINIMIZED);
    TearDown();

    // Not wanted: nothing at start-up; View > Quick Start opens the page.
    SetUp();
    ShowQuickStart(0);
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_app->GetTutorialDialog(), nullptr);
    EXPECT_TRUE(m_boxes->All().empty());
    EXPECT_TRUE(m_app->opened.empty());
    SendMessageA(m_app->m_pMainWnd->m_hWnd, WM_COMMAND, ID_VIEW_TUTORIAL, 0);
    ASSERT_EQ(m_app->opened.size(), 1u);
    EXPECT_EQ(m_app->opened[0].path, TutorialPath());
    EXPECT_EQ(m_app->opened[0].show, SW_SHOWNORMAL);
}

// --- The About box in the program ---

namespace {
const BoxWatcher::Seen* FindAbout(const std::vector<BoxWatcher::Seen>& seen)
{
    for (const BoxWatcher::Seen& s : seen)
        if (s.title == "About...")
            return &s;
    return nullptr;
}
} // namespace

TEST_F(ProgramPanel, AboutListsTheThreeFilesAndIsRefusedWhilePlaying)
{
    const HWND frame = m_app->m_pMainWnd->m_hWnd;
    SendMessageA(frame, WM_COMMAND, ID_APP_ABOUT, 0);
    Pump(*m_app);
    std::vector<BoxWatcher::Seen> seen = m_boxes->All();
    const BoxWatcher::Seen* about = FindAbout(seen);
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->Mentions(std::string(CAboutDlg::ProgramFileName()) + ":\t\t2.0.3\r\n"));
    EXPECT_TRUE(about->Mentions("Zumbrel.dll:\t\t2.0.3\r\n"));
    EXPECT_TRUE(about->Mentions("QuorvaSound.dll:\t\t2.0.3\r\n"));
    EXPECT_TRUE(about->Mentions("Versions of the program files:"));
    EXPECT_TRUE(about->Mentions("http://"));
    m_boxes->Clear();

    // While the song plays the command does nothing.
    OpenSong(WriteSong("about.wav", PositionSong(6 * kRate)));
    Click(kPlay);
    ASSERT_TRUE(Doc()->IsPlaying());
    SendMessageA(frame, WM_COMMAND, ID_APP_ABOUT, 0);
    Pump(*m_app);
    EXPECT_EQ(FindAbout(m_boxes->All()), nullptr);
    Click(kStop);
    EXPECT_FALSE(Doc()->IsPlaying());
}
