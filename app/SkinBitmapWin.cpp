#include "app/SkinBitmapWin.h"

#include <cstdio>
#include <vector>

#include "app/LangText.h"
#include "app/SkinBitmap.h"
#include "framework/App.h"

namespace {

// The file, up to one byte more than a skin may have: the parser refuses
// a larger one without the rest ever being read.
bool ReadSkinFile(const char* path, std::vector<std::uint8_t>& bytes)
{
    std::FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    bytes.resize(kMaxSkinFileBytes + 1);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

bool BuildPalette(const std::vector<std::uint8_t>& bytes, const SkinBitmapLayout& layout, CPalette& palette)
{
    palette.DeleteObject();
    if (layout.colourCount <= 0)
        return true;
    std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * (size_t)layout.colourCount);
    LOGPALETTE* lp = reinterpret_cast<LOGPALETTE*>(block.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = (WORD)layout.colourCount;
    for (int i = 0; i < layout.colourCount; ++i) {
        PALETTEENTRY& e = lp->palPalEntry[i];
        SkinBitmapColour(bytes.data(), layout, i, e.peRed, e.peGreen, e.peBlue);
        e.peFlags = 0;
    }
    return palette.CreatePalette(lp) != FALSE;
}

} // namespace

SkinLoad LoadSkinBitmapFile(const char* path, CBitmap& bitmap, CPalette& palette, bool buildPalette,
                            CString& reason)
{
    reason.Empty();
    std::vector<std::uint8_t> bytes;
    if (!path || !ReadSkinFile(path, bytes))
        return SkinLoad::CannotOpen;
    SkinBitmapLayout layout;
    if (!ParseSkinBitmap(bytes.data(), bytes.size(), layout, reason))
        return SkinLoad::Bad;
    if (buildPalette && !BuildPalette(bytes, layout, palette)) {
        reason = "the palette could not be made";
        return SkinLoad::Bad;
    }

    HDC screen = ::GetDC(nullptr);
    HPALETTE oldPalette = nullptr;
    if (palette.GetSafeHandle()) {
        oldPalette = ::SelectPalette(screen, (HPALETTE)palette.GetSafeHandle(), FALSE);
        ::RealizePalette(screen);
    }
    const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(bytes.data() + layout.infoOffset);
    HBITMAP made = ::CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, bytes.data() + layout.pixelOffset, info,
                                    DIB_RGB_COLORS);
    if (oldPalette)
        ::SelectPalette(screen, oldPalette, FALSE);
    ::ReleaseDC(nullptr, screen);
    if (!made) {
        reason = "the system could not make the bitmap";
        return SkinLoad::Bad;
    }
    bitmap.DeleteObject();
    bitmap.Attach(made);
    return SkinLoad::Ok;
}

namespace {
// Owned by the main window, not by whichever window is active: during
// start-up that may be the quick-start page, whose dropping would take the
// box with it before the user read it, and the program then ends.
void ReportSkinFault(const CString& text)
{
    CWnd* main = AfxGetMainWnd();
    if (main && main->GetSafeHwnd())
        main->MessageBox(text, nullptr, MB_OK | MB_ICONEXCLAMATION);
    else
        AfxMessageBox(text);
}
} // namespace

bool LoadSkinBitmapReported(const char* path, CBitmap& bitmap, CPalette& palette, bool buildPalette)
{
    CString reason;
    switch (LoadSkinBitmapFile(path, bitmap, palette, buildPalette, reason)) {
    case SkinLoad::Ok:
        return true;
    case SkinLoad::CannotOpen:
        ReportSkinFault(LangText(55) + path);
        return false;
    case SkinLoad::Bad:
    default:
        // A broken picture is named, so the user knows what to reinstall.
        ReportSkinFault(CString(path) + ":\n" + reason);
        return false;
    }
}
