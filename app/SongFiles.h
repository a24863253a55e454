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
constexpr int kLangSongNotFound = 190;
constexpr int kLangSongNotOpened = 191;      // there, but could not be opened
constexpr int kLangSongDamaged = 192;        // a WAV that is damaged, cut short or no WAV
constexpr int kLangSongFormatRefused = 193;  // the output device does not take its format
constexpr int kLangOpeningSong = 194;        // progress: a long WAV is being read
constexpr int kLangDocumentTooLarge = 176; // reading the document ran out of memory

// True for a readable WAV file whose samples the player cannot take as they
// are: anything but 8- or 16-bit integer PCM on one or two channels.
bool WavNeedsConversion(const char* path);
