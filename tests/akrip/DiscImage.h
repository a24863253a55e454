#pragma once
// Raw audio disc images (BIN/CUE) made by the tests, and environment
// switches set for the length of a scope. Windows tests.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The byte at a position of every test image: a fixed pseudo-random
// pattern, so that any misplaced frame shows.
inline uint8_t ImageByte(uint64_t pos)
{
    uint32_t x = (uint32_t)(pos * 2654435761u) ^ (uint32_t)(pos >> 11) * 40503u;
    return (uint8_t)(x >> 24);
}

inline std::vector<uint8_t> ImageBytes(uint32_t firstFrame, uint32_t frames)
{
    std::vector<uint8_t> out((size_t)frames * 2352);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = ImageByte((uint64_t)firstFrame * 2352 + i);
    return out;
}

inline bool WriteFileBytes(const std::string& path, const void* data, size_t size)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = fwrite(data, 1, size, f) == size;
    return fclose(f) == 0 && ok;
}

inline bool WriteText(const std::string& path, const std::string& text)
{
    return WriteFileBytes(path, text.data(), text.size());
}

// Writes an image of `frames` frames plus `extraBytes` stray bytes.
inline bool WriteImage(const std::string& path, uint32_t frames, size_t extraBytes = 0)
{
    std::vector<uint8_t> bytes = ImageBytes(0, frames);
    bytes.resize(bytes.size() + extraBytes, 0);
    return WriteFileBytes(path, bytes.data(), bytes.size());
}

// "mm:ss:ff" of a frame number.
inline std::string Msf(uint32_t frame)
{
    char buf[16];
    snprintf(buf, sizeof buf, "%02u:%02u:%02u", frame / 75 / 60, frame / 75 % 60, frame % 75);
    return buf;
}

// A cue sheet of AUDIO tracks starting at the given frames.
inline std::string CueText(const std::string& binName, const std::vector<uint32_t>& starts)
{
    std::string s = "REM test disc\r\nFILE \"" + binName + "\" BINARY\r\n";
    for (size_t i = 0; i < starts.size(); ++i) {
        char line[64];
        snprintf(line, sizeof line, "  TRACK %02u AUDIO\r\n    INDEX 01 %s\r\n", (unsigned)(i + 1),
                 Msf(starts[i]).c_str());
        s += line;
    }
    return s;
}

// A folder of its own below the working folder (the test's bin folder).
inline std::string TestFolder(const char* name)
{
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(sizeof cwd, cwd);
    std::string dir = std::string(cwd) + "\\" + name;
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

// Sets an environment variable (or removes it for a null value) and puts
// the old state back when the scope ends.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        char buf[4096];
        DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
        m_had = n > 0 && n < sizeof buf;
        if (m_had)
            m_old.assign(buf, n);
        SetEnvironmentVariableA(name, value);
    }
    ~ScopedEnv() { SetEnvironmentVariableA(m_name.c_str(), m_had ? m_old.c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::string m_old;
    bool m_had;
};

// The first CD-ROM drive letter, or 0.
inline char FirstCdromLetter()
{
    DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        char root[4] = {(char)('A' + i), ':', '\\', 0};
        if ((mask & (1u << i)) && GetDriveTypeA(root) == DRIVE_CDROM)
            return root[0];
    }
    return 0;
}
