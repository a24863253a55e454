#include "uikit/WndUtil.h"

#include "framework/App.h"
#include "framework/Exception.h"

bool CWndUtil::RegisterClass()
{
    HINSTANCE instance = AfxGetInstanceHandle();
    WNDCLASSA wc = {};
    if (::GetClassInfoA(instance, m_className, &wc))
        return true;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    wc.lpszClassName = m_className;
    if (!::RegisterClassA(&wc))
        AfxThrowResourceException();
    return true;
}
