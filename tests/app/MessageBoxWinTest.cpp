#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "DialogWatcher.h"
#include "app/LangText.h"
#include "app/LanguageTable.h"
#include "app/MessageBoxDemo.h"
#include "framework/App.h"

namespace {

bool Shows(const DialogWatcher& w, const std::string& text)
{
    return std::find(w.texts.begin(), w.texts.end(), text) != w.texts.end();
}

const char kLongLine[] =
    "A second line that is far wider than the message field of the box, so it must scroll instead of wrapping";

} // namespace

TEST(ShowMessageBox, EscapeClosesWithCancel)
{
    DialogWatcher watcher(GetCurrentThreadId(), DialogWatcher::kPressEscape, true);
    std::string message = std::string("First line\r\n") + kLongLine;
    INT_PTR result = ShowMessageBox(message.c_str(), "Warning caption", false, nullptr);
    EXPECT_EQ(IDCANCEL, result);
    ASSERT_TRUE(watcher.found());
    EXPECT_EQ("Warning caption", watcher.title);
    EXPECT_TRUE(Shows(watcher, message));
    // No link line asked for: label and link stay empty.
    for (size_t i = 0; i < watcher.ids.size(); ++i)
        if (watcher.ids[i] == IDC_MESSAGE_LINK || watcher.ids[i] == IDC_MESSAGE_LINK_LABEL) {
            EXPECT_EQ("", watcher.texts[i]);
        }
}

TEST(ShowMessageBox, OkButtonClosesWithOk)
{
    DialogWatcher watcher(GetCurrentThreadId(), DialogWatcher::kClickOk, true);
    EXPECT_EQ(IDOK, ShowMessageBox("Done.", "Note", false, nullptr));
    ASSERT_TRUE(watcher.found());
    EXPECT_EQ("Note", watcher.title);
}

TEST(ShowMessageBox, LinkLineShowsLabelAndAddress)
{
    CLanguageTable texts;
    char file[] = "msgbox-test-languages.txt";
    FILE* f = fopen(file, "w");
    ASSERT_NE(nullptr, f);
    fputs("[English]\n119=Our page:\nend\n", f);
    fclose(f);
    ASSERT_TRUE(texts.Load(file));
    DeleteFileA(file);
    texts.SelectIndex(0);
    SetLangTextTable(&texts);

    DialogWatcher watcher(GetCurrentThreadId(), DialogWatcher::kCommandOk, true);
    EXPECT_EQ(IDOK, ShowMessageBox("Text", "Caption", true, nullptr));
    SetLangTextTable(nullptr);
    ASSERT_TRUE(watcher.found());
    for (size_t i = 0; i < watcher.ids.size(); ++i) {
        if (watcher.ids[i] == IDC_MESSAGE_LINK_LABEL) {
            EXPECT_EQ("Our page:", watcher.texts[i]);
        }
        if (watcher.ids[i] == IDC_MESSAGE_LINK) {
            EXPECT_EQ(kProgramWebAddress, watcher.texts[i]);
        }
    }
}

TEST(ShowMessageBox, NullParentIsTheMainWindow)
{
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, "Main window of the test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                               400, 300, nullptr, nullptr));
    CWinApp theApp("MessageBoxTest");
    CWinApp* app = AfxGetApp();
    ASSERT_EQ(&theApp, app);
    app->m_pMainWnd = &frame;
    {
        DialogWatcher watcher(GetCurrentThreadId(), DialogWatcher::kCommandOk, true);
        EXPECT_EQ(IDOK, ShowMessageBox("Text", "Caption", false, nullptr));
        ASSERT_TRUE(watcher.found());
        EXPECT_EQ("Main window of the test", watcher.parentTitle);
    }
    {
        // An explicit parent wins.
        CWnd other;
        ASSERT_TRUE(other.CreateEx(0, nullptr, "Other window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                   nullptr, nullptr));
        DialogWatcher watcher(GetCurrentThreadId(), DialogWatcher::kCommandOk, true);
        EXPECT_EQ(IDOK, ShowMessageBox("Text", "Caption", false, &other));
        ASSERT_TRUE(watcher.found());
        EXPECT_EQ("Other window", watcher.parentTitle);
        other.DestroyWindow();
    }
    app->m_pMainWnd = nullptr;
    frame.DestroyWindow();
}

TEST(ShowMessageBox, LinkClickOpensTheAddressOrTellsWhyNot)
{
    // Built hidden, so that the only box on screen is the failure report.
    CMessageBoxDemo box(nullptr);
    box.SetCaption("Caption");
    box.SetLinkText("C:\\no-such-folder\\missing-page.qqq");
    ASSERT_TRUE(box.Create(IDD_MESSAGE_BOX, nullptr));
    box.SendMessage(WM_PAINT); // the link takes its text when the box paints
    char shown[128] = {0};
    GetDlgItemTextA(box.m_hWnd, IDC_MESSAGE_LINK, shown, sizeof shown);
    EXPECT_STREQ("C:\\no-such-folder\\missing-page.qqq", shown);

    DialogWatcher watcher(GetCurrentThreadId(), DialogWatcher::kCommandOk);
    box.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_MESSAGE_LINK, BN_CLICKED),
                    (LPARAM)GetDlgItem(box.m_hWnd, IDC_MESSAGE_LINK));
    ASSERT_TRUE(watcher.found());
    bool told = false;
    for (const std::string& text : watcher.texts)
        told = told || text.rfind("Unable to open hyperlink:", 0) == 0;
    EXPECT_TRUE(told);
    box.DestroyWindow();
}
