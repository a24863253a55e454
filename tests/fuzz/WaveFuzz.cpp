// The WAV/RIFF header reader and the float conversions of what it accepts.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/WaveData.h"
#include "tests/fuzz/FuzzTempFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* path = FuzzWriteTempFile(data, size, ".wav");
    CStdioRiffSource src;
    if (!src.Open(path))
        return 0;
    PcmFormat fmt;
    uint32_t dataSize = 0;
    if (ReadWaveHeader(src, fmt, dataSize) != WaveError::None)
        return 0;
    // The header may promise more than the file holds; convert what is there.
    std::vector<unsigned char> bytes(dataSize < (1u << 16) ? dataSize : (1u << 16));
    const long got = src.Read(bytes.data(), (long)bytes.size());
    if (got <= 0)
        return 0;
    uint32_t usable = (uint32_t)got;
    if (fmt.blockAlign)
        usable -= usable % fmt.blockAlign;
    float *left = nullptr, *right = nullptr;
    int count = 0;
    if (WaveToFloat(bytes.data(), usable, fmt, &left, &right, &count)) {
        delete[] left;
        delete[] right;
    }
    float* mono = nullptr;
    if (WaveToMono(bytes.data(), usable, fmt, &mono, &count))
        delete[] mono;
    WaveLengthMs(fmt, dataSize);
    return 0;
}
