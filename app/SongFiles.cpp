#include "app/SongFiles.h"

CString BuildSoundFileFilter(const std::vector<CString>& extensions)
{
    CString filter = "Sound Files (*.wav)";
    for (const CString& e : extensions)
        filter += "(*" + e + ")";
    CString patterns = "*.wav;";
    for (const CString& e : extensions)
        patterns += "*" + e + ";";
    patterns = patterns.Left(patterns.GetLength() - 1);
    return filter + "|" + patterns + "|All Files (*.*)|*.*||";
}

CString SongTitleFromPath(const CString& path)
{
    int slash = path.ReverseFind('\\');
    int other = path.ReverseFind('/');
    if (other > slash)
        slash = other;
    CString name = path.Mid(slash + 1);
    // A name of four characters or fewer has no title left.
    return name.GetLength() > 4 ? name.Left(name.GetLength() - 4) : CString();
}

bool IsWavPath(const CString& path)
{
    if (path.GetLength() < 4)
        return false;
    CString end = path.Right(4);
    end.MakeLower();
    return end == ".wav";
}
