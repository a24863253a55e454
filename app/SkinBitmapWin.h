#pragma once
// Loads one of the transport panel's skin bitmaps from its file, checked
// before any pixel reaches the system.
#include <windows.h>

#include "framework/CString.h"
#include "framework/Gdi.h"

enum class SkinLoad {
    Ok,
    CannotOpen, // the file is missing or unreadable
    Bad,        // the file is not a bitmap the panel can use; see the reason
};

// Reads path into bitmap (a device-dependent bitmap for the screen). With
// buildPalette the palette is first made from the file's colour table;
// either way a palette that exists is realised on the screen before the
// bitmap is made. reason says what is wrong for SkinLoad::Bad.
SkinLoad LoadSkinBitmapFile(const char* path, CBitmap& bitmap, CPalette& palette, bool buildPalette,
                            CString& reason);

// The same, telling the user what went wrong: a missing file by language
// text 55 and its path, a broken one by its path and the reason.
bool LoadSkinBitmapReported(const char* path, CBitmap& bitmap, CPalette& palette, bool buildPalette);
