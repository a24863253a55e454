#include "app/SkinBitmap.h"

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t MinInfoSize = 40;
constexpr int MaxColours = 256;

std::uint32_t U32(const std::uint8_t* p)
{
    return (std::uint32_t)p[0] | (std::uint32_t)p[1] << 8 | (std::uint32_t)p[2] << 16
           | (std::uint32_t)p[3] << 24;
}
std::uint16_t U16(const std::uint8_t* p) { return (std::uint16_t)(p[0] | p[1] << 8); }

bool Fail(CString& error, const char* why)
{
    error = why;
    return false;
}

} // namespace

bool ParseSkinBitmap(const std::uint8_t* data, std::size_t size, SkinBitmapLayout& layout,
                     CString& error)
{
    layout = SkinBitmapLayout();
    if (!data || size < FileHeaderSize || data[0] != 'B' || data[1] != 'M')
        return Fail(error, "not a BMP file");
    if (size > kMaxSkinFileBytes)
        return Fail(error, "file too large for a skin");
    if (size < FileHeaderSize + MinInfoSize)
        return Fail(error, "file too short for its header");
    const std::uint8_t* info = data + FileHeaderSize;
    std::uint32_t infoSize = U32(info);
    // 40 is the plain header; 52, 56, 108 and 124 are its longer versions.
    if (infoSize < MinInfoSize || infoSize > 124)
        return Fail(error, "unsupported header size");
    if (infoSize > size - FileHeaderSize)
        return Fail(error, "header runs past the end of the file");

    long long width = (std::int32_t)U32(info + 4);
    long long height = (std::int32_t)U32(info + 8);
    int planes = U16(info + 12);
    int bits = U16(info + 14);
    std::uint32_t compression = U32(info + 16);
    std::uint32_t used = U32(info + 32);

    if (width <= 0 || width > kMaxSkinSide || height == 0 || height > kMaxSkinSide || height < -kMaxSkinSide)
        return Fail(error, "bad bitmap size");
    if (planes != 1)
        return Fail(error, "bad plane count");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return Fail(error, "bad bits per pixel");
    if (compression == 3) {
        if (bits != 16 && bits != 32)
            return Fail(error, "bit fields need 16 or 32 bits per pixel");
    } else if (compression != 0) {
        return Fail(error, "compressed bitmaps are not supported");
    }

    long long colours;
    if (bits <= 8) {
        long long full = 1LL << bits;
        colours = used ? (long long)used : full;
        if (colours > full)
            return Fail(error, "more colours than the pixel size allows");
    } else {
        colours = used;
    }
    if (colours > MaxColours)
        return Fail(error, "more than 256 colours");

    // The three masks follow a plain 40-byte header; longer headers hold them.
    std::size_t masks = (compression == 3 && infoSize == MinInfoSize) ? 12 : 0;
    std::size_t coloursOffset = FileHeaderSize + infoSize + masks;
    std::size_t tableEnd = coloursOffset + (std::size_t)colours * 4;
    std::size_t pixelOffset = U32(data + 10);
    if (tableEnd > size)
        return Fail(error, "colour table runs past the end of the file");
    if (pixelOffset < tableEnd)
        return Fail(error, "pixel data overlaps the header");

    long long rows = height < 0 ? -height : height;
    long long stride = (width * bits + 31) / 32 * 4;
    long long pixelBytes = stride * rows;
    if (pixelOffset > size || (unsigned long long)pixelBytes > size - pixelOffset)
        return Fail(error, "pixel data runs past the end of the file");

    layout.width = (int)width;
    layout.height = (int)height;
    layout.bitsPerPixel = bits;
    layout.compression = (int)compression;
    layout.colourCount = (int)colours;
    layout.infoOffset = FileHeaderSize;
    layout.infoSize = infoSize;
    layout.coloursOffset = coloursOffset;
    layout.pixelOffset = pixelOffset;
    layout.pixelBytes = (std::size_t)pixelBytes;
    error.Empty();
    return true;
}

void SkinBitmapColour(const std::uint8_t* data, const SkinBitmapLayout& layout, int i,
                      std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue)
{
    const std::uint8_t* p = data + layout.coloursOffset + (std::size_t)i * 4;
    blue = p[0];
    green = p[1];
    red = p[2];
}
