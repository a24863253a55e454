// The skin bitmap header check, and the colour table it lets through.
#include <cstddef>
#include <cstdint>

#include "app/SkinBitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SkinBitmapLayout layout;
    CString error;
    if (!ParseSkinBitmap(data, size, layout, error))
        return 0;
    // Everything the layout names must lie inside the data.
    if (layout.pixelOffset + layout.pixelBytes > size)
        __builtin_trap();
    uint8_t r, g, b;
    for (int i = 0; i < layout.colourCount; ++i)
        SkinBitmapColour(data, layout, i, r, g, b);
    return 0;
}
