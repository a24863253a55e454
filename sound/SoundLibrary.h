#pragma once
// The conversion library's single object, handed out by GetQuorvaSound.
#include "shared/ISoundLibrary.h"

class CCdRipper;
class CMediaConvertJob;

class CSoundLibrary : public ISoundLibrary {
public:
    CSoundLibrary();

    void Release() override;
    void SetNotifyWindow(HWND notifyWnd) override;
    ISoundLibrary* GetInstance() override;
    SoundExtensionList* GetFileExtensions(SoundExtensionList** out) override;
    void Convert(CString source, CString target, unsigned int run) override;
    CString GetVersion() override;

protected:
    ~CSoundLibrary() override;

private:
    // Waits for both workers (up to 40000 ms each) and frees the members.
    void FreeMembers();

    CCdRipper* m_pRipper;
    CMediaConvertJob* m_pJob;
    SoundExtensionList m_extensions;
};

extern "C" ISoundLibrary* GetQuorvaSound();
