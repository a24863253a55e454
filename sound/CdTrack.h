#pragma once
// The portable rules of the CD ripper: which track a ".cda" path names, the
// track's frames in the table of contents, and the progress figure.
#include <cstdint>

#include "akrip/akrip.h"

// The track number of a path such as "E:\Track07.cda": the two characters
// before the first "." (leading dots skipped), read as a decimal number;
// 0 when they do not start with a number.
int CdTrackNumberFromPath(const char* path);

// First frame and frame count of track n: its address at offset 8n of the
// table, up to the next entry's (the next track or the lead-out). False for a
// track outside the disc's first..last or a range that does not rise.
bool CdTrackFrames(const TOC& toc, int track, uint32_t& start, uint32_t& count);

// Whole percent done, from the frames still to read out of total.
int CdRipPercent(uint32_t remaining, uint32_t total);
