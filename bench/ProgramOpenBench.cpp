// The program's own open of a song, timed from the file dialog's OK to the
// progress dialog's end: the program runs in-process (as its tests drive
// it) from a private installation folder, and the transport panel loads the
// file as after the dialog.
//   program_open_bench FILE [runs]
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
#include "tests/app/ProgramTestSupport.h"

using namespace progtest;

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::printf("usage: program_open_bench FILE [runs]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const CString song(argv[1]);
    // The program reads the process's command line as a document to open:
    // the benchmark's own arguments are not one.
    __argc = 1;
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    std::vector<double> times;
    {
        const std::unique_ptr<TestInstallation> folder = MakeBenchInstallation("qp-open-bench-");
        if (!folder)
            return 1;
        BoxWatcher boxes(GetCurrentThreadId());
        boxes.SetAnswer(IDNO);
        std::unique_ptr<CKestrixApp> app = StartBenchProgram();
        if (!app)
            return 1;
        CControlDlg* panel = app->GetControlDlg();
        for (int i = 0; i < runs && panel; ++i) {
            PumpFor(*app, 200);
            LARGE_INTEGER t0, t1;
            QueryPerformanceCounter(&t0);
            const bool ok = panel->LoadAudioFile(song, CString("bench"), 1);
            QueryPerformanceCounter(&t1);
            if (!ok || !app->GetActiveDoc() || !app->GetActiveDoc()->HasAudio()) {
                std::printf("the program did not open %s\n", song.GetString());
                return 1;
            }
            times.push_back((double)(t1.QuadPart - t0.QuadPart) / (double)freq.QuadPart);
        }
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd)
            SendMessageA(app->m_pMainWnd->m_hWnd, WM_CLOSE, 0, 0);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ;
        app->ExitInstance();
    }
    if (times.empty())
        return 1;
    std::sort(times.begin(), times.end());
    std::printf("program open, OK to the progress dialog's end: %.3f s fastest, %.3f median, %.3f slowest of %d\n",
                times.front(), times[times.size() / 2], times.back(), (int)times.size());
    return 0;
}
