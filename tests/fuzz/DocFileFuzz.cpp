// The ".vqx" document reader, body and lead-sheet boxes: a broken file may
// throw the archive's exception, never crash or read past its end. What it
// accepts holds no song longer than the program takes and no more lyric
// lines (each a window) or row texts than such a song's rows, and, written
// and read again, must write the same bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/DocFile.h"

namespace {
std::vector<unsigned char> Written(const DocFileBody& body, const LeadSheetBoxes& boxes)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        WriteDocFile(ar, body);
        WriteLeadSheetBoxes(ar, boxes);
        ar.Close();
    }
    return file.Data();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DocFileBody body;
    LeadSheetBoxes boxes;
    try {
        CMemFile file(data, size);
        CArchive ar(&file, CArchive::load);
        if (ReadDocFile(ar, body) < 0)
            return 0;
        if (body.totalLength < 0 || body.totalLength > kMaxSongMs || body.lyrics.size() > (size_t)kMaxRows ||
            body.rowTexts.size() > (size_t)kMaxRows || body.transpose < -kMaxTranspose ||
            body.transpose > kMaxTranspose || !(body.tuning >= 0.0f && body.tuning < kMaxTuningHz))
            __builtin_trap();
        ReadLeadSheetBoxes(ar, boxes);
        if (boxes.size() > kMaxLeadSheetBoxes)
            __builtin_trap();
    } catch (CException* e) {
        e->Delete();
        return 0;
    }
    const std::vector<unsigned char> first = Written(body, boxes);
    DocFileBody again;
    LeadSheetBoxes boxesAgain;
    CMemFile file(first.data(), first.size());
    CArchive ar(&file, CArchive::load);
    try {
        if (ReadDocFile(ar, again) != kDocLayoutCurrent)
            __builtin_trap();
        ReadLeadSheetBoxes(ar, boxesAgain);
    } catch (CException* e) {
        e->Delete();
        __builtin_trap(); // our own file refused
    }
    if (Written(again, boxesAgain) != first)
        __builtin_trap();
    return 0;
}
