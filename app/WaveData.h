#pragma once
// WAV reading and the arithmetic of the wave-output player. Portable (no
// windows.h): the player reads through multimedia file I/O, the tests
// through the C runtime, both behind IRiffSource.

#include <cstdint>
#include <cstdio>

// The file's format record, field for field as the device expects it.
struct PcmFormat {
    uint16_t formatTag;
    uint16_t channels;
    uint32_t samplesPerSec;
    uint32_t avgBytesPerSec;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
    uint16_t extraSize;
};

constexpr uint32_t MakeFourCC(char a, char b, char c, char d)
{
    return static_cast<uint32_t>(static_cast<unsigned char>(a)) |
           static_cast<uint32_t>(static_cast<unsigned char>(b)) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(c)) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(d)) << 24;
}

// RIFF chunk navigation in the manner of multimedia file I/O.
class IRiffSource {
public:
    struct Chunk {
        uint32_t id = 0;
        uint32_t size = 0;       // as the header says
        uint32_t dataOffset = 0; // file offset of the chunk's data
        uint32_t formType = 0;   // RIFF/LIST only
    };
    virtual ~IRiffSource() = default;
    // Finds a "RIFF" chunk of the given form from the current position.
    virtual bool DescendRiff(Chunk& riff, uint32_t formType) = 0;
    // Finds a sub-chunk of the given id inside parent, from the current position.
    virtual bool DescendChunk(Chunk& ck, const Chunk& parent, uint32_t id) = 0;
    // Moves past the end of the chunk (and its pad byte).
    virtual bool Ascend(const Chunk& ck) = 0;
    // Bytes read, or -1.
    virtual long Read(void* buf, long count) = 0;
    virtual uint32_t FileSize() = 0;
};

enum class WaveError {
    None,
    Open,
    NoRiff,
    NoFormat,
    BadFormatChunk, // shorter than a PCM format record, or past the file
    NotPcm,
    BadFormat,      // channels, rate, sample size or block align unusable
    Refused,        // the device does not take the format
    NoData,
    BadData,        // past the end of the file, or not one whole frame
    Memory,
    ShortRead,
};

// Reads and validates everything up to the data: the format and the data
// size (whole frames only). The source is left at the start of the data.
// accept (may be null) is asked whether the device takes the format.
WaveError ReadWaveHeader(IRiffSource& src, PcmFormat& fmt, uint32_t& dataSize,
                         bool (*accept)(const PcmFormat&, void*) = nullptr, void* ctx = nullptr);

// Play range from a start time: offset of the first frame played and the
// byte count given to the device, which stops one frame before the end of
// the data. False when the start lies on or after the last frame. A
// negative start plays from the beginning.
bool WavePlayRange(const PcmFormat& fmt, uint32_t dataSize, double startMs, uint32_t& offset, uint32_t& length);

// Milliseconds of a byte position in the data; 0 for an unusable format.
double WaveBytesToMs(const PcmFormat& fmt, uint64_t bytes);
// Bytes played for a device answer in milliseconds.
uint64_t WaveMsToBytes(const PcmFormat& fmt, uint64_t ms);
double WaveLengthMs(const PcmFormat& fmt, uint32_t dataSize);

// Float copies for the analysis, one value per frame and channel, in new[]
// arrays the caller deletes with delete[]. Mono gives right = null. Fails
// (nothing allocated) for more than two channels or samples not 8 or 16 bits,
// or when the arrays do not fit in memory (then *noMemory, if given, is set).
bool WaveToFloat(const unsigned char* data, uint32_t dataSize, const PcmFormat& fmt, float** left, float** right,
                 int* count, bool* noMemory = nullptr);
// (left + right) / 65536 per frame; 16-bit stereo only.
bool WaveToMono(const unsigned char* data, uint32_t dataSize, const PcmFormat& fmt, float** samples, int* count,
                bool* noMemory = nullptr);

// IRiffSource on a C runtime file.
class CStdioRiffSource : public IRiffSource {
public:
    CStdioRiffSource() : m_fp(nullptr), m_size(0) {}
    ~CStdioRiffSource() override { Close(); }
    bool Open(const char* path);
    void Close();

    bool DescendRiff(Chunk& riff, uint32_t formType) override;
    bool DescendChunk(Chunk& ck, const Chunk& parent, uint32_t id) override;
    bool Ascend(const Chunk& ck) override;
    long Read(void* buf, long count) override;
    uint32_t FileSize() override { return m_size; }

private:
    bool ReadHeader(Chunk& ck);
    std::FILE* m_fp;
    uint32_t m_size;
};
