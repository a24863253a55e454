#include "CdRipper.h"

#include <cstdio>
#include <cstring>

#include "CdTrack.h"
#include "WavFile.h"
#include "framework/Thread.h"
#include "shared/Messages.h"

namespace {

const DWORD kWorkerWaitMs = 40000;
const DWORD kChunkFrames = 26;
const int kReadTries = 3;
const WavFormat kCdFormat = {2, 44100, 16};

void Post(HWND wnd, WPARAM code, LPARAM percent) { PostMessageA(wnd, WM_CD_RIP_STATUS, code, percent); }

} // namespace

CCdRipper::CCdRipper()
    : m_hDrive(0), m_driveIndex(-1), m_readType(0), m_jitterCount(1), m_overlapCount(3),
      m_pWorker(nullptr), m_hNotify(nullptr), m_startFrame(0), m_frameCount(0)
{
    memset(&m_driveList, 0, sizeof m_driveList);
}

CCdRipper::~CCdRipper()
{
    if (m_pWorker) {
        WaitForSingleObject(m_pWorker->m_hThread, kWorkerWaitMs);
        delete m_pWorker;
        m_pWorker = nullptr;
    }
    // A drive left open by a failed start.
    if (m_hDrive) {
        CloseCDHandle(m_hDrive);
        m_hDrive = 0;
    }
}

int CCdRipper::StartRip(HWND notifyWindow, CString source, CString target)
{
    if (m_pWorker) {
        WaitForSingleObject(m_pWorker->m_hThread, kWorkerWaitMs);
        delete m_pWorker;
        m_pWorker = nullptr;
    }
    m_hNotify = notifyWindow;

    if (GetAspiLibError() != 0) {
        Post(m_hNotify, CD_RIP_ASPI_ERROR, 0);
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
        Post(m_hNotify, CD_RIP_FAILED, 0);
        return 0;
    }
    ModifyCDParms(m_hDrive, CDP_JITTER_CORRECTION, 0);

    TOC toc;
    memset(&toc, 0, sizeof toc);
    if (ReadTOC(m_hDrive, &toc) != 1) {
        MessageBoxA(nullptr, "Could not get TOC from CD\n", "Error", MB_OK);
        Post(m_hNotify, CD_RIP_FAILED, 0);
        return 0;
    }

    uint32_t start = 0, count = 0;
    if (!CdTrackFrames(toc, CdTrackNumberFromPath(source), start, count)) {
        Post(m_hNotify, CD_RIP_FAILED, 0);
        return 0;
    }
    m_target = target;
    m_startFrame = start;
    m_frameCount = count;

    m_pWorker = AfxBeginThread(&CCdRipper::RipThreadProc, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!m_pWorker) {
        Post(m_hNotify, CD_RIP_FAILED, 0);
        return 0;
    }
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
    CCdRipper* self = static_cast<CCdRipper*>(param);
    HWND notify = self->m_hNotify;
    HCDROM drive = self->m_hDrive;
    DWORD frame = self->m_startFrame;
    DWORD remaining = self->m_frameCount;
    const DWORD total = self->m_frameCount;
    CString target = self->m_target;

    DWORD chunk = kChunkFrames;
    const DWORD maxLen = kChunkFrames * AKRIP_FRAME_BYTES;
    HGLOBAL memory = GlobalAlloc(GHND, TRACKBUFHEAD + maxLen);
    TRACKBUF* buffer = memory ? static_cast<TRACKBUF*>(GlobalLock(memory)) : nullptr;
    if (!buffer) {
        if (memory)
            GlobalFree(memory);
        Post(notify, CD_RIP_FAILED, 0);
        return 0;
    }
    buffer->maxLen = maxLen;

    FILE* file = fopen(target, "w+b");
    if (!file) {
        Post(notify, CD_RIP_FAILED, 0);
        GlobalUnlock(memory);
        GlobalFree(memory);
        CloseCDHandle(drive);
        self->m_hDrive = 0;
        return 0;
    }
    WriteWavHeader(file, kCdFormat, 0);
    Post(notify, CD_RIP_PROGRESS, 0);

    uint32_t dataBytes = 0;
    unsigned counter = 0;
    while (remaining > 0) {
        if (counter % 5 == 0)
            Post(notify, CD_RIP_PROGRESS, CdRipPercent(remaining, total));
        ++counter;
        if (remaining < chunk)
            chunk = remaining;
        bool read = false;
        for (int attempt = 0; attempt < kReadTries && !read; ++attempt) {
            buffer->startFrame = frame;
            buffer->numFrames = chunk;
            buffer->len = 0;
            buffer->startOffset = 0;
            read = ReadCDAudioLBA(drive, buffer) == 1;
        }
        // Take no more than the buffer holds, whatever the library claims.
        if (read && (buffer->startOffset > maxLen || buffer->len > maxLen - buffer->startOffset))
            read = false;
        if (read) {
            size_t written = fwrite(buffer->buf + buffer->startOffset, 1, buffer->len, file);
            dataBytes += (uint32_t)written;
            if (written != buffer->len)
                Post(notify, CD_RIP_FAILED, 0);
        } else {
            Post(notify, CD_RIP_FAILED, 0);
        }
        frame += chunk;
        remaining -= chunk;
    }

    WriteWavHeader(file, kCdFormat, dataBytes);
    fclose(file);
    GlobalUnlock(memory);
    GlobalFree(memory);
    CloseCDHandle(drive);
    self->m_hDrive = 0;
    Post(notify, CD_RIP_DONE, 0);
    return 0;
}
