#pragma once
// Names around opening a song: the open-file dialog's filter and the title
// a chosen file gives its document. Portable.
#include <vector>

#include "framework/CString.h"

// "Sound Files (*.wav)(*.ext)...|*.wav;*.ext;...|All Files (*.*)|*.*||",
// one "(*ext)" and one "*ext" per library extension, in the library's order.
CString BuildSoundFileFilter(const std::vector<CString>& extensions);

// After the last "\" (or "/"), with the last four characters (the
// extension) removed: "C:\music\song.mp3" gives "song".
CString SongTitleFromPath(const CString& path);

// True when the path's last four characters, lower-cased, are ".wav".
bool IsWavPath(const CString& path);
