#pragma once
// Threads of the framework layer: worker threads started through
// AfxBeginThread. The application class extends CWinThread with its
// message loop.
#include <windows.h>

typedef UINT(__cdecl* AFX_THREADPROC)(LPVOID);

class CWinThread {
public:
    CWinThread();
    CWinThread(AFX_THREADPROC proc, LPVOID param);
    virtual ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // Creates the system thread; false when it could not be made.
    BOOL CreateThread(DWORD flags = 0, UINT stackSize = 0, LPSECURITY_ATTRIBUTES sa = nullptr);
    DWORD ResumeThread();
    DWORD SuspendThread();
    BOOL SetThreadPriority(int priority);
    operator HANDLE() const { return m_hThread; }

    HANDLE m_hThread;
    DWORD m_nThreadID;
    // When set, the object deletes itself as its thread ends.
    BOOL m_bAutoDelete;

protected:
    AFX_THREADPROC m_pfnThreadProc;
    LPVOID m_pThreadParams;

private:
    static DWORD WINAPI Start(LPVOID self);
};

// Starts proc(param) on a new thread. With CREATE_SUSPENDED in flags the
// thread waits for ResumeThread, so the caller can clear m_bAutoDelete first.
CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority = THREAD_PRIORITY_NORMAL,
                           UINT stackSize = 0, DWORD flags = 0, LPSECURITY_ATTRIBUTES sa = nullptr);
