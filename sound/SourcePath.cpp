#include "SourcePath.h"

#include <cctype>
#include <cstring>

namespace {
bool EqualsNoCase(const char* a, const char* b, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        if (tolower((unsigned char)a[i]) != tolower((unsigned char)b[i]))
            return false;
    return true;
}
} // namespace

bool IsCdTrackSource(const char* path)
{
    if (!path)
        return false;
    size_t len = strlen(path);
    return len >= 4 && EqualsNoCase(path + len - 4, ".cda", 4);
}

bool IsRefusedMediaSource(const char* path)
{
    if (!path || !*path)
        return true;
    return strlen(path) >= 4 && EqualsNoCase(path, "http", 4);
}
