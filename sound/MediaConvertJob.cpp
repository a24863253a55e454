#include "MediaConvertJob.h"

#include <new>

#include "MediaDecoder.h"
#include "framework/Thread.h"
#include "shared/Messages.h"

namespace {
constexpr DWORD kWorkerWaitMs = 40000;

// What the worker needs, owned by the worker: nothing of the job (which may
// be gone when a wait for the worker ran out) is touched on the thread.
struct ConvertTask {
    HWND notifyWnd;
    unsigned int run;
    CString source;
    CString target;
    HMODULE module; // keeps this library loaded while the worker runs
};
} // namespace

CMediaConvertJob::CMediaConvertJob() : m_pWorker(nullptr), m_notifyWnd(nullptr) {}

CMediaConvertJob::~CMediaConvertJob() { WaitForWorker(); }

void CMediaConvertJob::WaitForWorker()
{
    if (!m_pWorker)
        return;
    if (WaitForSingleObject(m_pWorker->m_hThread, kWorkerWaitMs) == WAIT_OBJECT_0)
        delete m_pWorker;
    // Otherwise the thread still runs inside its thread object: leave the
    // object to it rather than free memory in use.
    m_pWorker = nullptr;
}

void CMediaConvertJob::Start(HWND notifyWnd, const CString& source, const CString& target, unsigned int run)
{
    m_notifyWnd = notifyWnd;
    m_source = source;
    m_target = target;
    WaitForWorker();

    ConvertTask* task = new (std::nothrow) ConvertTask{notifyWnd, run, source, target, nullptr};
    if (!task) {
        if (notifyWnd)
            PostMessageA(notifyWnd, WM_DECODE_RESULT, RunCode(DECODE_FAILED, run), 0);
        return;
    }
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, (LPCSTR)(void*)&CMediaConvertJob::ThreadProc,
                       &task->module);
    if (task->module == GetModuleHandleA(nullptr))
        task->module = nullptr; // linked into the program itself
    m_pWorker = AfxBeginThread(&CMediaConvertJob::ThreadProc, task, THREAD_PRIORITY_NORMAL, 0,
                               CREATE_SUSPENDED);
    if (!m_pWorker) {
        if (task->module)
            FreeLibrary(task->module);
        delete task;
        if (notifyWnd)
            PostMessageA(notifyWnd, WM_DECODE_RESULT, RunCode(DECODE_FAILED, run), 0);
        return;
    }
    m_pWorker->m_bAutoDelete = FALSE;
    m_pWorker->ResumeThread();
}

UINT __cdecl CMediaConvertJob::ThreadProc(LPVOID param)
{
    ConvertTask* task = static_cast<ConvertTask*>(param);
    HMODULE module = task->module;
    {
        CMediaDecoder decoder(task->notifyWnd, task->run);
        int result = decoder.Convert(task->source, task->target);
        if (task->notifyWnd) {
            if (result == 1)
                PostMessageA(task->notifyWnd, WM_DECODE_STATUS, RunCode(DECODE_DONE, task->run), 0);
            else
                PostMessageA(task->notifyWnd, WM_DECODE_RESULT, RunCode(DECODE_FAILED, task->run), 0);
        }
    }
    delete task;
    // Drop our hold on the library without returning into it.
    if (module)
        FreeLibraryAndExitThread(module, 0);
    return 0;
}
