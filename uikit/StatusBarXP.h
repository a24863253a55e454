#pragma once
// The main frame's flat status bar: panes without the sunken borders, each
// framed by a thin shadow line, at least 20 pixels high.
#include "framework/Frame.h"

class CStatusBarXP : public CStatusBar {
    DECLARE_DYNAMIC(CStatusBarXP)
public:
    static const int kMinHeight = 20;

    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount) override;
    // The frame lays the bar out at this height, never below the minimum.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    afx_msg void OnPaint();

protected:
    DECLARE_MESSAGE_MAP()
};
