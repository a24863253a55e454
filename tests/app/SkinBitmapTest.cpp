#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/SkinBitmap.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void Put32(Bytes& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = (std::uint8_t)(v >> (8 * i));
}
void Put16(Bytes& b, std::size_t at, std::uint16_t v)
{
    b[at] = (std::uint8_t)v;
    b[at + 1] = (std::uint8_t)(v >> 8);
}

// An 8-bit 3 x 2 bitmap with a 4-colour table.
Bytes SmallBitmap()
{
    const int colours = 4, stride = 4, rows = 2;
    Bytes b(14 + 40 + colours * 4 + stride * rows, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, (std::uint32_t)b.size());
    Put32(b, 10, 14 + 40 + colours * 4);
    Put32(b, 14, 40);
    Put32(b, 18, 3);
    Put32(b, 22, rows);
    Put16(b, 26, 1);
    Put16(b, 28, 8);
    Put32(b, 46, colours);
    b[54 + 4 * 2 + 0] = 0x30; // colour 2: blue
    b[54 + 4 * 2 + 1] = 0x20; //          green
    b[54 + 4 * 2 + 2] = 0x10; //          red
    return b;
}

bool Parse(const Bytes& b, SkinBitmapLayout& l, CString& err)
{
    return ParseSkinBitmap(b.data(), b.size(), l, err);
}

} // namespace

TEST(SkinBitmap, TheSkinFilesFitThePanel)
{
    struct { const char* name; int w, h; } files[] = {
        {"mainBmp.bmp", 320, 72}, {"mainLightBmp.bmp", 320, 72},
        {"volumeBmp.bmp", 18, 9}, {"timeSlideBmp.bmp", 10, 11}};
    for (const auto& f : files) {
        Bytes b = ReadFile(std::string(QUORVA_SOURCE_DIR "/data/skin/") + f.name);
        ASSERT_FALSE(b.empty()) << f.name;
        SkinBitmapLayout l;
        CString err;
        ASSERT_TRUE(Parse(b, l, err)) << f.name << ": " << err.GetString();
        EXPECT_LE(l.colourCount, 256);
        EXPECT_GT(l.colourCount, 0);
        EXPECT_LE(l.pixelOffset + l.pixelBytes, b.size());
        // The panel's zones reach x 284 and the tracks y 62.
        if (f.w >= 300) {
            EXPECT_GE(l.width, 292);
            EXPECT_GE(l.height < 0 ? -l.height : l.height, 68);
        }
    }
}

TEST(SkinBitmap, LayoutOfAGoodFile)
{
    Bytes b = SmallBitmap();
    SkinBitmapLayout l;
    CString err;
    ASSERT_TRUE(Parse(b, l, err)) << err.GetString();
    EXPECT_EQ(l.width, 3);
    EXPECT_EQ(l.height, 2);
    EXPECT_EQ(l.bitsPerPixel, 8);
    EXPECT_EQ(l.colourCount, 4);
    EXPECT_EQ(l.coloursOffset, 54u);
    EXPECT_EQ(l.pixelOffset, 70u);
    EXPECT_EQ(l.pixelBytes, 8u);
    std::uint8_t r, g, bl;
    SkinBitmapColour(b.data(), l, 2, r, g, bl);
    EXPECT_EQ(r, 0x10);
    EXPECT_EQ(g, 0x20);
    EXPECT_EQ(bl, 0x30);

    // A used-colour count of 0 means the full table of the pixel size.
    Bytes full(14 + 40 + 256 * 4 + 8, 0);
    std::memcpy(full.data(), b.data(), 54);
    Put32(full, 10, 14 + 40 + 256 * 4);
    Put32(full, 46, 0);
    ASSERT_TRUE(Parse(full, l, err)) << err.GetString();
    EXPECT_EQ(l.colourCount, 256);
}

TEST(SkinBitmap, MalformedFilesAreRejected)
{
    struct Case {
        const char* what;
        void (*spoil)(Bytes&);
    } cases[] = {
        {"not BM", [](Bytes& b) { b[1] = 'X'; }},
        {"only the file header", [](Bytes& b) { b.resize(14); }},
        {"short pixels", [](Bytes& b) { b.resize(b.size() - 1); }},
        {"colour count above 256", [](Bytes& b) { Put32(b, 46, 300); }},
        {"colour count above the pixel size", [](Bytes& b) { Put16(b, 28, 4); Put32(b, 46, 17); }},
        {"huge colour count", [](Bytes& b) { Put32(b, 46, 0xFFFFFFF0u); }},
        {"pixel offset past the end", [](Bytes& b) { Put32(b, 10, 0x7FFFFFFF); }},
        {"pixel offset inside the table", [](Bytes& b) { Put32(b, 10, 60); }},
        {"header size below 40", [](Bytes& b) { Put32(b, 14, 12); }},
        {"header size past the end", [](Bytes& b) { Put32(b, 14, 124); b.resize(100); }},
        {"zero width", [](Bytes& b) { Put32(b, 18, 0); }},
        {"negative width", [](Bytes& b) { Put32(b, 18, 0xFFFFFFFFu); }},
        {"huge height", [](Bytes& b) { Put32(b, 22, 0x40000000); }},
        {"odd bit count", [](Bytes& b) { Put16(b, 28, 7); }},
        {"run-length compression", [](Bytes& b) { Put32(b, 30, 1); }},
        {"bit fields on 8 bits", [](Bytes& b) { Put32(b, 30, 3); }},
        {"two planes", [](Bytes& b) { Put16(b, 26, 2); }},
        // Pixels all there, but more than any skin: refused before they take memory.
        {"wider than a skin", [](Bytes& b) { Put32(b, 18, kMaxSkinSide + 1); Put32(b, 22, 1); b.resize(8400); }},
        {"file larger than a skin", [](Bytes& b) { b.resize(kMaxSkinFileBytes + 1); }},
    };
    for (const Case& c : cases) {
        Bytes b = SmallBitmap();
        c.spoil(b);
        SkinBitmapLayout l;
        CString err;
        EXPECT_FALSE(Parse(b, l, err)) << c.what;
        EXPECT_FALSE(err.IsEmpty()) << c.what;
    }
    SkinBitmapLayout l;
    CString err;
    EXPECT_FALSE(ParseSkinBitmap(nullptr, 0, l, err));
}

TEST(SkinBitmap, TopDownAndTrueColourFiles)
{
    Bytes b = SmallBitmap();
    Put32(b, 22, (std::uint32_t)-2);
    SkinBitmapLayout l;
    CString err;
    ASSERT_TRUE(Parse(b, l, err)) << err.GetString();
    EXPECT_EQ(l.height, -2);

    // 24 bits, no table: 3 pixels are 9 bytes, padded to 12 per row.
    Bytes t(14 + 40 + 24, 0);
    std::memcpy(t.data(), b.data(), 54);
    Put32(t, 10, 54);
    Put32(t, 22, 2);
    Put16(t, 28, 24);
    Put32(t, 46, 0);
    ASSERT_TRUE(Parse(t, l, err)) << err.GetString();
    EXPECT_EQ(l.colourCount, 0);
    EXPECT_EQ(l.pixelBytes, 24u);
    t.resize(t.size() - 2);
    EXPECT_FALSE(Parse(t, l, err));
}
