#pragma once
// Copies one audio-CD track (a ".cda" path such as "E:\Track03.cda") into a
// 44.1 kHz 16-bit stereo PCM WAV file on a worker thread, reporting through
// WM_CD_RIP_STATUS to the notify window.
#include <windows.h>

#include "akrip/akrip.h"
#include "framework/CString.h"

class CWinThread;

class CCdRipper {
public:
    CCdRipper();
    // Waits up to 40000 ms for a running rip, then frees its thread object.
    // A rip still running then goes on alone: it owns what it uses.
    ~CCdRipper();
    CCdRipper(const CCdRipper&) = delete;
    CCdRipper& operator=(const CCdRipper&) = delete;

    // Starts ripping the track of source into target; 1 when the worker was
    // started, 0 otherwise (the failure code is posted to notifyWindow).
    // Every post carries run (see RunCode; 0: none).
    int StartRip(HWND notifyWindow, CString source, CString target, unsigned int run = 0);

    // Position of the drive letter among the CD-ROM drives, or -1.
    int FindCdDriveIndex(CString letter);
    // Opens the listed drive at index; the new handle or 0.
    HCDROM OpenDrive(int index);

    // The worker's body; param is the worker's own copy of what it needs.
    static UINT __cdecl RipThreadProc(LPVOID param);

private:
    void WaitForWorker();
    // A start that failed after the drive was opened gives it back.
    int Refuse(unsigned int run);

    HCDROM m_hDrive;
    CDLIST m_driveList;
    int m_driveIndex;
    BYTE m_readType;
    BYTE m_jitterCount;
    BYTE m_overlapCount;
    CWinThread* m_pWorker;
    HWND m_hNotify;
    CString m_target;
    DWORD m_startFrame;
    DWORD m_frameCount;
};
