#include "framework/Exception.h"

#include <windows.h>

IMPLEMENT_DYNAMIC(CUserException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)

int CResourceException::GetErrorMessage(char* lpszError, unsigned nMaxError, unsigned* pnHelpContext)
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (!lpszError || !nMaxError)
        return 0;
    lstrcpynA(lpszError, "A required resource was unavailable.", (int)nMaxError);
    return 1;
}

void AfxThrowUserException() { throw new CUserException; }
void AfxThrowResourceException() { throw new CResourceException; }
