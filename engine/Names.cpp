#include "Names.h"

CString GetNoteNameText(int note)
{
    static const char* const kLow[12] = {"A", "Bb", "B", "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#"};
    static const char* const kHigh[12] = {"A", "A#", "B", "C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab"};
    int r = note % 12; // truncating: negative notes give r <= 0
    if (r < 0)
        r = 11;
    return CString(note > 11 ? kHigh[r] : kLow[r]);
}

CString GetKeyNameText(int key)
{
    static const char* const kKeys[12] = {"D", "D#", "E", "F", "F#", "G", "G#", "A", "Bb", "B", "C", "C#"};
    if (key < 0 || key > 11)
        return CString();
    return CString(kKeys[key]);
}
