// The language file: load, select each language and fetch texts.
#include <cstddef>
#include <cstdint>

#include "app/LanguageTable.h"
#include "tests/fuzz/FuzzTempFile.h"

namespace {
void Quiet(const char*) {}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* path = FuzzWriteTempFile(data, size, ".txt");
    CLanguageTable table;
    table.SetReporter(Quiet);
    if (!table.Load(path))
        return 0;
    for (const CString& name : table.GetLanguageNames())
        table.SelectName(name);
    for (int i = 0; i < table.GetLanguageCount() && i < 8; ++i) {
        table.SelectIndex(i);
        table.GetCurrentName();
        for (int n = 0; n < 64; ++n)
            table.GetString(n);
    }
    return 0;
}
