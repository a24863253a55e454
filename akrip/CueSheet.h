#pragma once
// Cue sheets of raw audio disc images: one FILE "x.bin" BINARY holding
// 2352-byte frames, AUDIO tracks numbered 1, 2, ... each with an INDEX 01.
// Portable.
#include <cstdint>
#include <string>
#include <vector>

#include "akrip.h"

struct CueSheet {
    std::string file;                  // as written in the sheet
    std::vector<uint32_t> trackStarts; // INDEX 01 of each track, in frames
};

// Parses the text of a sheet. On failure returns false with a reason.
bool ParseCueSheet(const std::string& text, CueSheet& out, std::string& error);

// The image file's path: file as is when absolute, else beside the sheet.
std::string CueImagePath(const std::string& cuePath, const std::string& file);

// Frames of an image of imageBytes bytes; false when not whole frames.
bool CueImageFrames(uint64_t imageBytes, uint32_t& frames);

// Fills a table of contents from the tracks' start frames (track firstTrack
// first) and the lead-out frame; control holds each track's control nibble
// or is empty for audio tracks. False when the starts do not rise strictly
// up to the lead-out or the track numbers leave 1..99.
bool BuildToc(int firstTrack, const std::vector<uint32_t>& starts, const std::vector<uint8_t>& control,
              uint32_t leadOut, TOC& toc);

// Big-endian 32-bit address at byte offset of the table; 0 beyond its end.
uint32_t TocAddressAt(const TOC& toc, unsigned offset);

// Inclusive frame ranges of a fault switch: "a-b,c,...".
struct FrameRange {
    uint32_t first;
    uint32_t last;
};
// False for a malformed list.
bool ParseFrameRanges(const std::string& text, std::vector<FrameRange>& out);
// Whether [start, start + count) touches any range.
bool FramesHit(const std::vector<FrameRange>& ranges, uint32_t start, uint32_t count);
