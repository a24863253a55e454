#include "WaveData.h"

#include <cmath>
#include <cstring>
#include <new>
#include <system_error>
#include <thread>

namespace {

constexpr uint32_t kRiff = MakeFourCC('R', 'I', 'F', 'F');
constexpr uint32_t kWave = MakeFourCC('W', 'A', 'V', 'E');
constexpr uint32_t kFmt = MakeFourCC('f', 'm', 't', ' ');
constexpr uint32_t kData = MakeFourCC('d', 'a', 't', 'a');
constexpr uint32_t kPcmRecordSize = 16; // the record without its extra-size field

uint16_t Le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Le32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

bool FitsFile(IRiffSource& src, const IRiffSource::Chunk& ck)
{
    return static_cast<uint64_t>(ck.dataOffset) + ck.size <= src.FileSize();
}

// Usable means no division by zero and a frame size the data walk can trust.
bool FormatUsable(const PcmFormat& f)
{
    if (f.channels == 0 || f.samplesPerSec == 0 || f.bitsPerSample == 0)
        return false;
    return f.blockAlign == f.channels * ((f.bitsPerSample + 7u) / 8u);
}

// Runs work(first, end) over the frames [0, frames): a long song in up to
// four parts on as many threads. Most of the time goes into the first touch
// of the fresh float array's pages, which the cores share out.
template <class Work>
void SplitFrames(uint32_t frames, Work work)
{
    constexpr uint32_t kPartFrames = 1u << 19;
    const unsigned cores = std::thread::hardware_concurrency();
    uint32_t parts = frames / kPartFrames;
    parts = parts < 4 ? parts : 4;
    if (cores > 0 && parts > cores)
        parts = cores;
    if (parts < 2) {
        work(0u, frames);
        return;
    }
    const uint32_t step = frames / parts;
    std::thread others[3];
    uint32_t launched = 1; // part 0 is this thread's
    try {
        for (; launched < parts; ++launched)
            others[launched - 1] =
                std::thread(work, step * launched, launched + 1 < parts ? step * (launched + 1) : frames);
    } catch (const std::system_error&) {
        // Fewer threads: the parts none took are done here.
    }
    work(0u, step);
    if (launched < parts)
        work(step * launched, frames);
    for (std::thread& t : others)
        if (t.joinable())
            t.join();
}

} // namespace

WaveError ReadWaveHeader(IRiffSource& src, PcmFormat& fmt, uint32_t& dataSize,
                         bool (*accept)(const PcmFormat&, void*), void* ctx)
{
    std::memset(&fmt, 0, sizeof fmt);
    dataSize = 0;
    IRiffSource::Chunk riff, ck;
    if (!src.DescendRiff(riff, kWave))
        return WaveError::NoRiff;
    if (!src.DescendChunk(ck, riff, kFmt))
        return WaveError::NoFormat;
    // The usual chunk holds 16 bytes, two fewer than the full record: read
    // what the chunk holds, at most the record.
    if (ck.size < kPcmRecordSize || !FitsFile(src, ck))
        return WaveError::BadFormatChunk;
    unsigned char raw[18] = {};
    const long want = ck.size < sizeof raw ? static_cast<long>(ck.size) : static_cast<long>(sizeof raw);
    if (src.Read(raw, want) != want)
        return WaveError::BadFormatChunk;
    fmt.formatTag = Le16(raw);
    fmt.channels = Le16(raw + 2);
    fmt.samplesPerSec = Le32(raw + 4);
    fmt.avgBytesPerSec = Le32(raw + 8);
    fmt.blockAlign = Le16(raw + 12);
    fmt.bitsPerSample = Le16(raw + 14);
    fmt.extraSize = want >= 18 ? Le16(raw + 16) : 0;
    // A format the player does not take (another encoding, wide samples,
    // many channels) is told once the data is known to be there whole: a
    // file cut short or without samples is damaged whatever its format.
    WaveError format = WaveError::None;
    if (fmt.formatTag != 1) {
        format = WaveError::NotPcm;
    } else {
        fmt.extraSize = 0; // PCM carries no extra bytes
        if (!FormatUsable(fmt))
            format = WaveError::BadFormat;
    }
    if (format == WaveError::None && accept && !accept(fmt, ctx))
        return WaveError::Refused;
    if (!src.Ascend(ck) || !src.DescendChunk(ck, riff, kData))
        return format == WaveError::None ? WaveError::NoData : format;
    if (!FitsFile(src, ck) || ck.size == 0)
        return WaveError::BadData;
    if (format != WaveError::None)
        return format;
    // Only whole frames are played or converted.
    dataSize = ck.size - ck.size % fmt.blockAlign;
    if (dataSize == 0)
        return WaveError::BadData;
    return WaveError::None;
}

bool WavePlayRange(const PcmFormat& fmt, uint32_t dataSize, double startMs, uint32_t& offset, uint32_t& length)
{
    offset = length = 0;
    if (fmt.blockAlign == 0 || fmt.samplesPerSec == 0 || !(startMs >= 0.0))
        startMs = 0.0;
    if (fmt.blockAlign == 0)
        return false;
    const double frame = std::floor(fmt.samplesPerSec * startMs / 1000.0);
    if (frame * fmt.blockAlign >= static_cast<double>(dataSize))
        return false;
    const uint64_t off = static_cast<uint64_t>(fmt.blockAlign) * static_cast<uint64_t>(frame);
    // The buffer ends one frame before the data does; nothing left to
    // play means a start on or after the last frame.
    if (off + fmt.blockAlign >= dataSize)
        return false;
    offset = static_cast<uint32_t>(off);
    length = static_cast<uint32_t>(dataSize - off - fmt.blockAlign);
    return true;
}

double WaveBytesToMs(const PcmFormat& fmt, uint64_t bytes)
{
    if (fmt.blockAlign == 0 || fmt.samplesPerSec == 0)
        return 0.0;
    return static_cast<double>(bytes) * 1000.0 / fmt.blockAlign / fmt.samplesPerSec;
}

uint64_t WaveMsToBytes(const PcmFormat& fmt, uint64_t ms)
{
    return ms * fmt.samplesPerSec * fmt.blockAlign / 1000;
}

double WaveLengthMs(const PcmFormat& fmt, uint32_t dataSize) { return WaveBytesToMs(fmt, dataSize); }

bool WaveToFloat(const unsigned char* data, uint32_t dataSize, const PcmFormat& fmt, float** left, float** right,
                 int* count, bool* noMemory)
{
    if (noMemory)
        *noMemory = false;
    if (!data || !left || !right || !count || fmt.blockAlign == 0)
        return false;
    if (fmt.channels != 1 && fmt.channels != 2)
        return false;
    if (fmt.bitsPerSample != 8 && fmt.bitsPerSample != 16)
        return false;
    const uint32_t frames = dataSize / fmt.blockAlign;
    if (frames > 0x7FFFFFFF)
        return false;
    float* l = new (std::nothrow) float[frames ? frames : 1];
    float* r = fmt.channels == 2 ? new (std::nothrow) float[frames ? frames : 1] : nullptr;
    if (!l || (fmt.channels == 2 && !r)) {
        delete[] l;
        delete[] r;
        if (noMemory)
            *noMemory = true;
        return false;
    }
    const unsigned bytes = fmt.bitsPerSample / 8u;
    SplitFrames(frames, [&](uint32_t first, uint32_t end) {
        for (uint32_t i = first; i < end; ++i) {
            const unsigned char* p = data + static_cast<size_t>(i) * fmt.blockAlign;
            for (unsigned c = 0; c < fmt.channels; ++c) {
                const unsigned char* s = p + c * bytes;
                const float v = bytes == 1 ? (static_cast<int>(s[0]) - 128) / 128.0f
                                           : static_cast<int16_t>(Le16(s)) / 32768.0f;
                (c == 0 ? l : r)[i] = v;
            }
        }
    });
    *left = l;
    *right = r;
    *count = static_cast<int>(frames);
    return true;
}

bool WaveToMono(const unsigned char* data, uint32_t dataSize, const PcmFormat& fmt, float** samples, int* count,
                bool* noMemory)
{
    if (noMemory)
        *noMemory = false;
    if (!data || !samples || !count || fmt.channels != 2 || fmt.bitsPerSample != 16 || fmt.blockAlign != 4)
        return false;
    const uint32_t frames = dataSize / 4;
    if (frames > 0x7FFFFFFF)
        return false;
    float* m = new (std::nothrow) float[frames ? frames : 1];
    if (!m) {
        if (noMemory)
            *noMemory = true;
        return false;
    }
    SplitFrames(frames, [&](uint32_t first, uint32_t end) {
        for (uint32_t i = first; i < end; ++i) {
            const unsigned char* p = data + static_cast<size_t>(i) * 4;
            const int sum = static_cast<int16_t>(Le16(p)) + static_cast<int16_t>(Le16(p + 2));
            m[i] = static_cast<float>(sum) / 65536.0f;
        }
    });
    *samples = m;
    *count = static_cast<int>(frames);
    return true;
}

bool CStdioRiffSource::Open(const char* path)
{
    Close();
    m_fp = path ? std::fopen(path, "rb") : nullptr;
    if (!m_fp)
        return false;
    std::fseek(m_fp, 0, SEEK_END);
    const long n = std::ftell(m_fp);
    std::fseek(m_fp, 0, SEEK_SET);
    m_size = n > 0 ? static_cast<uint32_t>(n) : 0;
    return true;
}

void CStdioRiffSource::Close()
{
    if (m_fp)
        std::fclose(m_fp);
    m_fp = nullptr;
    m_size = 0;
}

bool CStdioRiffSource::ReadHeader(Chunk& ck)
{
    unsigned char h[8];
    if (std::fread(h, 1, 8, m_fp) != 8)
        return false;
    ck.id = Le32(h);
    ck.size = Le32(h + 4);
    ck.dataOffset = static_cast<uint32_t>(std::ftell(m_fp));
    ck.formType = 0;
    return true;
}

bool CStdioRiffSource::DescendRiff(Chunk& riff, uint32_t formType)
{
    if (!m_fp)
        return false;
    for (;;) {
        Chunk ck;
        if (!ReadHeader(ck))
            return false;
        if (ck.id == kRiff) {
            unsigned char t[4];
            if (std::fread(t, 1, 4, m_fp) != 4)
                return false;
            ck.formType = Le32(t);
            if (ck.formType == formType) {
                riff = ck;
                return true;
            }
            if (std::fseek(m_fp, static_cast<long>(ck.dataOffset), SEEK_SET) != 0)
                return false;
        }
        const uint64_t next = static_cast<uint64_t>(ck.dataOffset) + ck.size + (ck.size & 1);
        if (next >= m_size || std::fseek(m_fp, static_cast<long>(next), SEEK_SET) != 0)
            return false;
    }
}

bool CStdioRiffSource::DescendChunk(Chunk& ck, const Chunk& parent, uint32_t id)
{
    if (!m_fp)
        return false;
    const uint64_t end = static_cast<uint64_t>(parent.dataOffset) + parent.size;
    for (;;) {
        const long here = std::ftell(m_fp);
        if (here < 0 || static_cast<uint64_t>(here) + 8 > end)
            return false;
        Chunk c;
        if (!ReadHeader(c))
            return false;
        if (c.id == id) {
            ck = c;
            return true;
        }
        const uint64_t next = static_cast<uint64_t>(c.dataOffset) + c.size + (c.size & 1);
        if (next >= end || next >= m_size || std::fseek(m_fp, static_cast<long>(next), SEEK_SET) != 0)
            return false;
    }
}

bool CStdioRiffSource::Ascend(const Chunk& ck)
{
    if (!m_fp)
        return false;
    const uint64_t next = static_cast<uint64_t>(ck.dataOffset) + ck.size + (ck.size & 1);
    if (next > m_size)
        return false;
    return std::fseek(m_fp, static_cast<long>(next), SEEK_SET) == 0;
}

long CStdioRiffSource::Read(void* buf, long count)
{
    if (!m_fp || count < 0)
        return -1;
    return static_cast<long>(std::fread(buf, 1, static_cast<size_t>(count), m_fp));
}
