#pragma once
// The PCM WAV file both conversions write: a 44-byte header (one format
// chunk, one data chunk) followed by the interleaved samples. Portable.
#include <cstddef>
#include <cstdint>
#include <cstdio>

constexpr size_t kWavHeaderSize = 44;
// The RIFF size field is 32 bits and holds the data size + 36.
constexpr uint64_t kWavMaxDataBytes = 0xFFFFFFFFull - 36;

struct WavFormat {
    uint16_t channels;
    uint32_t samplesPerSec;
    uint16_t bitsPerSample;

    uint16_t BlockAlign() const { return (uint16_t)(channels * ((bitsPerSample + 7) / 8)); }
    uint32_t BytesPerSec() const { return samplesPerSec * BlockAlign(); }
};

// Fills out with the little-endian header for dataBytes bytes of samples.
void BuildWavHeader(uint8_t out[kWavHeaderSize], const WavFormat& fmt, uint32_t dataBytes);

// Writes the header at offset 0 and leaves the stream at its end, so that
// samples can be appended after the first write and the header rewritten
// with the real size at the end. False when the header was not written whole.
bool WriteWavHeader(FILE* file, const WavFormat& fmt, uint32_t dataBytes);

// Size in bytes of `duration100ns` (100-nanosecond units) of audio in fmt.
uint64_t PcmBytesForDuration(uint64_t duration100ns, const WavFormat& fmt);

// Integer percent of written against expected, in 64 bits (a 32-bit
// product overflows after about 43 MB), held at 100 when the source
// delivers more than its duration promised; 0 when nothing is expected.
int ProgressPercent(uint64_t written, uint64_t expected);
