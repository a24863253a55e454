// The cue sheet and the frame range lists.
#include <cstddef>
#include <cstdint>
#include <string>

#include "akrip/CueSheet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CueSheet sheet;
    std::string error;
    ParseCueSheet(text, sheet, error);
    std::vector<FrameRange> ranges;
    if (ParseFrameRanges(text, ranges))
        FramesHit(ranges, 0, 75);
    return 0;
}
