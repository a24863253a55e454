// The archive's length-prefixed strings, read until the input runs out.
#include <cstddef>
#include <cstdint>

#include "framework/Archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CMemFile file(data, size);
    CArchive ar(&file, CArchive::load);
    try {
        for (int i = 0; i < 64; ++i) {
            CString s;
            ar >> s;
        }
    } catch (CException* e) {
        e->Delete();
    }
    return 0;
}
