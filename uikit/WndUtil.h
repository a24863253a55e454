#pragma once
// Registers a window class of the kit's own windows once per module.
#include <windows.h>

#include "framework/CString.h"

class CWndUtil {
public:
    explicit CWndUtil(LPCSTR className) : m_className(className) {}
    virtual ~CWndUtil() {}

    // True when the class exists in the module or was registered now;
    // throws the framework's resource exception when registration fails.
    virtual bool RegisterClass();
    const CString& GetClassName() const { return m_className; }

protected:
    CString m_className;
};
