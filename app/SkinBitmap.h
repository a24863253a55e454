#pragma once
// Reads the header of a skin bitmap (a BMP file, at most 256 palette
// colours) and checks it against the file's size before any pixel is
// touched. Portable: the panel hands the checked pieces to the system.

#include <cstddef>
#include <cstdint>

#include "framework/CString.h"

struct SkinBitmapLayout {
    int width = 0;
    int height = 0;         // as stored: negative for top-down rows
    int bitsPerPixel = 0;
    int compression = 0;    // 0 plain, 3 bit fields
    int colourCount = 0;    // entries in the colour table
    std::size_t infoOffset = 0;    // the bitmap information header (after the 14-byte file header)
    std::size_t infoSize = 0;      // its declared size
    std::size_t coloursOffset = 0; // first 4-byte colour entry (blue, green, red, 0)
    std::size_t pixelOffset = 0;   // first pixel byte
    std::size_t pixelBytes = 0;    // rows x stride
};

// Skins are small pictures (the panel's face is 320 x 72): a file or a side
// beyond these is refused before its pixels take memory.
constexpr std::size_t kMaxSkinFileBytes = 4u << 20;
constexpr int kMaxSkinSide = 4096;

// Checks data (the whole file, or its first kMaxSkinFileBytes + 1 bytes)
// and fills layout. On failure returns false and sets error to a short
// reason.
bool ParseSkinBitmap(const std::uint8_t* data, std::size_t size, SkinBitmapLayout& layout,
                     CString& error);

// Red, green and blue of colour table entry i (0 <= i < colourCount).
void SkinBitmapColour(const std::uint8_t* data, const SkinBitmapLayout& layout, int i,
                      std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue);
