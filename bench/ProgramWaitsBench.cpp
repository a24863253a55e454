// What a user waits for in the program with the 4-minute song, each timed
// from the user's action to the end of the paint it brings:
//   - a saved document opened, from the Open dialog's OK (the song is read
//     again from its file, the lead sheet's pages from the document);
//   - the Open dialogs, File > Open and the panel's Open, from the command
//     to the dialog drawn;
//   - a changed setting (the row length), from the Settings dialog's OK.
// The program runs in-process (as its tests drive it) from a private
// installation folder.
//   program_waits_bench [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/ControlDlg.h"
#include "app/KestrixApp.h"
#include "app/KestrixDoc.h"
#include "bench/BenchProgram.h"
#include "resources/resource.h"
#include "tests/app/ProgramTestSupport.h"

using namespace progtest;

namespace {

LARGE_INTEGER g_freq;

double Now()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart / (double)g_freq.QuadPart;
}

// The first dialog box that comes up while a command runs: it is drawn,
// the time is taken, and it is answered with a button.
struct DialogTiming {
    HHOOK hook = nullptr;
    HWND dialog = nullptr;
    UINT_PTR timer = 0;
    double shown = 0.0;
    double answered = 0.0;
    int answer = IDCANCEL;
    int rowSeconds = 0; // for the Settings dialog: the new row length
    std::string file;   // for a file dialog: the name typed
};
DialogTiming g_dialog;

void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR id, DWORD)
{
    // Timers come after the paints: the dialog is on the screen now.
    ::KillTimer(nullptr, id);
    HWND d = g_dialog.dialog;
    ::RedrawWindow(d, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    g_dialog.shown = Now();
    if (g_dialog.rowSeconds > 0)
        ::SetDlgItemInt(d, IDC_ROW_SECONDS, (UINT)g_dialog.rowSeconds, FALSE);
    if (!g_dialog.file.empty())
        if (HWND edit = BoxWatcher::FileNameEdit(d))
            ::SendMessageA(edit, WM_SETTEXT, 0, (LPARAM)g_dialog.file.c_str());
    g_dialog.answered = Now();
    ::PostMessageA(d, WM_COMMAND, MAKEWPARAM(g_dialog.answer, BN_CLICKED), 0);
}

LRESULT CALLBACK DialogHook(int code, WPARAM wp, LPARAM lp)
{
    if (code == HCBT_ACTIVATE && !g_dialog.dialog) {
        char cls[16] = "";
        ::GetClassNameA((HWND)wp, cls, sizeof cls);
        if (lstrcmpA(cls, "#32770") == 0) {
            g_dialog.dialog = (HWND)wp;
            g_dialog.timer = ::SetTimer(nullptr, 0, 1, &AnswerDialog);
        }
    }
    return ::CallNextHookEx(g_dialog.hook, code, wp, lp);
}

// Sends the command; returns when its modal dialog is gone.
void RunDialogCommand(CWnd* frame, UINT command, int answer, int rowSeconds, const std::string& file = "")
{
    g_dialog = DialogTiming();
    g_dialog.answer = answer;
    g_dialog.rowSeconds = rowSeconds;
    g_dialog.file = file;
    g_dialog.hook = ::SetWindowsHookExA(WH_CBT, &DialogHook, nullptr, GetCurrentThreadId());
    frame->SendMessage(WM_COMMAND, command);
    ::UnhookWindowsHookEx(g_dialog.hook);
}

void DrawAll(CWnd* frame)
{
    ::RedrawWindow(frame->m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

struct Figures {
    const char* what;
    std::vector<double> times;
};

void Report(const Figures& f)
{
    if (f.times.empty())
        return;
    std::vector<double> t = f.times;
    const double first = t.front();
    std::sort(t.begin(), t.end());
    std::printf("%s: %.3f s fastest, %.3f median, %.3f slowest of %d (the first %.3f)\n", f.what, t.front(),
                t[t.size() / 2], t.back(), (int)t.size(), first);
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    // The program reads the process's command line as a document to open.
    __argc = 1;
    QueryPerformanceFrequency(&g_freq);
    Figures open{"saved document opened, OK to painted", {}};
    Figures fileDialog{"File > Open dialog, command to drawn", {}};
    Figures panelDialog{"panel's Open dialog, command to drawn", {}};
    Figures settings{"row length changed, OK to painted", {}};
    {
        std::string song;
        const std::unique_ptr<TestInstallation> folder = MakeBenchInstallation("qp-waits-bench-", &song);
        if (!folder)
            return 1;
        const std::string saved = folder->path + "bench-song.vqx";
        BoxWatcher watcher(GetCurrentThreadId());
        watcher.SetAnswer(IDNO);
        std::unique_ptr<CKestrixApp> app = StartBenchProgram();
        if (!app)
            return 1;
        CControlDlg* panel = app->GetControlDlg();
        CWnd* frame = app->m_pMainWnd;
        CKestrixDoc* doc = app->GetActiveDoc();
        if (doc)
            doc->SetAudioPath(CString(song.c_str())); // as the panel's Open sets it
        if (!panel || !frame || !doc || !panel->LoadAudioFile(CString(song.c_str()), CString("bench"), 1)) {
            std::printf("the program did not open %s\n", song.c_str());
            return 1;
        }
        panel->OnAnalyze();
        if (!PumpUntil(*app, [&] { return doc->HasChords(); }, 60000)) {
            std::printf("the song was not analysed\n");
            return 1;
        }
        // As a user's document: the lead sheet was made once, its pages are
        // stored with the song.
        frame->SendMessage(WM_COMMAND, ID_VIEW_LEAD_SHEET);
        Pump(*app);
        frame->SendMessage(WM_COMMAND, ID_VIEW_CHORDS);
        Pump(*app);
        if (!doc->OnSaveDocument(saved.c_str())) {
            std::printf("the song was not saved\n");
            return 1;
        }
        doc->SetModifiedFlag(FALSE);
        doc->OnCloseDocument();
        Pump(*app);

        for (int i = 0; i < runs; ++i) {
            RunDialogCommand(frame, ID_FILE_OPEN, IDOK, 0, saved);
            DrawAll(frame);
            const double t1 = Now();
            const double t0 = g_dialog.answered;
            auto* kd = app->GetActiveDoc();
            if (!kd || !kd->HasAudio() || !kd->HasChords() || !kd->GetPlayer() || kd->GetPlayer()->GetLengthMs() < 1000) {
                std::printf("the saved document did not open whole\n");
                return 1;
            }
            open.times.push_back(t1 - t0);
            Pump(*app);

            for (Figures* f : {&fileDialog, &panelDialog}) {
                const double c0 = Now();
                RunDialogCommand(frame, f == &fileDialog ? ID_FILE_OPEN : ID_CONTROL_LOAD, IDCANCEL, 0);
                if (!g_dialog.dialog) {
                    std::printf("no Open dialog came up\n");
                    return 1;
                }
                f->times.push_back(g_dialog.shown - c0);
                Pump(*app);
            }

            RunDialogCommand(frame, ID_OPTIONS_SETTINGS, IDOK, i % 2 ? 6 : 5);
            DrawAll(frame);
            const double s1 = Now();
            if (!g_dialog.dialog || kd->GetRowLength() != (i % 2 ? 6000 : 5000)) {
                std::printf("the Settings dialog did not change the row length\n");
                return 1;
            }
            settings.times.push_back(s1 - g_dialog.answered);
            Pump(*app);
            kd->SetModifiedFlag(FALSE);
            kd->OnCloseDocument();
            Pump(*app);
        }
        EndProgram(*app);
    }
    for (const Figures* f : {&open, &fileDialog, &panelDialog, &settings})
        Report(*f);
    return 0;
}
