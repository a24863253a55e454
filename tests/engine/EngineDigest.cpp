// Prints the digest of the shipped Zumbrel.dll's results for a 16-bit WAV,
// analysed as the program's worker does it (mono floats, GetFinder):
//   engine_digest song.wav
// Builds whose engines compute the same results print the same line.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "app/WaveData.h"
#include "bench/ResultDigest.h"
#include "shared/IFinder.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: engine_digest song.wav\n");
        return 2;
    }
    CStdioRiffSource src;
    PcmFormat fmt;
    uint32_t size = 0;
    if (!src.Open(argv[1]) || ReadWaveHeader(src, fmt, size) != WaveError::None) {
        std::fprintf(stderr, "engine_digest: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<unsigned char> data(size);
    float* samples = nullptr;
    float* right = nullptr;
    int count = 0;
    if (src.Read(data.data(), (long)size) != (long)size ||
        !(fmt.channels == 2 ? WaveToMono(data.data(), size, fmt, &samples, &count)
                            : WaveToFloat(data.data(), size, fmt, &samples, &right, &count))) {
        std::fprintf(stderr, "engine_digest: cannot convert %s\n", argv[1]);
        return 1;
    }
    delete[] right;
    HMODULE lib = LoadLibraryA("Zumbrel.dll");
    GetFinderFn get = lib ? (GetFinderFn)(void*)GetProcAddress(lib, "GetFinder") : nullptr;
    IFinder* f = get ? get() : nullptr;
    if (!f) {
        std::fprintf(stderr, "engine_digest: no engine in Zumbrel.dll\n");
        return 1;
    }
    f->Initialize(nullptr);
    f->Analyze(samples, 0, count, (int)fmt.samplesPerSec, nullptr);
    CFloatMatrix* m[4] = {};
    if (!f->GetChordMatrix(&m[0]) || !f->GetBassMatrix(&m[1]) || !f->GetToneMatrix(&m[2]) ||
        !f->GetBassToneMatrix(&m[3])) {
        std::fprintf(stderr, "engine_digest: no results\n");
        return 1;
    }
    std::printf("key %s, %d chords, results %016llx\n", (const char*)f->GetKeyName(), m[0] ? m[0]->GetCols() : 0,
                ResultDigest(m, f->GetReferencePitch()));
    delete[] samples;
    f->Release();
    return 0;
}
