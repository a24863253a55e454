#include "WavFile.h"

#include <cstring>

namespace {
void Put16(uint8_t* p, uint32_t v)
{
    p[0] = (uint8_t)v;
    p[1] = (uint8_t)(v >> 8);
}

void Put32(uint8_t* p, uint32_t v)
{
    Put16(p, v & 0xFFFF);
    Put16(p + 2, v >> 16);
}
} // namespace

void BuildWavHeader(uint8_t out[kWavHeaderSize], const WavFormat& fmt, uint32_t dataBytes)
{
    memcpy(out, "RIFF", 4);
    Put32(out + 4, dataBytes + 36);
    memcpy(out + 8, "WAVE", 4);
    memcpy(out + 12, "fmt ", 4);
    Put32(out + 16, 16);
    Put16(out + 20, 1); // PCM
    Put16(out + 22, fmt.channels);
    Put32(out + 24, fmt.samplesPerSec);
    Put32(out + 28, fmt.BytesPerSec());
    Put16(out + 32, fmt.BlockAlign());
    Put16(out + 34, fmt.bitsPerSample);
    memcpy(out + 36, "data", 4);
    Put32(out + 40, dataBytes);
}

bool WriteWavHeader(FILE* file, const WavFormat& fmt, uint32_t dataBytes)
{
    if (!file)
        return false;
    uint8_t header[kWavHeaderSize];
    BuildWavHeader(header, fmt, dataBytes);
    if (fseek(file, 0, SEEK_SET) != 0)
        return false;
    bool whole = fwrite(header, 1, sizeof header, file) == sizeof header;
    fseek(file, 0, SEEK_END);
    return whole;
}

uint64_t PcmBytesForDuration(uint64_t duration100ns, const WavFormat& fmt)
{
    // Whole sample frames; duration (< 2^40 for any real song) times the rate
    // stays far inside 64 bits.
    uint64_t frames = duration100ns * fmt.samplesPerSec / 10000000u;
    return frames * fmt.BlockAlign();
}

int ProgressPercent(uint64_t written, uint64_t expected)
{
    if (expected == 0)
        return 0;
    uint64_t percent = written * 100u / expected;
    return percent > 100 ? 100 : (int)percent;
}
