#include "CdTrack.h"

#include <cstdlib>
#include <cstring>
#include <string>


int CdTrackNumberFromPath(const char* path)
{
    if (!path)
        return 0;
    while (*path == '.')
        ++path;
    const char* dot = strchr(path, '.');
    size_t len = dot ? (size_t)(dot - path) : strlen(path);
    std::string two(path + (len > 2 ? len - 2 : 0), len > 2 ? 2 : len);
    return atoi(two.c_str());
}

// Big-endian address at a byte offset of the table.
static uint32_t AddressAt(const TOC& toc, unsigned offset)
{
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&toc) + offset;
    return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
}

bool CdTrackFrames(const TOC& toc, int track, uint32_t& start, uint32_t& count)
{
    // An unchecked number would read some other entry, and an end below the
    // start would wrap to billions of frames.
    if (track < 1 || track > AKRIP_MAX_TRACKS || track < toc.firstTrack || track > toc.lastTrack)
        return false;
    uint32_t first = AddressAt(toc, 8u * (unsigned)track);
    uint32_t end = AddressAt(toc, 8u * (unsigned)track + 8);
    if (end <= first)
        return false;
    start = first;
    count = end - first;
    return true;
}

int CdRipPercent(uint32_t remaining, uint32_t total)
{
    if (!total || remaining >= total)
        return 0;
    return (int)((1.0 - (double)remaining / (double)total) * 100.0);
}
