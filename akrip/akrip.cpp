// The exported functions: real drives through the CD-ROM device controls,
// or the disc image named by QUORVA_CD_IMAGE.
#include <windows.h>
#include <winioctl.h>
#include <ntddcdrm.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CueSheet.h"
#include "akrip.h"

namespace {

const int kMaxHandles = 8;

struct OpenDrive {
    bool used;
    bool image;
    HANDLE file;        // the device, or the image file
    TOC toc;            // images: built when opened
    uint32_t frames;    // images: frames in the file
};

OpenDrive g_drives[kMaxHandles];
CRITICAL_SECTION g_lock;

struct Lock {
    Lock() { EnterCriticalSection(&g_lock); }
    ~Lock() { LeaveCriticalSection(&g_lock); }
};

bool GetEnv(const char* name, std::string& value)
{
    char buf[1024];
    DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    if (n == 0 || n >= sizeof buf)
        return n >= sizeof buf; // too long to read: present but unusable
    value.assign(buf, n);
    return true;
}

bool HasEnv(const char* name)
{
    std::string v;
    return GetEnv(name, v);
}

bool IsCdromLetter(char letter)
{
    char root[4] = {letter, ':', '\\', 0};
    return GetDriveTypeA(root) == DRIVE_CDROM;
}

// CD-ROM drive letters in letter order.
std::vector<char> CdromLetters()
{
    std::vector<char> letters;
    DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i)
        if ((mask & (1u << i)) && IsCdromLetter((char)('A' + i)))
            letters.push_back((char)('A' + i));
    return letters;
}

OpenDrive* FromHandle(HCDROM h)
{
    if (h < 1 || h > (HCDROM)kMaxHandles || !g_drives[h - 1].used)
        return nullptr;
    return &g_drives[h - 1];
}

bool ReadWholeFile(const std::string& path, std::string& text, size_t maxBytes)
{
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(f, &size) && (uint64_t)size.QuadPart <= maxBytes;
    if (ok) {
        text.resize((size_t)size.QuadPart);
        DWORD got = 0;
        ok = text.empty() || (ReadFile(f, &text[0], (DWORD)text.size(), &got, nullptr) && got == text.size());
    }
    CloseHandle(f);
    return ok;
}

// Opens the image of the cue sheet at cuePath; false when anything is amiss.
bool OpenImage(const std::string& cuePath, OpenDrive& d)
{
    std::string text, error;
    CueSheet sheet;
    if (!ReadWholeFile(cuePath, text, 65536) || !ParseCueSheet(text, sheet, error))
        return false;
    std::string imagePath = CueImagePath(cuePath, sheet.file);
    HANDLE f = CreateFileA(imagePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    uint32_t frames = 0;
    if (!GetFileSizeEx(f, &size) || !CueImageFrames((uint64_t)size.QuadPart, frames) ||
        !BuildToc(1, sheet.trackStarts, {}, frames, d.toc)) {
        CloseHandle(f);
        return false;
    }
    d.file = f;
    d.frames = frames;
    d.image = true;
    return true;
}

bool OpenDevice(char letter, OpenDrive& d)
{
    if (!IsCdromLetter(letter))
        return false;
    char path[8] = {'\\', '\\', '.', '\\', letter, ':', 0};
    HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    d.file = f;
    d.image = false;
    return true;
}

bool ReadDeviceToc(HANDLE device, TOC& toc)
{
    CDROM_TOC raw;
    memset(&raw, 0, sizeof raw);
    DWORD got = 0;
    if (!DeviceIoControl(device, IOCTL_CDROM_READ_TOC, nullptr, 0, &raw, sizeof raw, &got, nullptr))
        return false;
    int first = raw.FirstTrack, last = raw.LastTrack;
    if (first < 1 || last < first || last > AKRIP_MAX_TRACKS)
        return false;
    // The entries run from the first track to the lead-out, addresses as
    // minute, second, frame counted from the 2-second lead-in.
    std::vector<uint32_t> starts;
    std::vector<uint8_t> control;
    uint32_t leadOut = 0;
    for (int i = 0; i <= last - first; ++i) {
        const TRACK_DATA& t = raw.TrackData[i];
        if (t.TrackNumber != first + i && t.TrackNumber != 0xAA)
            return false;
    }
    for (int i = 0; i <= last - first + 1; ++i) {
        const TRACK_DATA& t = raw.TrackData[i];
        long lba = ((long)t.Address[1] * 60 + t.Address[2]) * 75 + t.Address[3] - 150;
        if (lba < 0)
            lba = 0;
        if (i <= last - first) {
            starts.push_back((uint32_t)lba);
            control.push_back((uint8_t)(t.Control & 0x0F));
        } else {
            leadOut = (uint32_t)lba;
        }
    }
    return BuildToc(first, starts, control, leadOut, toc);
}

bool ReadFrames(OpenDrive& d, uint32_t start, uint32_t count, uint8_t* out, DWORD& status)
{
    DWORD bytes = count * AKRIP_FRAME_BYTES, got = 0;
    if (d.image) {
        if ((uint64_t)start + count > d.frames) {
            status = ERROR_SECTOR_NOT_FOUND;
            return false;
        }
        LARGE_INTEGER at;
        at.QuadPart = (LONGLONG)start * AKRIP_FRAME_BYTES;
        if (!SetFilePointerEx(d.file, at, nullptr, FILE_BEGIN) || !ReadFile(d.file, out, bytes, &got, nullptr) ||
            got != bytes) {
            status = GetLastError() ? GetLastError() : ERROR_READ_FAULT;
            return false;
        }
        return true;
    }
    RAW_READ_INFO info;
    memset(&info, 0, sizeof info);
    info.DiskOffset.QuadPart = (LONGLONG)start * 2048; // the control counts cooked sectors
    info.SectorCount = count;
    info.TrackMode = CDDA;
    if (!DeviceIoControl(d.file, IOCTL_CDROM_RAW_READ, &info, sizeof info, out, bytes, &got, nullptr) ||
        got != bytes) {
        status = GetLastError() ? GetLastError() : ERROR_READ_FAULT;
        return false;
    }
    return true;
}

} // namespace

extern "C" {

int AKRIP_CALL GetAspiLibError(void)
{
    std::string v;
    if (GetEnv("QUORVA_CD_FAULT_LIBERROR", v)) {
        int code = atoi(v.c_str());
        return code ? code : 1;
    }
    return 0;
}

int AKRIP_CALL GetCDList(CDLIST* list)
{
    if (!list)
        return 0;
    int room = list->max > AKRIP_MAX_DRIVES ? AKRIP_MAX_DRIVES : list->max;
    list->num = 0;
    std::vector<char> letters = CdromLetters();
    std::string cue;
    bool image = GetEnv("QUORVA_CD_IMAGE", cue) && !cue.empty();
    if (image) {
        char letter = letters.empty() ? 'D' : letters[0];
        letters.assign(1, letter);
    }
    for (char letter : letters) {
        if (list->num >= room)
            break;
        CDREC& r = list->cd[list->num++];
        memset(&r, 0, sizeof r);
        r.ha = image ? 1 : 0;
        r.tgt = (uint8_t)(letter - 'A');
        r.lun = 0;
        r.letter = letter;
        snprintf(r.info, sizeof r.info, image ? "Disc image %c:" : "CD-ROM drive %c:", letter);
    }
    return 1;
}

HCDROM AKRIP_CALL GetCDHandle(GETCDHAND* request)
{
    if (!request || request->size != sizeof(GETCDHAND) || request->ver != 1 || request->tgt >= 26 ||
        request->lun != 0 || request->readType != 0 || request->ha > 1)
        return 0;
    if (HasEnv("QUORVA_CD_FAULT_NOHANDLE"))
        return 0;
    OpenDrive d;
    memset(&d, 0, sizeof d);
    if (request->ha == 1) {
        std::string cue;
        if (!GetEnv("QUORVA_CD_IMAGE", cue) || cue.empty() || !OpenImage(cue, d))
            return 0;
    } else if (!OpenDevice((char)('A' + request->tgt), d)) {
        return 0;
    }
    Lock lock;
    for (int i = 0; i < kMaxHandles; ++i) {
        if (!g_drives[i].used) {
            d.used = true;
            g_drives[i] = d;
            return (HCDROM)(i + 1);
        }
    }
    CloseHandle(d.file);
    return 0;
}

int AKRIP_CALL ModifyCDParms(HCDROM h, int which, uint32_t value)
{
    Lock lock;
    return FromHandle(h) && which == CDP_JITTER_CORRECTION && value == 0 ? 1 : 0;
}

int AKRIP_CALL ReadTOC(HCDROM h, TOC* toc)
{
    if (!toc)
        return 0;
    Lock lock;
    OpenDrive* d = FromHandle(h);
    if (!d || HasEnv("QUORVA_CD_FAULT_TOC"))
        return 0;
    if (d->image) {
        *toc = d->toc;
        return 1;
    }
    TOC t;
    if (!ReadDeviceToc(d->file, t))
        return 0;
    *toc = t;
    return 1;
}

int AKRIP_CALL ReadCDAudioLBA(HCDROM h, TRACKBUF* buffer)
{
    if (!buffer)
        return 0;
    buffer->len = 0;
    buffer->startOffset = 0;
    uint32_t start = buffer->startFrame, count = buffer->numFrames;
    if (count == 0 || count > buffer->maxLen / AKRIP_FRAME_BYTES) {
        buffer->status = ERROR_INVALID_PARAMETER;
        return 0;
    }
    std::string faults;
    if (GetEnv("QUORVA_CD_FAULT_READ", faults)) {
        std::vector<FrameRange> ranges;
        // A list that does not parse fails every read, so a typo shows.
        if (!ParseFrameRanges(faults, ranges) || FramesHit(ranges, start, count)) {
            buffer->status = ERROR_READ_FAULT;
            return 0;
        }
    }
    Lock lock;
    OpenDrive* d = FromHandle(h);
    if (!d) {
        buffer->status = ERROR_INVALID_HANDLE;
        return 0;
    }
    DWORD status = 0;
    if (!ReadFrames(*d, start, count, buffer->buf, status)) {
        buffer->status = status;
        return 0;
    }
    buffer->status = 0;
    buffer->len = count * AKRIP_FRAME_BYTES;
    return 1;
}

int AKRIP_CALL CloseCDHandle(HCDROM h)
{
    Lock lock;
    OpenDrive* d = FromHandle(h);
    if (!d)
        return 0;
    CloseHandle(d->file);
    memset(d, 0, sizeof *d);
    return 1;
}

} // extern "C"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        InitializeCriticalSection(&g_lock);
    else if (reason == DLL_PROCESS_DETACH)
        DeleteCriticalSection(&g_lock);
    return TRUE;
}
