#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "DialogWatcher.h"
#include "app/LangText.h"
#include "app/LanguageTable.h"
#include "app/ProgressDlg.h"
#include "shared/Messages.h"

namespace {

constexpr UINT kProbe = WM_APP + 77;

struct Step {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

struct Probe {
    int bar;
    bool cancelVisible;
    std::string status;
};

struct Owner : IProgressOwner {
    int cancels = 0;
    int resets = 0;
    void CancelAnalysis() override { ++cancels; }
    void ResetCancelEvent() override { ++resets; }
};

// Posts its script to itself once running, the way the panel passes the
// workers' messages on; kProbe steps record what the dialog shows.
class ScriptedProgress : public CProgressDlg {
public:
    explicit ScriptedProgress(Owner* owner) : CProgressDlg(nullptr, owner) {}
    std::vector<Step> script;
    std::vector<Probe> probes;

protected:
    BOOL OnInitDialog() override
    {
        BOOL r = CProgressDlg::OnInitDialog();
        for (const Step& s : script) {
            WPARAM w = s.wParam;
            // A click of the Cancel button carries its window.
            LPARAM l = (s.msg == WM_COMMAND && LOWORD(w) == IDC_PROGRESS_CANCEL)
                           ? (LPARAM)GetDlgItem(IDC_PROGRESS_CANCEL)->GetSafeHwnd()
                           : s.lParam;
            PostMessage(s.msg, w, l);
        }
        return r;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kProbe) {
            char text[256] = {0};
            ::GetDlgItemTextA(m_hWnd, IDC_PROGRESS_TEXT, text, sizeof text);
            // The style bit: the dialog itself is shown only once idle.
            HWND button = ::GetDlgItem(m_hWnd, IDC_PROGRESS_CANCEL);
            Probe p;
            p.bar = (int)::SendDlgItemMessageA(m_hWnd, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0);
            p.cancelVisible = (::GetWindowLongPtrA(button, GWL_STYLE) & WS_VISIBLE) != 0;
            p.status = text;
            probes.push_back(p);
            return 0;
        }
        return CProgressDlg::WindowProc(message, wParam, lParam);
    }
};

const Step kProbeStep = {kProbe, 0, 0};
const Step kClickCancel = {WM_COMMAND, MAKEWPARAM(IDC_PROGRESS_CANCEL, BN_CLICKED), 0};

class ProgressDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&icc);
        char file[] = "progress-test-languages.txt";
        FILE* f = fopen(file, "w");
        ASSERT_NE(nullptr, f);
        fputs("[English]\n67=Convert failed\n68=Samples failed\n69=Analysing\n70=Preparing\n"
              "71=Channels\n106=Stop it\n122=Error\n144=No engine\n150=Not analysed\nend\n", f);
        fclose(f);
        ASSERT_TRUE(texts.Load(file));
        DeleteFileA(file);
        texts.SelectIndex(0);
        SetLangTextTable(&texts);
    }
    void TearDown() override { SetLangTextTable(nullptr); }

    CLanguageTable texts;
    Owner owner;
};

} // namespace

TEST_F(ProgressDlgTest, AnalysisStagesThenSuccess)
{
    ScriptedProgress dlg(&owner);
    dlg.script = {{WM_ANALYSIS_PROGRESS, 5, 0}, kProbeStep, {WM_ANALYSIS_PROGRESS, 3, 0}, kProbeStep,
                  {WM_ANALYSIS_PROGRESS, 1, 42}, kProbeStep, {WM_ANALYSIS_PROGRESS, 2, 0},
                  {WM_ANALYSIS_PROGRESS, 0, 0}}; // after the end: lost, no message box
    EXPECT_EQ(IDOK, dlg.DoModal());
    ASSERT_EQ(3u, dlg.probes.size());
    EXPECT_EQ("Preparing", dlg.probes[0].status);
    EXPECT_TRUE(dlg.probes[0].cancelVisible);
    EXPECT_EQ(0, dlg.probes[0].bar);
    EXPECT_EQ("Analysing", dlg.probes[1].status);
    EXPECT_EQ(42, dlg.probes[2].bar);
    EXPECT_EQ("Analysing", dlg.probes[2].status);
    EXPECT_EQ(0, owner.cancels);
}

TEST_F(ProgressDlgTest, CancelAsksTheOwnerAndWaitsForTheWorker)
{
    ScriptedProgress dlg(&owner);
    dlg.script = {{WM_ANALYSIS_PROGRESS, 5, 0}, kClickCancel, {WM_COMMAND, IDCANCEL, 0}, {WM_COMMAND, IDOK, 0},
                  kProbeStep, {WM_ANALYSIS_PROGRESS, 7, 0}};
    DialogWatcher watcher(GetCurrentThreadId(), DialogWatcher::kCommandOk, true);
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    // The run stopped because the user asked: no message.
    EXPECT_NE("Error", watcher.title);
    // The button and Escape both asked; neither closed the dialog.
    EXPECT_EQ(2, owner.cancels);
    ASSERT_EQ(1u, dlg.probes.size());
    EXPECT_EQ(1, owner.resets);
}

TEST_F(ProgressDlgTest, FailuresTellTheUserAndEndWithCancel)
{
    struct Case {
        UINT msg;
        WPARAM code;
        const char* message;
    } cases[] = {{WM_ANALYSIS_PROGRESS, 0, "Samples failed"}, {WM_ANALYSIS_PROGRESS, 4, "Channels"},
                 {WM_ANALYSIS_NO_ENGINE, 0, "No engine"}, {WM_ANALYSIS_PROGRESS, 7, "Not analysed"},
                 {WM_DECODE_STATUS, 0, "Convert failed"},
                 {WM_CD_RIP_STATUS, 0, "Convert failed"}};
    for (const Case& c : cases) {
        ScriptedProgress dlg(&owner);
        // A success code queued behind the failure belongs to a finished run.
        dlg.script = {{c.msg, c.code, 0}, {c.msg == WM_ANALYSIS_PROGRESS || c.msg == WM_ANALYSIS_NO_ENGINE
                                               ? WM_ANALYSIS_PROGRESS : c.msg,
                                           c.msg == WM_ANALYSIS_PROGRESS || c.msg == WM_ANALYSIS_NO_ENGINE ? 2u : 1u, 0}};
        DialogWatcher watcher(GetCurrentThreadId(), DialogWatcher::kCommandOk, true);
        EXPECT_EQ(IDCANCEL, dlg.DoModal()) << c.message;
        ASSERT_TRUE(watcher.found()) << c.message;
        EXPECT_EQ("Error", watcher.title);
        bool shown = false;
        for (const std::string& t : watcher.texts)
            shown = shown || t == c.message;
        EXPECT_TRUE(shown) << c.message;
    }
    EXPECT_EQ(2, owner.resets); // the missing engine and a stopped run clear the cancel event too
}

TEST_F(ProgressDlgTest, ConversionProgressAndDone)
{
    for (UINT msg : {WM_DECODE_STATUS, WM_CD_RIP_STATUS}) {
        ScriptedProgress dlg(&owner);
        dlg.SetStatusText("Converting to wav...");
        dlg.script = {{msg, 2, 0}, kProbeStep, {msg, 2, 55}, kProbeStep, {msg, 1, 0}};
        EXPECT_EQ(IDOK, dlg.DoModal());
        ASSERT_EQ(2u, dlg.probes.size());
        EXPECT_EQ("Converting to wav...", dlg.probes[0].status);
        EXPECT_EQ(55, dlg.probes[1].bar);
        EXPECT_FALSE(dlg.probes[1].cancelVisible);
    }
    ScriptedProgress other(&owner);
    other.script = {{WM_DECODE_STATUS, 9, 0}};
    EXPECT_EQ(IDCANCEL, other.DoModal());
}

TEST_F(ProgressDlgTest, MessagesOfAnotherRunAreIgnored)
{
    // A failed rip's late word, and another run's end, while run 4 converts.
    ScriptedProgress dlg(&owner);
    dlg.SetRun(4);
    dlg.script = {{WM_CD_RIP_STATUS, RunCode(0, 3), 0}, {WM_ANALYSIS_PROGRESS, RunCode(2, 3), 0},
                  {WM_DECODE_RESULT, RunCode(0, 5), 0}, {WM_CD_RIP_STATUS, RunCode(2, 4), 60}, kProbeStep,
                  {WM_CD_RIP_STATUS, RunCode(1, 4), 0}};
    DialogWatcher watcher(GetCurrentThreadId(), DialogWatcher::kCommandOk, true);
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_FALSE(watcher.found()) << watcher.title;
    ASSERT_EQ(1u, dlg.probes.size());
    EXPECT_EQ(60, dlg.probes[0].bar);
}

TEST_F(ProgressDlgTest, ReusedAndSafeWithoutAWindow)
{
    ScriptedProgress dlg(&owner);
    EXPECT_TRUE(dlg.SetPos(30)); // not running: nothing to set
    dlg.script = {{WM_ANALYSIS_PROGRESS, 5, 0}, {WM_ANALYSIS_PROGRESS, 2, 0}};
    EXPECT_EQ(IDOK, dlg.DoModal());
    dlg.script = {kProbeStep, {WM_ANALYSIS_PROGRESS, 9, 0}};
    dlg.probes.clear();
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    ASSERT_EQ(1u, dlg.probes.size());
    EXPECT_FALSE(dlg.probes[0].cancelVisible); // each run starts with it hidden
}
