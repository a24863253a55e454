#pragma once
// Builds WAV files byte by byte for the player's tests.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace wavtest {

inline void Put16(std::vector<unsigned char>& b, unsigned v)
{
    b.push_back(static_cast<unsigned char>(v));
    b.push_back(static_cast<unsigned char>(v >> 8));
}
inline void Put32(std::vector<unsigned char>& b, uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
inline void PutId(std::vector<unsigned char>& b, const char* id) { b.insert(b.end(), id, id + 4); }

struct Spec {
    unsigned tag = 1, channels = 2, rate = 44100, bits = 16;
    int blockAlign = -1;    // -1: channels * bits / 8
    unsigned fmtSize = 16;  // bytes of the "fmt " chunk
    int declaredData = -1;  // -1: the real size
    bool junkBeforeFmt = false;
};

// data: the bytes of the data chunk.
inline std::vector<unsigned char> Build(const Spec& s, const std::vector<unsigned char>& data)
{
    std::vector<unsigned char> b;
    PutId(b, "RIFF");
    Put32(b, 0); // patched below
    PutId(b, "WAVE");
    if (s.junkBeforeFmt) {
        PutId(b, "LIST");
        Put32(b, 3);
        b.insert(b.end(), {'a', 'b', 'c', 0}); // odd size plus pad byte
    }
    PutId(b, "fmt ");
    Put32(b, s.fmtSize);
    const unsigned align = s.blockAlign >= 0 ? static_cast<unsigned>(s.blockAlign) : s.channels * s.bits / 8;
    std::vector<unsigned char> f;
    Put16(f, s.tag);
    Put16(f, s.channels);
    Put32(f, s.rate);
    Put32(f, s.rate * align);
    Put16(f, align);
    Put16(f, s.bits);
    Put16(f, 0);
    f.resize(s.fmtSize, 0);
    b.insert(b.end(), f.begin(), f.end());
    PutId(b, "data");
    Put32(b, s.declaredData >= 0 ? static_cast<uint32_t>(s.declaredData) : static_cast<uint32_t>(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    const uint32_t riff = static_cast<uint32_t>(b.size() - 8);
    for (int i = 0; i < 4; ++i)
        b[4 + i] = static_cast<unsigned char>(riff >> (8 * i));
    return b;
}

// 16-bit stereo frames: left = i, right = -i (frame index, wrapping).
inline std::vector<unsigned char> StereoRamp(unsigned frames)
{
    std::vector<unsigned char> d;
    for (unsigned i = 0; i < frames; ++i) {
        Put16(d, static_cast<uint16_t>(i));
        Put16(d, static_cast<uint16_t>(-static_cast<int>(i)));
    }
    return d;
}

inline bool WriteFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace wavtest
