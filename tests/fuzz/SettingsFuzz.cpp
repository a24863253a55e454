// The settings file "set.ton": read a few names, then write one back.
#include <cstddef>
#include <cstdint>

#include "app/Settings.h"
#include "tests/fuzz/FuzzTempFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* path = FuzzWriteTempFile(data, size, ".ton");
    static const char* const names[] = {"Language", "Skin", "Volume", "", "a"};
    for (const char* name : names)
        CSettingsFile::Read(path, name);
    CSettingsFile::Write(path, "Volume", 7);
    CSettingsFile::Read(path, "Volume");
    return 0;
}
