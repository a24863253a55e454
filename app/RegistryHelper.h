#pragma once
// Reads string values under HKEY_LOCAL_MACHINE.
#include "framework/CString.h"

class CRegistryHelper {
public:
    CRegistryHelper() {}
    ~CRegistryHelper() {}

    // "" when the key cannot be opened or the value is not a readable string
    // of less than 1024 bytes.
    CString QueryString(const char* keyPath, const char* valueName) const;
};
