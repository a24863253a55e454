#pragma once
// Readers that take a path get the fuzz input through one temporary file per
// process, rewritten for every input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

inline const char* FuzzWriteTempFile(const uint8_t* data, size_t size, const char* suffix = "")
{
    static std::string path;
    if (path.empty()) {
        const char* dir = std::getenv("TMPDIR");
        path = std::string(dir && *dir ? dir : "/tmp") + "/quorva-fuzz-" + std::to_string(getpid()) + suffix;
    }
    std::FILE* fp = std::fopen(path.c_str(), "wb");
    if (!fp)
        std::abort();
    if (size && std::fwrite(data, 1, size, fp) != size)
        std::abort();
    std::fclose(fp);
    return path.c_str();
}
