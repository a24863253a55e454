#pragma once
// Runs one compressed-file conversion at a time on a worker thread and
// reports its end to the notify window.
#include <windows.h>

#include "framework/CString.h"

class CWinThread;

class CMediaConvertJob {
public:
    CMediaConvertJob();
    // Waits up to 40000 ms for a running worker.
    ~CMediaConvertJob();
    CMediaConvertJob(const CMediaConvertJob&) = delete;
    CMediaConvertJob& operator=(const CMediaConvertJob&) = delete;

    // Starts converting source into target; returns at once. A previous
    // worker is first given up to 40000 ms to end. Every post carries run.
    void Start(HWND notifyWnd, const CString& source, const CString& target, unsigned int run = 0);

    // The worker's body; param is the worker's own copy of the job's values.
    static UINT __cdecl ThreadProc(LPVOID param);

private:
    void WaitForWorker();

    CWinThread* m_pWorker;
    HWND m_notifyWnd;
    CString m_target;
    CString m_source;
};
