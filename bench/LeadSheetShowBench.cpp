// The first show of the lead sheet, timed from the menu command to the end
// of its first paint: the program runs in-process (as its tests drive it),
// opens the benchmarks' 4-minute song, analyses it, shows the chord grid,
// then the lead sheet. Each run opens the song afresh, so each show is a
// first one for its document; the very first also loads the rich-edit
// library.
//   leadsheet_show_bench [runs]
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
#include "views/ChordEditView.h"

using namespace progtest;

namespace {

double Seconds(const LARGE_INTEGER& a, const LARGE_INTEGER& b, const LARGE_INTEGER& freq)
{
    return (double)(b.QuadPart - a.QuadPart) / (double)freq.QuadPart;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    // The program reads the process's command line as a document to open.
    __argc = 1;
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    std::vector<double> times;
    size_t boxes = 0;
    {
        std::string song;
        const std::unique_ptr<TestInstallation> folder = MakeBenchInstallation("qp-sheet-bench-", &song);
        if (!folder)
            return 1;
        BoxWatcher watcher(GetCurrentThreadId());
        watcher.SetAnswer(IDNO);
        std::unique_ptr<CKestrixApp> app = StartBenchProgram();
        if (!app)
            return 1;
        CControlDlg* panel = app->GetControlDlg();
        CWnd* frame = app->m_pMainWnd;
        for (int i = 0; i < runs && panel && frame; ++i) {
            if (!panel->LoadAudioFile(CString(song.c_str()), CString("bench"), 1) || !app->GetActiveDoc()) {
                std::printf("the program did not open %s\n", song.c_str());
                return 1;
            }
            CKestrixDoc* doc = app->GetActiveDoc();
            panel->OnAnalyze();
            if (!PumpUntil(*app, [&] { return doc->HasChords(); }, 60000)) {
                std::printf("no chords after the analysis\n");
                return 1;
            }
            frame->SendMessage(WM_COMMAND, ID_VIEW_CHORDS);
            PumpFor(*app, 300);
            LARGE_INTEGER t0, t1;
            QueryPerformanceCounter(&t0);
            frame->SendMessage(WM_COMMAND, ID_VIEW_LEAD_SHEET);
            frame->UpdateWindow();
            RedrawWindow(frame->m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            QueryPerformanceCounter(&t1);
            times.push_back(Seconds(t0, t1, freq));
            if (auto* sheet = dynamic_cast<CChordEditView*>(doc->GetLeadSheetView()))
                boxes = sheet->GetTextBoxes().size();
            frame->SendMessage(WM_COMMAND, ID_VIEW_CHORDS);
            Pump(*app);
        }
        if (frame && frame->m_hWnd)
            SendMessageA(frame->m_hWnd, WM_CLOSE, 0, 0);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ;
        app->ExitInstance();
    }
    if (times.empty())
        return 1;
    const double first = times.front();
    std::sort(times.begin(), times.end());
    std::printf("lead sheet, first show of a 4-minute song (%zu pages): %.3f s fastest, %.3f median, %.3f slowest of %d;"
                " the program's very first %.3f s\n",
                boxes, times.front(), times[times.size() / 2], times.back(), (int)times.size(), first);
    return 0;
}
