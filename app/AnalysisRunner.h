#pragma once
// Owns the analysis worker's thread and the job it works on. A new run, or
// the owner's end, first waits for the previous worker; a worker that is
// still running when the wait times out keeps its job alive and frees it
// itself, so nothing it writes is freed under it.
#include <windows.h>

#include "app/AnalysisJob.h"

class CAnalysisRunner {
public:
    typedef UINT (*Body)(LPVOID job);
    static constexpr DWORD kDefaultWaitMs = 40000;

    explicit CAnalysisRunner(DWORD waitMs = kDefaultWaitMs, Body body = AnalysisThreadProc);
    ~CAnalysisRunner(); // Finish
    CAnalysisRunner(const CAnalysisRunner&) = delete;
    CAnalysisRunner& operator=(const CAnalysisRunner&) = delete;

    // The job of the current run; its results are read after the run's
    // last stage has arrived.
    CAnalysisJob& Job();

    // Waits for the previous worker, then starts one on a fresh job.
    // False when the thread cannot be made.
    bool Start(HWND notifyWnd, CWaveOut* player, CEngineLoader* engine, HANDLE cancelEvent, unsigned int run = 0);

    // Waits for the worker; false when it was still running at the limit
    // (it is left to finish on its own). True with no worker.
    bool Finish();

    bool HasWorker() const { return m_thread != nullptr; }

private:
    struct Run {
        CAnalysisJob job;
        LONG refs;
        Body body;
    };
    static DWORD WINAPI Thunk(LPVOID run);
    static void Release(Run* run);

    DWORD m_waitMs;
    Body m_body;
    Run* m_run;
    HANDLE m_thread;
};
