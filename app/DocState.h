#pragma once
// Document bookkeeping that needs no window: row texts and the temporary
// WAV file names. Portable.

#include <vector>

#include "app/DocTypes.h"

// An empty text is kept as EmptySlotMarker; a row beyond the list grows it
// with marker slots first.
void SetRowTextIn(std::vector<CString>& rows, const CString& text, int row);
// Empty for a marker slot or a row outside the list.
CString GetRowTextIn(const std::vector<CString>& rows, int row);

// Names "tempWavFile%d.wav" for documents of one process. A name is taken
// one above the highest number among the folder's files and the names
// other open documents hold (their files may not exist yet), and stays
// held until released.
class CTempWavNames {
public:
    // folderFiles: the names (no folder) of the install folder's files.
    static CString Reserve(const std::vector<CString>& folderFiles);
    static void Release(const CString& name);
    static int NumberOf(const CString& name); // -1 when not such a name
};
