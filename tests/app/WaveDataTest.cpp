#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/WaveData.h"
#include "tests/app/WaveTestFiles.h"

using namespace wavtest;

namespace {

struct Loaded {
    WaveError err = WaveError::Open;
    PcmFormat fmt{};
    uint32_t size = 0;
    std::vector<unsigned char> data;
};

Loaded LoadBytes(const std::vector<unsigned char>& file, bool (*accept)(const PcmFormat&, void*) = nullptr)
{
    // ctest runs each test in its own process, side by side: the test's name keeps
    // their files apart.
    static int n = 0;
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string path = ::testing::TempDir() + "wave_" + test->test_suite_name() + "_" +
                             test->name() + "_" + std::to_string(n++) + ".wav";
    Loaded r;
    if (!WriteFile(path, file))
        return r;
    CStdioRiffSource src;
    if (!src.Open(path.c_str()))
        return r;
    r.err = ReadWaveHeader(src, r.fmt, r.size, accept, nullptr);
    if (r.err == WaveError::None) {
        r.data.resize(r.size);
        if (src.Read(r.data.data(), static_cast<long>(r.size)) != static_cast<long>(r.size))
            r.err = WaveError::ShortRead;
    }
    src.Close();
    std::remove(path.c_str());
    return r;
}

PcmFormat Stereo16(uint32_t rate = 44100)
{
    return PcmFormat{1, 2, rate, rate * 4, 4, 16, 0};
}

} // namespace

TEST(WaveHeader, ReadsSixteenByteFormatAndSkipsOtherChunks)
{
    Spec s;
    s.junkBeforeFmt = true;
    Loaded r = LoadBytes(Build(s, StereoRamp(100)));
    ASSERT_EQ(WaveError::None, r.err);
    EXPECT_EQ(2, r.fmt.channels);
    EXPECT_EQ(44100u, r.fmt.samplesPerSec);
    EXPECT_EQ(4, r.fmt.blockAlign);
    EXPECT_EQ(16, r.fmt.bitsPerSample);
    EXPECT_EQ(0, r.fmt.extraSize);
    ASSERT_EQ(400u, r.size);
    EXPECT_EQ(StereoRamp(100), r.data);
    // An 18-byte chunk (with the extra-size field) reads the same.
    s.fmtSize = 18;
    EXPECT_EQ(WaveError::None, LoadBytes(Build(s, StereoRamp(3))).err);
}

TEST(WaveHeader, RefusesMalformedFiles)
{
    const auto data = StereoRamp(10);
    Spec s;
    s.tag = 3; // float
    EXPECT_EQ(WaveError::NotPcm, LoadBytes(Build(s, data)).err);
    // Cut short, or without samples, it is damaged, not only another format
    // (it would be converted into a song of nothing).
    EXPECT_EQ(WaveError::BadData, LoadBytes(Build(s, {})).err);
    s.declaredData = 1000;
    EXPECT_EQ(WaveError::BadData, LoadBytes(Build(s, data)).err);
    s = Spec();
    s.fmtSize = 14;
    EXPECT_EQ(WaveError::BadFormatChunk, LoadBytes(Build(s, data)).err);
    s = Spec();
    s.channels = 0;
    s.blockAlign = 4;
    EXPECT_EQ(WaveError::BadFormat, LoadBytes(Build(s, data)).err);
    s = Spec();
    s.rate = 0;
    EXPECT_EQ(WaveError::BadFormat, LoadBytes(Build(s, data)).err);
    s = Spec();
    s.blockAlign = 3;
    EXPECT_EQ(WaveError::BadFormat, LoadBytes(Build(s, data)).err);
    // Data chunk longer than the file.
    s = Spec();
    s.declaredData = 1000;
    EXPECT_EQ(WaveError::BadData, LoadBytes(Build(s, data)).err);
    // Shorter than one frame, and empty.
    EXPECT_EQ(WaveError::BadData, LoadBytes(Build(Spec(), {1, 2, 3})).err);
    EXPECT_EQ(WaveError::BadData, LoadBytes(Build(Spec(), {})).err);
    // Not a RIFF file; a file cut inside the format chunk; no data chunk.
    EXPECT_EQ(WaveError::NoRiff, LoadBytes({'R', 'I', 'F', 'X', 0, 0, 0, 0}).err);
    auto whole = Build(Spec(), data);
    EXPECT_EQ(WaveError::BadFormatChunk, LoadBytes({whole.begin(), whole.begin() + 30}).err);
    EXPECT_EQ(WaveError::NoData, LoadBytes({whole.begin(), whole.begin() + 36}).err);
    // The device may refuse.
    EXPECT_EQ(WaveError::Refused,
              LoadBytes(Build(Spec(), data), [](const PcmFormat&, void*) { return false; }).err);
}

TEST(WaveHeader, PartialFrameAtTheEndIsDropped)
{
    auto data = StereoRamp(5);
    data.push_back(0x11);
    data.push_back(0x22);
    Loaded r = LoadBytes(Build(Spec(), data));
    ASSERT_EQ(WaveError::None, r.err);
    EXPECT_EQ(20u, r.size);
}

TEST(WaveArithmetic, PlayRangeStopsOneFrameEarlyAndRefusesTheLastFrame)
{
    const PcmFormat f = Stereo16(1000); // 1 frame per ms
    const uint32_t size = 4 * 1000;
    uint32_t off = 0, len = 0;
    ASSERT_TRUE(WavePlayRange(f, size, 0, off, len));
    EXPECT_EQ(0u, off);
    EXPECT_EQ(size - 4, len);
    ASSERT_TRUE(WavePlayRange(f, size, 250.7, off, len));
    EXPECT_EQ(250u * 4, off);
    EXPECT_EQ(size - 1000 - 4, len);
    ASSERT_TRUE(WavePlayRange(f, size, 998, off, len));
    EXPECT_EQ(4u, len);
    EXPECT_FALSE(WavePlayRange(f, size, 999, off, len));
    EXPECT_FALSE(WavePlayRange(f, size, 1000, off, len));
    EXPECT_FALSE(WavePlayRange(f, size, 1e12, off, len));
    // Never before the buffer.
    ASSERT_TRUE(WavePlayRange(f, size, -50, off, len));
    EXPECT_EQ(0u, off);
    // One frame only: nothing to play.
    EXPECT_FALSE(WavePlayRange(f, 4, 0, off, len));
    // 44.1 kHz: the offset is a whole frame in bytes.
    ASSERT_TRUE(WavePlayRange(Stereo16(), 44100 * 4 * 10, 1234, off, len));
    EXPECT_EQ(4u * 54419, off);
}

TEST(WaveArithmetic, LengthsAndPositions)
{
    const PcmFormat f = Stereo16();
    EXPECT_DOUBLE_EQ(1000.0, WaveLengthMs(f, 44100 * 4));
    EXPECT_DOUBLE_EQ(500.0, WaveBytesToMs(f, 44100 * 2));
    EXPECT_EQ(44100u * 4 * 3, WaveMsToBytes(f, 3000));
    // 8-bit mono counts by its own frame size.
    const PcmFormat m8{1, 1, 8000, 8000, 1, 8, 0};
    EXPECT_DOUBLE_EQ(1000.0, WaveLengthMs(m8, 8000));
    EXPECT_EQ(8000u, WaveMsToBytes(m8, 1000));
    // An unusable format divides by nothing.
    const PcmFormat none{1, 0, 0, 0, 0, 16, 0};
    EXPECT_EQ(0.0, WaveLengthMs(none, 1000));
    EXPECT_EQ(0.0, WaveBytesToMs(none, 1000));
}

TEST(WaveConversion, FloatAndMonoSamples)
{
    std::vector<unsigned char> d;
    Put16(d, 0x8000); // -32768
    Put16(d, 0x7FFF);
    Put16(d, 16384);
    Put16(d, 0xC000); // -16384
    float *l = nullptr, *r = nullptr;
    int n = 0;
    ASSERT_TRUE(WaveToFloat(d.data(), 8, Stereo16(), &l, &r, &n));
    ASSERT_EQ(2, n);
    ASSERT_NE(nullptr, r);
    EXPECT_FLOAT_EQ(-1.0f, l[0]);
    EXPECT_FLOAT_EQ(32767 / 32768.0f, r[0]);
    EXPECT_FLOAT_EQ(0.5f, l[1]);
    EXPECT_FLOAT_EQ(-0.5f, r[1]);
    delete[] l;
    delete[] r;
    float* m = nullptr;
    ASSERT_TRUE(WaveToMono(d.data(), 8, Stereo16(), &m, &n));
    EXPECT_EQ(2, n);
    EXPECT_FLOAT_EQ(-1 / 65536.0f, m[0]);
    EXPECT_FLOAT_EQ(0.0f, m[1]);
    delete[] m;
    // A size that is not whole frames converts only the whole ones (the
    // sanitizer catches any write past the arrays).
    ASSERT_TRUE(WaveToFloat(d.data(), 7, Stereo16(), &l, &r, &n));
    EXPECT_EQ(1, n);
    delete[] l;
    delete[] r;
    // 8-bit mono.
    const unsigned char b8[] = {0, 128, 255};
    const PcmFormat m8{1, 1, 8000, 8000, 1, 8, 0};
    ASSERT_TRUE(WaveToFloat(b8, 3, m8, &l, &r, &n));
    EXPECT_EQ(nullptr, r);
    EXPECT_FLOAT_EQ(-1.0f, l[0]);
    EXPECT_FLOAT_EQ(0.0f, l[1]);
    EXPECT_FLOAT_EQ(127 / 128.0f, l[2]);
    delete[] l;
    // Mono mix only for 16-bit stereo; no float copy of 24-bit or 3 channels.
    EXPECT_FALSE(WaveToMono(b8, 3, m8, &m, &n));
    const PcmFormat s24{1, 2, 44100, 44100 * 6, 6, 24, 0};
    EXPECT_FALSE(WaveToFloat(d.data(), 6, s24, &l, &r, &n));
    const PcmFormat c3{1, 3, 44100, 44100 * 6, 6, 16, 0};
    EXPECT_FALSE(WaveToFloat(d.data(), 6, c3, &l, &r, &n));
}

TEST(WaveData, LongSongsConvertWholeOnSeveralThreads)
{
    // Long songs are copied in two or four parts: every frame, the seams
    // and the last one included, comes out as for a short song.
    for (unsigned frames : {(1u << 20) + 3, (1u << 21) + 7}) {
        std::vector<unsigned char> d;
        d.reserve(frames * 4u);
        for (unsigned i = 0; i < frames; ++i) {
            Put16(d, i & 0xFFFF);
            Put16(d, (i * 7u) & 0xFFFF);
        }
        auto sample = [](unsigned v) { return static_cast<float>(static_cast<int16_t>(v & 0xFFFF)); };
        float* m = nullptr;
        int n = 0;
        ASSERT_TRUE(WaveToMono(d.data(), (uint32_t)d.size(), Stereo16(), &m, &n));
        ASSERT_EQ((int)frames, n);
        int wrong = 0;
        for (unsigned i = 0; i < frames; ++i)
            if (m[i] != (sample(i) + sample(i * 7u)) / 65536.0f)
                ++wrong;
        EXPECT_EQ(0, wrong) << frames;
        delete[] m;
        float *l = nullptr, *r = nullptr;
        ASSERT_TRUE(WaveToFloat(d.data(), (uint32_t)d.size(), Stereo16(), &l, &r, &n));
        ASSERT_EQ((int)frames, n);
        for (unsigned i = 0; i < frames; ++i)
            if (l[i] != sample(i) / 32768.0f || r[i] != sample(i * 7u) / 32768.0f)
                ++wrong;
        EXPECT_EQ(0, wrong) << frames;
        delete[] l;
        delete[] r;
    }
}
