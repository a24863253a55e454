#include "CdRipper.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "CdTrack.h"
#include "WavFile.h"
#include "framework/Thread.h"
#include "shared/Messages.h"

namespace {

const DWORD kWorkerWaitMs = 40000;
const DWORD kChunkFrames = 26;
const int kReadTries = 3;
const WavFormat kCdFormat = {2, 44100, 16};

void Post(HWND wnd, unsigned int run, WPARAM code, LPARAM percent)
{
    PostMessageA(wnd, WM_CD_RIP_STATUS, RunCode((unsigned int)code, run), percent);
}

// What the worker needs, owned by the worker: nothing of the ripper (which
// a new start reuses, or which may be gone when a wait ran out) is touched
// on the thread. The drive is the worker's to close.
struct RipTask {
    HWND notify;
    unsigned int run;
    HCDROM drive;
    DWORD startFrame;
    DWORD frameCount;
    CString target;
    HMODULE module; // keeps this library loaded while the worker runs
};

// Reads the track into the file; false at the first chunk that cannot be
// read or written (a rip with a hole, or a disk that is full, is no song).
bool RipFrames(const RipTask& t, TRACKBUF* buffer, DWORD maxLen, FILE* file, uint32_t& dataBytes)
{
    DWORD frame = t.startFrame;
    DWORD remaining = t.frameCount;
    DWORD chunk = kChunkFrames;
    unsigned counter = 0;
    while (remaining > 0) {
        if (counter % 5 == 0)
            Post(t.notify, t.run, CD_RIP_PROGRESS, CdRipPercent(remaining, t.frameCount));
        ++counter;
        if (remaining < chunk)
            chunk = remaining;
        bool read = false;
        for (int attempt = 0; attempt < kReadTries && !read; ++attempt) {
            buffer->startFrame = frame;
            buffer->numFrames = chunk;
            buffer->len = 0;
            buffer->startOffset = 0;
            read = ReadCDAudioLBA(t.drive, buffer) == 1;
        }
        // Take no more than the buffer holds, whatever the library claims.
        if (!read || buffer->startOffset > maxLen || buffer->len > maxLen - buffer->startOffset)
            return false;
        if (fwrite(buffer->buf + buffer->startOffset, 1, buffer->len, file) != buffer->len)
            return false;
        dataBytes += buffer->len;
        frame += chunk;
        remaining -= chunk;
    }
    return true;
}

} // namespace

CCdRipper::CCdRipper()
    : m_hDrive(0), m_driveIndex(-1), m_readType(0), m_jitterCount(1), m_overlapCount(3),
      m_pWorker(nullptr), m_hNotify(nullptr), m_startFrame(0), m_frameCount(0)
{
    memset(&m_driveList, 0, sizeof m_driveList);
}

CCdRipper::~CCdRipper()
{
    WaitForWorker();
    // A drive left open by a failed start.
    if (m_hDrive) {
        CloseCDHandle(m_hDrive);
        m_hDrive = 0;
    }
}

void CCdRipper::WaitForWorker()
{
    if (!m_pWorker)
        return;
    if (WaitForSingleObject(m_pWorker->m_hThread, kWorkerWaitMs) == WAIT_OBJECT_0)
        delete m_pWorker;
    // Otherwise the thread still runs inside its thread object: leave the
    // object to it rather than free memory in use.
    m_pWorker = nullptr;
}

int CCdRipper::Refuse(unsigned int run)
{
    if (m_hDrive) {
        CloseCDHandle(m_hDrive);
        m_hDrive = 0;
    }
    Post(m_hNotify, run, CD_RIP_FAILED, 0);
    return 0;
}

int CCdRipper::StartRip(HWND notifyWindow, CString source, CString target, unsigned int run)
{
    WaitForWorker();
    m_hNotify = notifyWindow;

    if (GetAspiLibError() != 0) {
        Post(m_hNotify, run, CD_RIP_ASPI_ERROR, 0);
        return 0;
    }

    memset(&m_driveList, 0, sizeof m_driveList);
    m_driveList.max = AKRIP_MAX_DRIVES;
    GetCDList(&m_driveList);
    m_driveIndex = -1;

    int index = FindCdDriveIndex(source.Left(1));
    if (!OpenDrive(index)) {
        MessageBoxA(nullptr,
                    "Could not locate cd drive. Something is wrong with aspi manager. (must have Windows 98 "
                    "Second Edition or later).",
                    "ASPI Error", MB_OK);
        return Refuse(run);
    }
    ModifyCDParms(m_hDrive, CDP_JITTER_CORRECTION, 0);

    TOC toc;
    memset(&toc, 0, sizeof toc);
    if (ReadTOC(m_hDrive, &toc) != 1) {
        MessageBoxA(nullptr, "Could not get TOC from CD\n", "Error", MB_OK);
        return Refuse(run);
    }

    uint32_t start = 0, count = 0;
    if (!CdTrackFrames(toc, CdTrackNumberFromPath(source), start, count))
        return Refuse(run);
    m_target = target;
    m_startFrame = start;
    m_frameCount = count;

    RipTask* task = new (std::nothrow) RipTask{notifyWindow, run, m_hDrive, start, count, target, nullptr};
    if (!task)
        return Refuse(run);
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, (LPCSTR)(void*)&CCdRipper::RipThreadProc,
                       &task->module);
    if (task->module == GetModuleHandleA(nullptr))
        task->module = nullptr; // linked into the program itself
    m_pWorker = AfxBeginThread(&CCdRipper::RipThreadProc, task, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!m_pWorker) {
        if (task->module)
            FreeLibrary(task->module);
        delete task;
        return Refuse(run);
    }
    // The drive is the worker's now.
    m_hDrive = 0;
    m_pWorker->m_bAutoDelete = FALSE;
    m_pWorker->ResumeThread();
    return 1;
}

int CCdRipper::FindCdDriveIndex(CString letter)
{
    char roots[256];
    DWORD needed = GetLogicalDriveStringsA(0, nullptr);
    if (needed == 0 || needed > sizeof roots)
        return -1;
    memset(roots, 0, sizeof roots);
    DWORD got = GetLogicalDriveStringsA(sizeof roots, roots);
    if (got == 0 || got >= sizeof roots)
        return -1;
    if (letter.IsEmpty())
        return -1;
    int position = 0;
    for (const char* root = roots; *root; root += strlen(root) + 1) {
        if (GetDriveTypeA(root) != DRIVE_CDROM)
            continue;
        if (root[0] == letter[0])
            return position;
        ++position;
    }
    return -1;
}

HCDROM CCdRipper::OpenDrive(int index)
{
    if (m_hDrive) {
        CloseCDHandle(m_hDrive);
        m_hDrive = 0;
    }
    if (index < 0 || index >= m_driveList.num)
        return 0;
    const CDREC& drive = m_driveList.cd[index];
    GETCDHAND request;
    memset(&request, 0, sizeof request);
    request.size = sizeof request;
    request.ver = 1;
    request.ha = drive.ha;
    request.tgt = drive.tgt;
    request.lun = drive.lun;
    request.readType = m_readType;
    request.jitterCorr = 0;
    request.numJitter = m_jitterCount;
    request.numOverlap = m_overlapCount;
    HCDROM h = GetCDHandle(&request);
    if (h) {
        m_hDrive = h;
        m_driveIndex = index;
    }
    return m_hDrive;
}

UINT __cdecl CCdRipper::RipThreadProc(LPVOID param)
{
    RipTask* task = static_cast<RipTask*>(param);
    const HMODULE module = task->module;
    const DWORD maxLen = kChunkFrames * AKRIP_FRAME_BYTES;
    HGLOBAL memory = GlobalAlloc(GHND, TRACKBUFHEAD + maxLen);
    TRACKBUF* buffer = memory ? static_cast<TRACKBUF*>(GlobalLock(memory)) : nullptr;
    FILE* file = buffer ? fopen(task->target, "w+b") : nullptr;
    bool done = false;
    if (file && WriteWavHeader(file, kCdFormat, 0)) {
        buffer->maxLen = maxLen;
        Post(task->notify, task->run, CD_RIP_PROGRESS, 0);
        uint32_t dataBytes = 0;
        done = RipFrames(*task, buffer, maxLen, file, dataBytes) && WriteWavHeader(file, kCdFormat, dataBytes);
    }
    if (file && fclose(file) != 0)
        done = false;
    if (buffer)
        GlobalUnlock(memory);
    if (memory)
        GlobalFree(memory);
    // Everything is given back before the end is told: whatever the
    // program does next finds the drive free and the file closed.
    CloseCDHandle(task->drive);
    Post(task->notify, task->run, done ? CD_RIP_DONE : CD_RIP_FAILED, 0);
    delete task;
    // Drop our hold on the library without returning into it.
    if (module)
        FreeLibraryAndExitThread(module, 0);
    return 0;
}
