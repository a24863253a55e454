#include "WaveOut.h"

#include <cstring>

#include "app/DocTypes.h"

namespace {

// RIFF navigation through multimedia file I/O.
class CMmioRiffSource : public IRiffSource {
public:
    explicit CMmioRiffSource(HMMIO h) : m_h(h), m_size(0)
    {
        const LONG end = mmioSeek(m_h, 0, SEEK_END);
        m_size = end > 0 ? static_cast<uint32_t>(end) : 0;
        mmioSeek(m_h, 0, SEEK_SET);
    }
    bool DescendRiff(Chunk& riff, uint32_t formType) override
    {
        MMCKINFO ck = {};
        ck.fccType = formType;
        if (mmioDescend(m_h, &ck, nullptr, MMIO_FINDRIFF) != MMSYSERR_NOERROR)
            return false;
        riff = From(ck);
        m_parent = ck;
        return true;
    }
    bool DescendChunk(Chunk& out, const Chunk&, uint32_t id) override
    {
        MMCKINFO ck = {};
        ck.ckid = id;
        if (mmioDescend(m_h, &ck, &m_parent, MMIO_FINDCHUNK) != MMSYSERR_NOERROR)
            return false;
        m_current = ck;
        out = From(ck);
        return true;
    }
    bool Ascend(const Chunk&) override { return mmioAscend(m_h, &m_current, 0) == MMSYSERR_NOERROR; }
    long Read(void* buf, long count) override
    {
        return mmioRead(m_h, static_cast<HPSTR>(buf), count);
    }
    uint32_t FileSize() override { return m_size; }

private:
    static Chunk From(const MMCKINFO& ck)
    {
        Chunk c;
        c.id = ck.ckid;
        c.size = ck.cksize;
        c.dataOffset = ck.dwDataOffset;
        c.formType = ck.fccType;
        return c;
    }
    HMMIO m_h;
    uint32_t m_size;
    MMCKINFO m_parent = {};
    MMCKINFO m_current = {};
};

WAVEFORMATEX ToWfx(const PcmFormat& f)
{
    WAVEFORMATEX w = {};
    w.wFormatTag = f.formatTag;
    w.nChannels = f.channels;
    w.nSamplesPerSec = f.samplesPerSec;
    w.nAvgBytesPerSec = f.avgBytesPerSec;
    w.nBlockAlign = f.blockAlign;
    w.wBitsPerSample = f.bitsPerSample;
    w.cbSize = 0;
    return w;
}

struct QueryCtx {
    UINT id;
};

bool DeviceTakes(const PcmFormat& f, void* ctx)
{
    WAVEFORMATEX w = ToWfx(f);
    return waveOutOpen(nullptr, static_cast<QueryCtx*>(ctx)->id, &w, 0, 0, WAVE_FORMAT_QUERY) == MMSYSERR_NOERROR;
}

} // namespace

CWaveOut::CWaveOut(HWND owner)
    : m_deviceIndex(0), m_startOffset(0), m_loaded(false), m_lastFailure(WaveLoadFailure::None), m_dataBlock(nullptr),
      m_data(nullptr), m_headerBlock(nullptr), m_header(nullptr), m_headerPrepared(false), m_device(nullptr),
      m_owner(owner), m_dataSize(0), m_format()
{
    EnumDevices();
}

CWaveOut::~CWaveOut()
{
    CloseDevice();
    FreeHeader();
    FreeData();
}

void CWaveOut::EnumDevices()
{
    m_devices.clear();
    const UINT n = waveOutGetNumDevs();
    for (UINT id = 0; id < n; ++id) {
        WAVEFORMATEX w = {};
        w.wFormatTag = WAVE_FORMAT_PCM;
        w.nChannels = 2;
        w.nSamplesPerSec = 44100;
        w.nAvgBytesPerSec = 176400;
        w.nBlockAlign = 4;
        w.wBitsPerSample = 16;
        if (waveOutOpen(nullptr, id, &w, 0, 0, WAVE_FORMAT_QUERY) != MMSYSERR_NOERROR)
            continue;
        WAVEOUTCAPSA caps = {};
        if (waveOutGetDevCapsA(id, &caps, sizeof caps) != MMSYSERR_NOERROR)
            continue;
        m_devices.push_back(Device{CString(caps.szPname), id});
    }
}

CString CWaveOut::GetDeviceName(int index) const
{
    return index >= 0 && index < static_cast<int>(m_devices.size()) ? m_devices[index].name : CString();
}

void CWaveOut::SelectDevice(int index)
{
    if (index < static_cast<int>(m_devices.size()))
        m_deviceIndex = index;
}

bool CWaveOut::DeviceUsable() const
{
    return m_deviceIndex >= 0 && !m_devices.empty() && m_deviceIndex < static_cast<int>(m_devices.size());
}

void CWaveOut::FillFormat(WAVEFORMATEX& wfx) const { wfx = ToWfx(m_format); }

void CWaveOut::CloseDevice()
{
    if (!m_device)
        return;
    waveOutReset(m_device);
    if (m_header && m_headerPrepared)
        waveOutUnprepareHeader(m_device, m_header, sizeof(WAVEHDR));
    m_headerPrepared = false;
    waveOutClose(m_device);
    m_device = nullptr;
}

void CWaveOut::FreeHeader()
{
    if (m_headerBlock) {
        GlobalUnlock(m_headerBlock);
        GlobalFree(m_headerBlock);
    }
    m_headerBlock = nullptr;
    m_header = nullptr;
    m_headerPrepared = false;
}

void CWaveOut::FreeData()
{
    if (m_dataBlock) {
        GlobalUnlock(m_dataBlock);
        GlobalFree(m_dataBlock);
    }
    m_dataBlock = nullptr;
    m_data = nullptr;
    m_dataSize = 0;
    m_loaded = false;
    m_startOffset = 0;
    std::memset(&m_format, 0, sizeof m_format);
}

void WaveFileData::Free()
{
    if (block) {
        GlobalUnlock(block);
        GlobalFree(block);
    }
    block = nullptr;
    data = nullptr;
    size = 0;
}

namespace {

WaveLoadFailure FailureOf(WaveError e)
{
    switch (e) {
    case WaveError::None: return WaveLoadFailure::None;
    case WaveError::Open: return WaveLoadFailure::Open;
    case WaveError::Refused: return WaveLoadFailure::Refused;
    case WaveError::Memory: return WaveLoadFailure::TooLong;
    default: return WaveLoadFailure::Damaged;
    }
}

// A long song is read in blocks of this size, so that its reading shows.
const uint32_t kReadBlock = 4u << 20;

} // namespace

int CWaveOut::FormatDevice() const { return DeviceUsable() ? static_cast<int>(DeviceId()) : -1; }

namespace {
// Opens a WAV file and reads everything up to its samples; on success the
// file is left open (h) at the start of the data.
WaveLoadFailure OpenWave(const char* path, int formatDevice, HMMIO& h, PcmFormat& fmt, uint32_t& size)
{
    h = nullptr;
    WIN32_FILE_ATTRIBUTE_DATA info;
    if (path && GetFileAttributesExA(path, GetFileExInfoStandard, &info) &&
        (info.nFileSizeHigh != 0 || info.nFileSizeLow > 0x7FFFFFFFu))
        return WaveLoadFailure::TooLong; // past 2 GB, beyond the reach of multimedia file I/O
    h = mmioOpenA(const_cast<LPSTR>(path ? path : ""), nullptr, MMIO_READ | MMIO_ALLOCBUF);
    if (!h)
        return WaveLoadFailure::Open;
    CMmioRiffSource src(h);
    QueryCtx q{static_cast<UINT>(formatDevice)};
    const WaveError header = ReadWaveHeader(src, fmt, size, formatDevice >= 0 ? DeviceTakes : nullptr, &q);
    // A small rate stretches a file over more rows than any song has.
    const WaveLoadFailure failure = header == WaveError::None && WaveLengthMs(fmt, size) > kMaxSongMs
                                        ? WaveLoadFailure::TooLong
                                        : FailureOf(header);
    if (failure != WaveLoadFailure::None) {
        mmioClose(h, 0);
        h = nullptr;
    }
    return failure;
}
} // namespace

WaveLoadFailure CWaveOut::CheckWaveFile(const char* path, int formatDevice)
{
    HMMIO h = nullptr;
    PcmFormat fmt;
    uint32_t size = 0;
    const WaveLoadFailure failure = OpenWave(path, formatDevice, h, fmt, size);
    if (h)
        mmioClose(h, 0);
    return failure;
}

WaveFileData CWaveOut::ReadWaveFile(const char* path, int formatDevice, const std::function<void(int)>& progress)
{
    WaveFileData out;
    HMMIO h = nullptr;
    PcmFormat fmt;
    uint32_t size = 0;
    out.failure = OpenWave(path, formatDevice, h, fmt, size);
    if (out.failure != WaveLoadFailure::None)
        return out;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, size);
    unsigned char* data = block ? static_cast<unsigned char*>(GlobalLock(block)) : nullptr;
    if (!data) {
        if (block)
            GlobalFree(block);
        mmioClose(h, 0);
        out.failure = WaveLoadFailure::TooLong;
        return out;
    }
    out.block = block;
    out.data = data;
    int shown = -1;
    for (uint32_t done = 0; done < size;) {
        const uint32_t n = size - done < kReadBlock ? size - done : kReadBlock;
        if (mmioRead(h, reinterpret_cast<HPSTR>(data + done), static_cast<LONG>(n)) != static_cast<LONG>(n)) {
            out.Free();
            mmioClose(h, 0);
            out.failure = WaveLoadFailure::Damaged;
            return out;
        }
        done += n;
        const int percent = static_cast<int>(static_cast<uint64_t>(done) * 100 / size);
        if (progress && percent != shown)
            progress(percent);
        shown = percent;
    }
    mmioClose(h, 0);
    out.size = size;
    out.format = fmt;
    return out;
}

void CWaveOut::Unload()
{
    CloseDevice();
    FreeHeader();
    FreeData();
}

bool CWaveOut::TakeWave(const char* path, WaveFileData& data)
{
    Unload();
    m_path = path;
    m_lastFailure = data.failure;
    if (data.failure != WaveLoadFailure::None || !data.data) {
        data.Free();
        return false;
    }
    m_dataBlock = data.block;
    m_data = data.data;
    m_dataSize = data.size;
    m_format = data.format;
    m_loaded = true;
    data = WaveFileData();
    return true;
}

bool CWaveOut::LoadWave(const char* path)
{
    // Whatever happens below, the old song is gone: no stale samples under
    // a new name.
    Unload();
    WaveFileData data = ReadWaveFile(path, FormatDevice(), nullptr);
    return TakeWave(path, data);
}

bool CWaveOut::Play(double startMs)
{
    if (!m_loaded || !DeviceUsable())
        return false;
    if (m_device) {
        waveOutReset(m_device);
    } else {
        WAVEFORMATEX w;
        FillFormat(w);
        if (waveOutOpen(&m_device, DeviceId(), &w, reinterpret_cast<DWORD_PTR>(m_owner), 0,
                        m_owner ? CALLBACK_WINDOW : CALLBACK_NULL) != MMSYSERR_NOERROR) {
            m_device = nullptr;
            return false;
        }
    }
    // The header played before is done after the reset; unprepare it
    // before it is reused.
    if (m_header && m_headerPrepared) {
        waveOutUnprepareHeader(m_device, m_header, sizeof(WAVEHDR));
        m_headerPrepared = false;
    }
    uint32_t offset = 0, length = 0;
    if (!WavePlayRange(m_format, m_dataSize, startMs, offset, length))
        return false;
    m_startOffset = offset;
    if (!m_header) {
        m_headerBlock = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, sizeof(WAVEHDR));
        m_header = m_headerBlock ? static_cast<WAVEHDR*>(GlobalLock(m_headerBlock)) : nullptr;
        if (!m_header) {
            FreeHeader();
            return false;
        }
    }
    std::memset(m_header, 0, sizeof(WAVEHDR));
    m_header->lpData = reinterpret_cast<LPSTR>(m_data + offset);
    m_header->dwBufferLength = length;
    if (waveOutPrepareHeader(m_device, m_header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR)
        return false;
    m_headerPrepared = true;
    if (waveOutWrite(m_device, m_header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        waveOutUnprepareHeader(m_device, m_header, sizeof(WAVEHDR));
        m_headerPrepared = false;
        return false;
    }
    return true;
}

double CWaveOut::GetPositionMs()
{
    if (!m_loaded || !DeviceUsable() || !m_device)
        return 0.0;
    MMTIME t = {};
    t.wType = TIME_BYTES;
    if (waveOutGetPosition(m_device, &t, sizeof t) != MMSYSERR_NOERROR)
        return 0.0;
    uint64_t played = 0;
    if (t.wType == TIME_BYTES) {
        played = t.u.cb;
    } else {
        t.wType = TIME_MS;
        if (waveOutGetPosition(m_device, &t, sizeof t) != MMSYSERR_NOERROR || t.wType != TIME_MS)
            return 0.0;
        played = WaveMsToBytes(m_format, t.u.ms);
    }
    const uint64_t total = static_cast<uint64_t>(m_startOffset) + played;
    if (total == 0)
        return 0.0;
    return WaveBytesToMs(m_format, total);
}

void CWaveOut::Reset()
{
    if (m_device && DeviceUsable())
        waveOutReset(m_device);
}

bool CWaveOut::WithVolumeDevice(bool set, DWORD& value)
{
    if (!DeviceUsable())
        return false;
    HWAVEOUT dev = m_device;
    bool opened = false;
    if (!dev) {
        if (!m_loaded)
            return false;
        WAVEFORMATEX w;
        FillFormat(w);
        if (waveOutOpen(&dev, DeviceId(), &w, reinterpret_cast<DWORD_PTR>(m_owner), 0,
                        m_owner ? CALLBACK_WINDOW : CALLBACK_NULL) != MMSYSERR_NOERROR)
            return false;
        opened = true;
    }
    bool ok = false;
    UINT id = 0;
    WAVEOUTCAPSA caps = {};
    if (waveOutGetID(dev, &id) == MMSYSERR_NOERROR &&
        waveOutGetDevCapsA(id, &caps, sizeof caps) == MMSYSERR_NOERROR && (caps.dwSupport & WAVECAPS_VOLUME)) {
        ok = set ? waveOutSetVolume(dev, value) == MMSYSERR_NOERROR
                 : waveOutGetVolume(dev, &value) == MMSYSERR_NOERROR;
    }
    if (opened)
        waveOutClose(dev);
    return ok;
}

bool CWaveOut::SetVolume(DWORD level)
{
    level &= 0xFFFF;
    DWORD v = level | level << 16;
    return WithVolumeDevice(true, v);
}

DWORD CWaveOut::GetVolume()
{
    DWORD v = 0;
    return WithVolumeDevice(false, v) ? (v & 0xFFFF) : 0;
}

bool CWaveOut::GetSamplesFloat(float** left, float** right, int* count, int* rate, bool* noMemory)
{
    if (noMemory)
        *noMemory = false;
    if (!m_loaded || !WaveToFloat(m_data, m_dataSize, m_format, left, right, count, noMemory))
        return false;
    if (rate)
        *rate = static_cast<int>(m_format.samplesPerSec);
    return true;
}

bool CWaveOut::GetMonoMix(float** samples, int* count, int* rate, bool* noMemory)
{
    if (noMemory)
        *noMemory = false;
    if (!m_loaded || !WaveToMono(m_data, m_dataSize, m_format, samples, count, noMemory))
        return false;
    if (rate)
        *rate = static_cast<int>(m_format.samplesPerSec);
    return true;
}

int CWaveOut::GetChannels() const { return m_data ? m_format.channels : 0; }

int CWaveOut::GetSampleRate() const { return m_data ? static_cast<int>(m_format.samplesPerSec) : 0; }

double CWaveOut::GetLengthMs() const { return m_data ? WaveLengthMs(m_format, m_dataSize) : 0.0; }
