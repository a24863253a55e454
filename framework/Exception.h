#pragma once
// Exceptions of the Win32 layer (CException itself is in Object.h).
#include "framework/Object.h"

// An operation was stopped after the user was told why (data exchange).
class CUserException : public CException {
    DECLARE_DYNAMIC(CUserException)
};

// A system resource (window class, GDI object) could not be had.
class CResourceException : public CException {
    DECLARE_DYNAMIC(CResourceException)
public:
    int GetErrorMessage(char* lpszError, unsigned nMaxError, unsigned* pnHelpContext = nullptr) override;
};

[[noreturn]] void AfxThrowUserException();
[[noreturn]] void AfxThrowResourceException();
