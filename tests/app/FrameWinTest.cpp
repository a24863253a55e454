// The program in-process and as its own process: start-up with a test
// installation folder, the frames, the menus in the current language, the
// language chooser's Cancel and a clean exit.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "DialogWatcher.h"
#include "ProgramTestSupport.h"
#include "app/ChildFrame.h"
#include "app/InstallFolderWin.h"
#include "app/KestrixApp.h"
#include "app/MainFrame.h"
#include "resources/resource.h"

using namespace progtest;

namespace {

// Two languages whose texts name their number: "E<n>" and "D<n>".
std::string Languages()
{
    std::string text;
    for (const char* lang : {"English", "Deutsch"}) {
        text += std::string("[") + lang + "]\r\n";
        for (int n = 1; n <= 140; ++n)
            text += std::to_string(n) + "=" + lang[0] + std::to_string(n) + "\r\n";
        text += "end\r\n";
    }
    return text;
}

// A fresh installation folder registered as the program's, with the two
// languages; storedLanguage: one is chosen already.
class InstallFolder : public TestInstallation {
public:
    explicit InstallFolder(bool storedLanguage)
        : TestInstallation({"Zumbrel.dll", "QuorvaSound.dll", "mainBmp.bmp", "mainLightBmp.bmp", "volumeBmp.bmp",
                            "timeSlideBmp.bmp"},
                           "qp-frames-")
    {
        WriteText(path + "languages.txt", Languages());
        if (storedLanguage)
            WriteText(path + "set.ton", "[defaultLanguage]=0\r\n");
        else
            DeleteFileA((path + "set.ton").c_str());
    }
};

std::string MenuText(HMENU menu, int pos)
{
    char text[256] = "";
    GetMenuStringA(menu, (UINT)pos, text, sizeof text, MF_BYPOSITION);
    return text;
}

bool QuitPosted()
{
    MSG msg;
    return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

} // namespace

TEST(ProgramStart, MainFrameChildMenusLanguagesTempFilesAndClose)
{
    InstallFolder folder(true);
    for (const char* name : {"TempWavFile3.WAV", "oldtempwavfile12.wav", "TEMPWAVFILE.txt", "tempwav.wav", "keep.txt"})
        WriteText(folder.path + name, "x");
    // Wine's browser never shows the quick-start page: the program says so.
    BoxWatcher boxes(GetCurrentThreadId());

    CKestrixApp app;
    app.SetStartupPauses(false);
    ASSERT_TRUE(app.InitInstance());
    Pump(app);

    // Stale temporary audio went from the installation folder; the rest stays.
    EXPECT_FALSE(Exists(folder.path + "TempWavFile3.WAV"));
    EXPECT_FALSE(Exists(folder.path + "oldtempwavfile12.wav"));
    EXPECT_FALSE(Exists(folder.path + "TEMPWAVFILE.txt"));
    EXPECT_TRUE(Exists(folder.path + "tempwav.wav"));
    EXPECT_TRUE(Exists(folder.path + "keep.txt"));

    auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    char title[128] = "";
    GetWindowTextA(frame->m_hWnd, title, sizeof title);
    EXPECT_STREQ(title, "Quorva Plindor");
    EXPECT_TRUE(IsWindowVisible(frame->m_hWnd));
    EXPECT_TRUE(IsZoomed(frame->m_hWnd));

    BOOL maximised = FALSE;
    auto* child = dynamic_cast<CChildFrame*>(frame->MDIGetActive(&maximised));
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(maximised);
    ASSERT_NE(app.GetActiveDoc(), nullptr);
    // Asked to show restored, it still shows maximised.
    child->ActivateFrame(SW_RESTORE);
    EXPECT_TRUE(IsZoomed(child->m_hWnd));

    // The document menu in English; the maximised child's system menu first.
    HMENU bar = GetMenu(frame->m_hWnd);
    ASSERT_EQ(bar, child->GetSharedMenu());
    EXPECT_EQ(MenuText(bar, 1), "E4");
    EXPECT_EQ(MenuText(bar, 4), "E113");
    EXPECT_EQ(MenuText(GetSubMenu(bar, 4), 2), "E29");
    EXPECT_EQ(MenuText(GetSubMenu(bar, 1), 11), "E13");

    // The Languages popup lists each language once, the current one checked,
    // however often the frame is activated.
    HMENU langs = GetSubMenu(bar, 6);
    for (int i = 0; i < 3; ++i) {
        child->OnUpdateFrameMenu(TRUE, child, nullptr);
        SendMessageA(frame->m_hWnd, WM_INITMENUPOPUP, (WPARAM)langs, 6);
    }
    ASSERT_EQ(GetMenuItemCount(langs), 2);
    EXPECT_EQ(MenuText(langs, 0), "English");
    EXPECT_EQ(MenuText(langs, 1), "Deutsch");
    EXPECT_TRUE(GetMenuState(langs, 0, MF_BYPOSITION) & MF_CHECKED);

    // Choosing German re-texts the menu at once, Transpose included, and is stored.
    SendMessageA(frame->m_hWnd, WM_COMMAND, ID_LANGUAGE_FIRST + 1, 0);
    EXPECT_EQ(MenuText(bar, 1), "D4");
    EXPECT_EQ(MenuText(GetSubMenu(bar, 4), 2), "D29");
    // Items keep their shortcuts, each time the menu is re-texted.
    EXPECT_EQ(MenuText(GetSubMenu(bar, 1), 3), "D9\tCtrl+S");
    SendMessageA(frame->m_hWnd, WM_INITMENUPOPUP, (WPARAM)GetSubMenu(bar, 1), 1);
    SendMessageA(frame->m_hWnd, WM_COMMAND, ID_LANGUAGE_FIRST + 1, 0);
    EXPECT_EQ(MenuText(GetSubMenu(bar, 1), 3), "D9\tCtrl+S");
    EXPECT_EQ(app.GetSetting("defaultLanguage"), 1);
    EXPECT_EQ(frame->GetToolTip(ID_VIEW_ZOOM_IN), "D59");

    // Settings defaults were written.
    EXPECT_EQ(app.GetSetting("lengthPerRow"), 6000);
    EXPECT_EQ(app.GetSetting("rowsPerPage"), 7);
    EXPECT_EQ(app.GetSetting("viewBarCount"), 1);
    EXPECT_EQ(app.GetSetting("showQuickStart"), 1);
    EXPECT_EQ(app.GetSetting("defaultMode"), 0);
    // Start-up registered the document type: registering again changes no
    // key, so the shell is not told to refresh every association again.
    EXPECT_FALSE(app.RegisterShellFileTypes(FALSE));

    // Closing the last document brings back the no-document menu, re-texted.
    SendMessageA(child->m_hWnd, WM_CLOSE, 0, 0);
    Pump(app);
    EXPECT_EQ(frame->MDIGetActive(), nullptr);
    bar = GetMenu(frame->m_hWnd);
    EXPECT_EQ(bar, frame->GetDefaultMenu());
    EXPECT_EQ(MenuText(bar, 1), "D12");
    EXPECT_EQ(MenuText(bar, 2), "D20");
    EXPECT_EQ(MenuText(GetSubMenu(bar, 1), 7), "D26");
    // File too: New, Open, the recent files, Exit.
    EXPECT_EQ(MenuText(bar, 0), "D4");
    EXPECT_EQ(MenuText(GetSubMenu(bar, 0), 0), "D6\tCtrl+N");
    EXPECT_EQ(MenuText(GetSubMenu(bar, 0), 1), "D7\tCtrl+O");
    EXPECT_EQ(MenuText(GetSubMenu(bar, 0), GetMenuItemCount(GetSubMenu(bar, 0)) - 1), "D13");

    // Closing the main window ends the loop.
    const HWND hwnd = frame->m_hWnd;
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_TRUE(QuitPosted());
    app.ExitInstance();
}

TEST(ProgramStart, CancelInLanguageChooserEndsBeforeTheMainWindow)
{
    InstallFolder folder(false);
    CKestrixApp app;
    DialogWatcher watcher(GetCurrentThreadId(), DialogWatcher::kPressEscape, true);
    EXPECT_FALSE(app.InitInstance());
    ASSERT_TRUE(watcher.found());
    EXPECT_EQ(watcher.title, "Choose Language");
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_TRUE(QuitPosted());
    EXPECT_EQ(app.GetSetting("defaultLanguage"), -1);
}

TEST(ProgramStart, TheOnlyLanguageIsSelectedAndAGoneSoundCardIsForgotten)
{
    InstallFolder folder(false);
    const std::string both = Languages();
    WriteText(folder.path + "languages.txt", both.substr(0, both.find("[Deutsch]")));
    // The stored device is past the end of the list (a removed USB device).
    WriteText(folder.path + "set.ton", "[soundCard]=7\r\n[showQuickStart]=0\r\n");
    CKestrixApp app;
    app.SetStartupPauses(false);
    ASSERT_TRUE(app.InitInstance());
    Pump(app);
    EXPECT_EQ(app.GetLanguageIndex(), 0);
    EXPECT_EQ(std::string(app.GetLangString(116)), "E116");
    EXPECT_EQ(app.GetSetting("soundCard"), 0);
    SendMessageA(app.m_pMainWnd->m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(QuitPosted());
    app.ExitInstance();
}

TEST(ProgramStart, ToolTipTextIsCutToTheBuffer)
{
    const std::string longText(200, 'x');
    char narrow[80];
    memset(narrow, 'y', sizeof narrow);
    CopyTipText(narrow, sizeof narrow, longText.c_str());
    EXPECT_EQ(strlen(narrow), 79u);
    wchar_t wide[80];
    CopyTipText(wide, 80, longText.c_str());
    EXPECT_EQ(wcslen(wide), 79u);
    CopyTipText(wide, 80, "Zoom");
    EXPECT_STREQ(wide, L"Zoom");
}

TEST(ProgramStart, ProgramRunsAndExitsCleanlyOnClose)
{
    InstallFolder folder(true);
    // No note about the quick-start page in the way of the close.
    WriteText(folder.path + "set.ton", "[defaultLanguage]=0\r\n[showQuickStart]=0\r\n");
    const std::string exe = ExeFolder() + "QuorvaPlindor.exe";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string cmd = "\"" + exe + "\"";
    ASSERT_TRUE(CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder.path.c_str(), &si, &pi));
    WaitForInputIdle(pi.hProcess, 60000);
    HWND main = nullptr;
    for (int i = 0; i < 600 && !main; ++i) {
        main = FindWindowA(nullptr, "Quorva Plindor");
        if (!main)
            Sleep(100);
    }
    ASSERT_NE(main, nullptr);
    // The splash keeps the main window disabled until start-up is done.
    for (int i = 0; i < 600 && !IsWindowEnabled(main); ++i)
        Sleep(100);
    EXPECT_TRUE(IsWindowEnabled(main));
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    if (code == STILL_ACTIVE)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}
