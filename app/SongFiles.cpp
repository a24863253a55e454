#include "app/SongFiles.h"

#include "app/WaveData.h"

CString SoundFileFilterEntry(const std::vector<CString>& extensions)
{
    CString filter = "Sound Files (*.wav)";
    for (const CString& e : extensions)
        filter += "(*" + e + ")";
    CString patterns = "*.wav;";
    for (const CString& e : extensions)
        patterns += "*" + e + ";";
    patterns = patterns.Left(patterns.GetLength() - 1);
    return filter + "|" + patterns + "|";
}

CString BuildSoundFileFilter(const std::vector<CString>& extensions)
{
    return SoundFileFilterEntry(extensions) + "All Files (*.*)|*.*||";
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

bool WavNeedsConversion(const char* path)
{
    CStdioRiffSource src;
    if (!src.Open(path))
        return false;
    PcmFormat fmt;
    uint32_t size = 0;
    switch (ReadWaveHeader(src, fmt, size)) {
    case WaveError::None:
    case WaveError::NotPcm:
    case WaveError::BadFormat:
        break;
    default:
        return false; // not a WAV the library would read either
    }
    const bool asItIs = fmt.formatTag == 1 && (fmt.bitsPerSample == 8 || fmt.bitsPerSample == 16) &&
                        (fmt.channels == 1 || fmt.channels == 2);
    return !asItIs;
}
