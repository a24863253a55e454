#pragma once
// Names around opening a song: the open-file dialog's filter and the title
// a chosen file gives its document. Portable.
#include <vector>

#include "framework/CString.h"

// "Sound Files (*.wav)(*.ext)...|*.wav;*.ext;...|All Files (*.*)|*.*||",
// one "(*ext)" and one "*ext" per library extension, in the library's order.
CString BuildSoundFileFilter(const std::vector<CString>& extensions);
// Its first entry alone: "Sound Files (*.wav)(*.ext)...|*.wav;*.ext;...|".
CString SoundFileFilterEntry(const std::vector<CString>& extensions);

// After the last "\" (or "/"), with the last four characters (the
// extension) removed: "C:\music\song.mp3" gives "song".
CString SongTitleFromPath(const CString& path);

// True when the path's last four characters, lower-cased, are ".wav".
bool IsWavPath(const CString& path);

// Language texts of opening and saving.
constexpr int kLangLeadSheetFilter = 160; // "Lead sheet (*.rtf)"
constexpr int kLangNameNotUsable = 161;   // the name lost letters, rename it
constexpr int kLangDocumentTooLarge = 176; // reading the document ran out of memory

// False when the name lost letters on its way into the ANSI code page (they
// come back as '?', which no Windows file name holds).
bool IsUsableAnsiPath(const CString& path);

// True for a readable WAV file whose samples the player cannot take as they
// are: anything but 8- or 16-bit integer PCM on one or two channels.
bool WavNeedsConversion(const char* path);
