#pragma once
// A hidden window holding the panel's face bitmap; created at the end of
// start-up, it ends the program when "mainBmp.bmp" cannot be read.
#include "framework/Dialog.h"
#include "framework/Gdi.h"

class CTimeStretchDlg : public CDialog {
public:
    // Creates the window (not visible) at once.
    explicit CTimeStretchDlg(CWnd* pParent);

    // Loads the installation folder's file into bitmap (and palette, when
    // given); a missing or damaged file is reported and gives false.
    static bool LoadBitmapFile(const char* name, CBitmap& bitmap, CPalette* palette);

    bool HasBitmap() const { return m_bitmap.GetSafeHandle() != nullptr; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    CBitmap m_bitmap;
    CPalette m_palette;
};
