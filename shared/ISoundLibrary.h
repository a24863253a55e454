#pragma once
// Interface of the conversion library's single object, exported by
// QuorvaSound.dll through GetQuorvaSound (by name and ordinal 1).
//
// Convert returns at once; progress, completion and failure arrive as
// messages posted to the window given to SetNotifyWindow (see Messages.h).

#include <windows.h>

#include <vector>

#include "../framework/CString.h"

// The library's extension list: lower-case, dot included (".cda", ".mp3").
// Owned by the library until Release; callers only read it.
typedef std::vector<CString*> SoundExtensionList;

class ISoundLibrary {
public:
    // Frees the instance; a later GetQuorvaSound builds a fresh one.
    virtual void Release() = 0;
    virtual void SetNotifyWindow(HWND notifyWnd) = 0;
    virtual ISoundLibrary* GetInstance() = 0;
    // Stores the list's address in *out (when out is given) and returns it.
    virtual SoundExtensionList* GetFileExtensions(SoundExtensionList** out) = 0;
    // Starts converting source into the WAV file target; returns at once.
    // Every message of the conversion carries run (see RunCode in Messages.h).
    virtual void Convert(CString source, CString target, unsigned int run) = 0;
    virtual CString GetVersion() = 0;

protected:
    // The object is destroyed only by Release.
    virtual ~ISoundLibrary() = default;
};

typedef ISoundLibrary* (*GetQuorvaSoundFn)();
