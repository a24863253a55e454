#pragma once
// Reads back a WAV file written by the conversion library, for the tests.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

struct WavContents {
    bool ok = false;
    uint32_t riffSize = 0, fmtSize = 0, rate = 0, bytesPerSec = 0, dataSize = 0;
    uint16_t tag = 0, channels = 0, blockAlign = 0, bits = 0;
    std::vector<uint8_t> data; // everything after the 44-byte header
};

inline uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24; }
inline uint16_t Le16(const uint8_t* p) { return (uint16_t)(p[0] | p[1] << 8); }

inline WavContents ReadWav(const std::string& path)
{
    WavContents w;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return w;
    std::vector<uint8_t> all;
    uint8_t buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0)
        all.insert(all.end(), buf, buf + n);
    fclose(f);
    if (all.size() < 44 || memcmp(&all[0], "RIFF", 4) || memcmp(&all[8], "WAVE", 4) ||
        memcmp(&all[12], "fmt ", 4) || memcmp(&all[36], "data", 4))
        return w;
    w.riffSize = Le32(&all[4]);
    w.fmtSize = Le32(&all[16]);
    w.tag = Le16(&all[20]);
    w.channels = Le16(&all[22]);
    w.rate = Le32(&all[24]);
    w.bytesPerSec = Le32(&all[28]);
    w.blockAlign = Le16(&all[32]);
    w.bits = Le16(&all[34]);
    w.dataSize = Le32(&all[40]);
    w.data.assign(all.begin() + 44, all.end());
    w.ok = true;
    return w;
}

// Power of one channel of 16-bit interleaved samples at freq (Goertzel),
// over frames [first, first + count).
inline double TonePower(const WavContents& w, int channel, double freq, size_t first, size_t count)
{
    const int16_t* s = (const int16_t*)w.data.data();
    const double pi = 3.14159265358979323846;
    double k = 2 * cos(2 * pi * freq / w.rate), s1 = 0, s2 = 0;
    for (size_t i = first; i < first + count; ++i) {
        double s0 = s[i * w.channels + channel] / 32768.0 + k * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return s1 * s1 + s2 * s2 - k * s1 * s2;
}

inline double ChannelRms(const WavContents& w, int channel, size_t first, size_t count)
{
    const int16_t* s = (const int16_t*)w.data.data();
    double sum = 0;
    for (size_t i = first; i < first + count; ++i) {
        double v = s[i * w.channels + channel] / 32768.0;
        sum += v * v;
    }
    return sqrt(sum / count);
}
