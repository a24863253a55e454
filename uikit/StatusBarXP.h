#pragma once
// The main frame's flat status bar: panes without the sunken borders, each
// framed by a thin shadow line, at least 20 pixels high.
#include "framework/Frame.h"

class CStatusBarXP : public CStatusBar {
public:
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount) override;
    afx_msg void OnPaint();

protected:
    DECLARE_MESSAGE_MAP()
};
