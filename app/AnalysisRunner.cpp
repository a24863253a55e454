#include "app/AnalysisRunner.h"

#include <new>

CAnalysisRunner::CAnalysisRunner(DWORD waitMs, Body body)
    : m_waitMs(waitMs), m_body(body), m_run(nullptr), m_thread(nullptr)
{
}

CAnalysisRunner::~CAnalysisRunner()
{
    Finish();
    if (m_run)
        Release(m_run);
}

void CAnalysisRunner::Release(Run* run)
{
    if (InterlockedDecrement(&run->refs) == 0)
        delete run;
}

DWORD WINAPI CAnalysisRunner::Thunk(LPVOID param)
{
    Run* run = static_cast<Run*>(param);
    UINT code = run->body(&run->job);
    Release(run);
    return code;
}

CAnalysisJob& CAnalysisRunner::Job()
{
    if (!m_run) {
        m_run = new Run();
        m_run->refs = 1;
        m_run->body = m_body;
    }
    return m_run->job;
}

bool CAnalysisRunner::Finish()
{
    if (!m_thread)
        return true;
    bool ended = WaitForSingleObject(m_thread, m_waitMs) == WAIT_OBJECT_0;
    CloseHandle(m_thread);
    m_thread = nullptr;
    if (!ended && m_run) {
        // The worker holds its own reference and frees the job at its end.
        Release(m_run);
        m_run = nullptr;
    }
    return ended;
}

bool CAnalysisRunner::Start(HWND notifyWnd, CWaveOut* player, CEngineLoader* engine, HANDLE cancelEvent,
                            unsigned int run)
{
    Finish();
    if (m_run)
        Release(m_run);
    m_run = nullptr;
    CAnalysisJob& job = Job();
    job.notifyWnd = notifyWnd;
    job.run = run;
    job.player = player;
    job.engine = engine;
    job.cancelEvent = cancelEvent;

    m_run->refs = 2; // the runner's and the worker's
    m_thread = CreateThread(nullptr, 0, &CAnalysisRunner::Thunk, m_run, CREATE_SUSPENDED, nullptr);
    if (!m_thread) {
        m_run->refs = 1;
        return false;
    }
    ResumeThread(m_thread);
    return true;
}
