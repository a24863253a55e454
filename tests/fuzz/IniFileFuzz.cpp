// The chord shape INI reader, with a save of what it read.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/FuzzTempFile.h"
#include "views/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* path = FuzzWriteTempFile(data, size, ".ini");
    CIniFile ini{CString(path)};
    ini.Load();
    ini.GetValue("Chords", "Count");
    ini.Save();
    CIniFile again{CString(path)};
    again.Load();
    return 0;
}
