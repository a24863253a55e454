#pragma once
// Threads of the framework layer: worker threads started through
// AfxBeginThread, and the message loop that the application class runs.
#include <windows.h>

#include "framework/CmdTarget.h"

class CWnd;

typedef UINT(__cdecl* AFX_THREADPROC)(LPVOID);

class CWinThread : public CCmdTarget {
public:
    CWinThread();
    CWinThread(AFX_THREADPROC proc, LPVOID param);
    ~CWinThread() override;

    // Creates the system thread; false when it could not be made.
    BOOL CreateThread(DWORD flags = 0, UINT stackSize = 0, LPSECURITY_ATTRIBUTES sa = nullptr);
    DWORD ResumeThread();
    DWORD SuspendThread();
    BOOL SetThreadPriority(int priority);
    operator HANDLE() const { return m_hThread; }

    // A thread without a procedure runs InitInstance, then Run.
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // The message loop with idle processing; returns ExitInstance's code.
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL PumpMessage();
    // lCount counts the idle calls since the last message; TRUE asks for more.
    virtual BOOL OnIdle(LONG lCount);
    virtual BOOL IsIdleMessage(MSG* pMsg);
    virtual CWnd* GetMainWnd();

    HANDLE m_hThread;
    DWORD m_nThreadID;
    // When set, the object deletes itself as its thread ends.
    BOOL m_bAutoDelete;
    CWnd* m_pMainWnd;
    MSG m_msgCur;

protected:
    AFX_THREADPROC m_pfnThreadProc;
    LPVOID m_pThreadParams;
    POINT m_ptCursorLast; // idle detection: mouse moves that did not move
    UINT m_nMsgLast;

private:
    static DWORD WINAPI Start(LPVOID self);
};

// Starts proc(param) on a new thread. With CREATE_SUSPENDED in flags the
// thread waits for ResumeThread, so the caller can clear m_bAutoDelete first.
CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority = THREAD_PRIORITY_NORMAL,
                           UINT stackSize = 0, DWORD flags = 0, LPSECURITY_ATTRIBUTES sa = nullptr);
