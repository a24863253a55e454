#include "Thread.h"

CWinThread::CWinThread()
    : m_hThread(nullptr), m_nThreadID(0), m_bAutoDelete(TRUE), m_pMainWnd(nullptr), m_msgCur(),
      m_pfnThreadProc(nullptr), m_pThreadParams(nullptr), m_ptCursorLast(), m_nMsgLast(0)
{
}

CWinThread::CWinThread(AFX_THREADPROC proc, LPVOID param) : CWinThread()
{
    m_pfnThreadProc = proc;
    m_pThreadParams = param;
}

CWinThread::~CWinThread()
{
    if (m_hThread)
        CloseHandle(m_hThread);
}

DWORD WINAPI CWinThread::Start(LPVOID p)
{
    CWinThread* self = static_cast<CWinThread*>(p);
    UINT code;
    if (self->m_pfnThreadProc)
        code = self->m_pfnThreadProc(self->m_pThreadParams);
    else
        code = self->InitInstance() ? self->Run() : self->ExitInstance();
    if (self->m_bAutoDelete)
        delete self;
    return code;
}

BOOL CWinThread::CreateThread(DWORD flags, UINT stackSize, LPSECURITY_ATTRIBUTES sa)
{
    // Always start suspended so that the handle is stored before the
    // thread can end and delete the object.
    m_hThread = ::CreateThread(sa, stackSize, &CWinThread::Start, this, CREATE_SUSPENDED, &m_nThreadID);
    if (!m_hThread)
        return FALSE;
    if (!(flags & CREATE_SUSPENDED))
        ::ResumeThread(m_hThread);
    return TRUE;
}

DWORD CWinThread::ResumeThread() { return ::ResumeThread(m_hThread); }
DWORD CWinThread::SuspendThread() { return ::SuspendThread(m_hThread); }
BOOL CWinThread::SetThreadPriority(int priority) { return ::SetThreadPriority(m_hThread, priority); }

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize, DWORD flags,
                           LPSECURITY_ATTRIBUTES sa)
{
    CWinThread* t = new CWinThread(proc, param);
    if (!t->CreateThread(flags | CREATE_SUSPENDED, stackSize, sa)) {
        delete t;
        return nullptr;
    }
    t->SetThreadPriority(priority);
    if (!(flags & CREATE_SUSPENDED))
        t->ResumeThread();
    return t;
}
