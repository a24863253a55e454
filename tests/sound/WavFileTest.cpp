#include <gtest/gtest.h>

#include <cstring>

#include "sound/WavFile.h"

namespace {
uint32_t At32(const uint8_t* h, int off) { return h[off] | h[off + 1] << 8 | h[off + 2] << 16 | (uint32_t)h[off + 3] << 24; }
uint16_t At16(const uint8_t* h, int off) { return (uint16_t)(h[off] | h[off + 1] << 8); }

TEST(WavHeader, CdQualityLayout)
{
    uint8_t h[kWavHeaderSize];
    BuildWavHeader(h, {2, 44100, 16}, 529200);
    EXPECT_EQ(memcmp(h, "RIFF", 4), 0);
    EXPECT_EQ(At32(h, 4), 529200u + 36);
    EXPECT_EQ(memcmp(h + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(At32(h, 16), 16u);
    EXPECT_EQ(At16(h, 20), 1);
    EXPECT_EQ(At16(h, 22), 2);
    EXPECT_EQ(At32(h, 24), 44100u);
    EXPECT_EQ(At32(h, 28), 176400u);
    EXPECT_EQ(At16(h, 32), 4);
    EXPECT_EQ(At16(h, 34), 16);
    EXPECT_EQ(memcmp(h + 36, "data", 4), 0);
    EXPECT_EQ(At32(h, 40), 529200u);
}

TEST(WavHeader, MonoAndWideFormatsDescribeTheirData)
{
    uint8_t h[kWavHeaderSize];
    BuildWavHeader(h, {1, 22050, 16}, 0);
    EXPECT_EQ(At16(h, 32), 2);
    EXPECT_EQ(At32(h, 28), 44100u);
    EXPECT_EQ(At32(h, 4), 36u);
    BuildWavHeader(h, {2, 48000, 24}, 6);
    EXPECT_EQ(At16(h, 32), 6);
    EXPECT_EQ(At32(h, 28), 288000u);
    EXPECT_EQ(At16(h, 34), 24);
    BuildWavHeader(h, {1, 8000, 8}, 0);
    EXPECT_EQ(At16(h, 32), 1);
    EXPECT_EQ(At32(h, 28), 8000u);
}

TEST(WavHeader, RewriteAfterAppendKeepsData)
{
    FILE* f = tmpfile();
    ASSERT_NE(f, nullptr);
    WavFormat fmt{2, 44100, 16};
    ASSERT_TRUE(WriteWavHeader(f, fmt, 0));
    const char samples[] = "abcdefgh";
    ASSERT_EQ(fwrite(samples, 1, 8, f), 8u);
    ASSERT_TRUE(WriteWavHeader(f, fmt, 8));
    // Appending goes on at the end after a rewrite.
    ASSERT_EQ(fwrite("ij", 1, 2, f), 2u);
    rewind(f);
    uint8_t all[64];
    ASSERT_EQ(fread(all, 1, sizeof all, f), kWavHeaderSize + 10);
    EXPECT_EQ(At32(all, 40), 8u);
    EXPECT_EQ(memcmp(all + 44, "abcdefghij", 10), 0);
    fclose(f);
    EXPECT_FALSE(WriteWavHeader(nullptr, fmt, 0));
}

TEST(DecodeProgress, SixtyFourBitArithmetic)
{
    // 50 MB of output: bytes x 100 no longer fits 32 bits.
    const uint64_t expected = 60000000;
    EXPECT_EQ(ProgressPercent(50000000, expected), 83);
    EXPECT_EQ(ProgressPercent(0xFFFFFFF0ull, 0xFFFFFFFFull), 99);
    EXPECT_EQ(ProgressPercent(expected, expected), 100);
    EXPECT_EQ(ProgressPercent(0, expected), 0);
    // A source running past its stated duration stays at 100.
    EXPECT_EQ(ProgressPercent(3 * expected, expected), 100);
    EXPECT_EQ(ProgressPercent(10, 0), 0);
}

TEST(DecodeProgress, BytesForDuration)
{
    // 3 s of 44.1 kHz stereo, 100-ns units.
    EXPECT_EQ(PcmBytesForDuration(30000000, {2, 44100, 16}), 529200u);
    EXPECT_EQ(PcmBytesForDuration(20000000, {1, 22050, 16}), 88200u);
    // Two hours at 48 kHz: far past 32 bits in the intermediate product.
    EXPECT_EQ(PcmBytesForDuration(72000000000ull, {2, 48000, 16}), 7200ull * 48000 * 4);
    EXPECT_EQ(PcmBytesForDuration(0, {2, 44100, 16}), 0u);
}
} // namespace
