#include "RegistryHelper.h"

#include <windows.h>

CString CRegistryHelper::QueryString(const char* keyPath, const char* valueName) const
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return CString();
    // One byte more than we let the system fill: a stored string need not
    // carry its terminator.
    char buffer[1024 + 1] = {0};
    DWORD size = 1024;
    DWORD type = 0;
    LONG rc = RegQueryValueExA(key, valueName, nullptr, &type, (BYTE*)buffer, &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return CString();
    buffer[size < 1024 ? size : 1024] = 0;
    return CString(buffer);
}
