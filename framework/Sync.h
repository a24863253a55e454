#pragma once
// Synchronisation objects of the framework layer.
#include <windows.h>

// Re-entrant: the same thread may lock it again.
class CCriticalSection {
public:
    CCriticalSection() { InitializeCriticalSection(&m_cs); }
    ~CCriticalSection() { DeleteCriticalSection(&m_cs); }
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;
    BOOL Lock() { EnterCriticalSection(&m_cs); return TRUE; }
    BOOL Unlock() { LeaveCriticalSection(&m_cs); return TRUE; }

private:
    CRITICAL_SECTION m_cs;
};

class CEvent {
public:
    explicit CEvent(BOOL initiallyOwn = FALSE, BOOL manualReset = FALSE, LPCSTR name = nullptr,
                    LPSECURITY_ATTRIBUTES sa = nullptr)
        : m_hObject(CreateEventA(sa, manualReset, initiallyOwn, name))
    {
    }
    ~CEvent()
    {
        if (m_hObject)
            CloseHandle(m_hObject);
    }
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;
    BOOL SetEvent() { return ::SetEvent(m_hObject); }
    BOOL ResetEvent() { return ::ResetEvent(m_hObject); }
    BOOL Lock(DWORD timeout = INFINITE) { return WaitForSingleObject(m_hObject, timeout) == WAIT_OBJECT_0; }
    operator HANDLE() const { return m_hObject; }

    HANDLE m_hObject;
};

// Scoped lock of a critical section.
class CSingleLock {
public:
    explicit CSingleLock(CCriticalSection* cs, BOOL lockNow = FALSE) : m_cs(cs), m_locked(FALSE)
    {
        if (lockNow)
            Lock();
    }
    ~CSingleLock() { Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;
    BOOL Lock()
    {
        if (!m_locked) {
            m_cs->Lock();
            m_locked = TRUE;
        }
        return TRUE;
    }
    BOOL Unlock()
    {
        if (m_locked) {
            m_cs->Unlock();
            m_locked = FALSE;
        }
        return TRUE;
    }
    BOOL IsLocked() const { return m_locked; }

private:
    CCriticalSection* m_cs;
    BOOL m_locked;
};
