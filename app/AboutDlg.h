#pragma once
// The About box: banner, product title, the versions of the program and its
// two libraries, and a link to the maker's web page.
#include <windows.h>

#include <vector>

#include "app/FileVersion.h"
#include "framework/Dialog.h"
#include "uikit/KCSideBannerWnd.h"
#include "uikit/StringButton.h"

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CWnd* pParent = nullptr);

    // header, a blank line, then one "name:\t\tversion" line per file.
    static CString BuildVersionsText(const CString& header, const std::vector<CString>& files);
    // The program's own file name, without its folder.
    static CString ProgramFileName();

    BOOL OnInitDialog() override;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLinkClicked();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()

private:
    CStringButton m_link;
    CKCSideBannerWnd m_banner;
    CFileVersionInfo m_versionInfo; // never filled: the title shows no version of its own
};
