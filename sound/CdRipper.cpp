#include "CdRipper.h"

#include <cstring>

#include "framework/Thread.h"

CCdRipper::CCdRipper()
    : m_hDrive(0), m_driveIndex(-1), m_readType(0), m_jitterCount(1), m_overlapCount(3),
      m_pWorker(nullptr), m_hNotify(nullptr), m_startFrame(0), m_frameCount(0)
{
    memset(&m_driveList, 0, sizeof m_driveList);
}

CCdRipper::~CCdRipper()
{
    if (m_pWorker) {
        WaitForSingleObject(m_pWorker->m_hThread, 40000);
        delete m_pWorker;
        m_pWorker = nullptr;
    }
}

int CCdRipper::StartRip(HWND, CString, CString) { return 0; }
int CCdRipper::FindCdDriveIndex(CString) { return -1; }
HCDROM CCdRipper::OpenDrive(int) { return 0; }
UINT __cdecl CCdRipper::RipThreadProc(LPVOID) { return 0; }
