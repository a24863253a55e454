#include "CueSheet.h"

#include <cctype>
#include <cstring>

namespace {

std::string Upper(std::string s)
{
    for (char& c : s)
        c = (char)toupper((unsigned char)c);
    return s;
}

// Splits a line into words; a double-quoted word may hold blanks. False for
// an unclosed quote.
bool SplitWords(const std::string& line, std::vector<std::string>& words)
{
    words.clear();
    size_t i = 0, n = line.size();
    while (i < n) {
        while (i < n && isspace((unsigned char)line[i]))
            ++i;
        if (i >= n)
            break;
        std::string w;
        if (line[i] == '"') {
            size_t close = line.find('"', i + 1);
            if (close == std::string::npos)
                return false;
            w = line.substr(i + 1, close - i - 1);
            i = close + 1;
            if (i < n && !isspace((unsigned char)line[i]))
                return false;
        } else {
            while (i < n && !isspace((unsigned char)line[i]))
                w += line[i++];
        }
        words.push_back(w);
    }
    return true;
}

bool AllDigits(const std::string& s, size_t minLen, size_t maxLen)
{
    if (s.size() < minLen || s.size() > maxLen)
        return false;
    for (char c : s)
        if (!isdigit((unsigned char)c))
            return false;
    return true;
}

// "mm:ss:ff" into frames.
bool ParseMsf(const std::string& s, uint32_t& frames)
{
    size_t a = s.find(':');
    size_t b = a == std::string::npos ? a : s.find(':', a + 1);
    if (b == std::string::npos)
        return false;
    std::string m = s.substr(0, a), sec = s.substr(a + 1, b - a - 1), f = s.substr(b + 1);
    if (!AllDigits(m, 1, 3) || !AllDigits(sec, 2, 2) || !AllDigits(f, 2, 2))
        return false;
    uint32_t mm = (uint32_t)std::stoul(m), ss = (uint32_t)std::stoul(sec), ff = (uint32_t)std::stoul(f);
    if (ss >= 60 || ff >= 75)
        return false;
    frames = (mm * 60 + ss) * 75 + ff;
    return true;
}

bool Fail(std::string& error, int line, const char* what)
{
    error = "line " + std::to_string(line) + ": " + what;
    return false;
}

} // namespace

bool ParseCueSheet(const std::string& text, CueSheet& out, std::string& error)
{
    out = CueSheet();
    if (text.size() > 65536) {
        error = "sheet too long";
        return false;
    }
    if (text.find('\0') != std::string::npos) {
        error = "not a text file";
        return false;
    }
    bool haveFile = false;
    int track = 0;          // current track number, 0 before the first
    int lastIndex = -1;     // last INDEX number within the current track
    bool haveIndex1 = false;
    uint32_t lastTime = 0;  // latest index time, for the rising order
    bool anyTime = false;
    std::vector<std::string> w;
    size_t pos = 0;
    int lineNo = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (lineNo == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            line.erase(0, 3);
        if (!SplitWords(line, w))
            return Fail(error, lineNo, "unclosed quote");
        if (w.empty())
            continue;
        std::string key = Upper(w[0]);
        if (key == "REM" || key == "TITLE" || key == "PERFORMER" || key == "SONGWRITER" ||
            key == "CATALOG" || key == "CDTEXTFILE" || key == "ISRC" || key == "FLAGS") {
            continue;
        } else if (key == "FILE") {
            if (haveFile)
                return Fail(error, lineNo, "more than one FILE");
            if (w.size() != 3 || w[1].empty())
                return Fail(error, lineNo, "FILE needs a name and a type");
            if (Upper(w[2]) != "BINARY")
                return Fail(error, lineNo, "only BINARY images are read");
            out.file = w[1];
            haveFile = true;
        } else if (key == "TRACK") {
            if (!haveFile)
                return Fail(error, lineNo, "TRACK before FILE");
            if (w.size() != 3 || !AllDigits(w[1], 1, 2))
                return Fail(error, lineNo, "TRACK needs a number and a type");
            if (Upper(w[2]) != "AUDIO")
                return Fail(error, lineNo, "only AUDIO tracks are read");
            if (track && !haveIndex1)
                return Fail(error, lineNo, "previous track has no INDEX 01");
            int number = std::stoi(w[1]);
            if (number != track + 1)
                return Fail(error, lineNo, "tracks must be numbered 1, 2, ...");
            track = number;
            lastIndex = -1;
            haveIndex1 = false;
        } else if (key == "INDEX") {
            if (!track)
                return Fail(error, lineNo, "INDEX outside a track");
            uint32_t t = 0;
            if (w.size() != 3 || !AllDigits(w[1], 1, 2) || !ParseMsf(w[2], t))
                return Fail(error, lineNo, "INDEX needs a number and mm:ss:ff");
            int index = std::stoi(w[1]);
            if (index <= lastIndex)
                return Fail(error, lineNo, "index numbers must rise");
            if (index >= 1 && !haveIndex1 && index != 1)
                return Fail(error, lineNo, "INDEX 01 missing");
            if (anyTime && t <= lastTime)
                return Fail(error, lineNo, "times must rise");
            if (index == 1) {
                out.trackStarts.push_back(t);
                haveIndex1 = true;
            }
            lastIndex = index;
            lastTime = t;
            anyTime = true;
        } else {
            return Fail(error, lineNo, ("unsupported command " + w[0]).c_str());
        }
    }
    if (!haveFile)
        return Fail(error, lineNo, "no FILE");
    if (!track)
        return Fail(error, lineNo, "no TRACK");
    if (!haveIndex1)
        return Fail(error, lineNo, "last track has no INDEX 01");
    return true;
}

std::string CueImagePath(const std::string& cuePath, const std::string& file)
{
    bool absolute = !file.empty() &&
                    (file[0] == '/' || file[0] == '\\' || (file.size() > 1 && file[1] == ':'));
    if (absolute)
        return file;
    size_t cut = cuePath.find_last_of("/\\");
    if (cut == std::string::npos)
        return file;
    return cuePath.substr(0, cut + 1) + file;
}

bool CueImageFrames(uint64_t imageBytes, uint32_t& frames)
{
    if (imageBytes % AKRIP_FRAME_BYTES || imageBytes / AKRIP_FRAME_BYTES > 0xFFFFFFFFu)
        return false;
    frames = (uint32_t)(imageBytes / AKRIP_FRAME_BYTES);
    return true;
}

static void PutBigEndian(uint8_t* p, uint32_t v)
{
    p[0] = (uint8_t)(v >> 24);
    p[1] = (uint8_t)(v >> 16);
    p[2] = (uint8_t)(v >> 8);
    p[3] = (uint8_t)v;
}

bool BuildToc(int firstTrack, const std::vector<uint32_t>& starts, const std::vector<uint8_t>& control,
              uint32_t leadOut, TOC& toc)
{
    memset(&toc, 0, sizeof toc);
    int count = (int)starts.size();
    int lastTrack = firstTrack + count - 1;
    if (count < 1 || firstTrack < 1 || lastTrack > AKRIP_MAX_TRACKS)
        return false;
    if (!control.empty() && (int)control.size() != count)
        return false;
    for (int i = 0; i < count; ++i) {
        uint32_t next = i + 1 < count ? starts[i + 1] : leadOut;
        if (starts[i] >= next)
            return false;
    }
    unsigned entries = (unsigned)lastTrack + 1; // up to and with the lead-out
    toc.len[0] = (uint8_t)((2 + 8 * entries) >> 8);
    toc.len[1] = (uint8_t)(2 + 8 * entries);
    toc.firstTrack = (uint8_t)firstTrack;
    toc.lastTrack = (uint8_t)lastTrack;
    for (int i = 0; i < count; ++i) {
        TOCTRACK& e = toc.tracks[firstTrack - 1 + i];
        e.adrCtrl = (uint8_t)(0x10 | (control.empty() ? 0 : (control[i] & 0x0F)));
        e.trackNo = (uint8_t)(firstTrack + i);
        PutBigEndian(e.addr, starts[i]);
    }
    TOCTRACK& lead = toc.tracks[lastTrack];
    lead.adrCtrl = 0x10;
    lead.trackNo = 0xAA;
    PutBigEndian(lead.addr, leadOut);
    return true;
}

uint32_t TocAddressAt(const TOC& toc, unsigned offset)
{
    if (offset > sizeof(TOC) - 4)
        return 0;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&toc) + offset;
    return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
}

bool ParseFrameRanges(const std::string& text, std::vector<FrameRange>& out)
{
    out.clear();
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find(',', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string item = text.substr(pos, end - pos);
        pos = end + 1;
        size_t dash = item.find('-');
        std::string a = item.substr(0, dash), b = dash == std::string::npos ? a : item.substr(dash + 1);
        if (!AllDigits(a, 1, 9) || !AllDigits(b, 1, 9))
            return false;
        FrameRange r = {(uint32_t)std::stoul(a), (uint32_t)std::stoul(b)};
        if (r.last < r.first)
            return false;
        out.push_back(r);
    }
    return !out.empty();
}

bool FramesHit(const std::vector<FrameRange>& ranges, uint32_t start, uint32_t count)
{
    if (!count)
        return false;
    uint64_t last = (uint64_t)start + count - 1;
    for (const FrameRange& r : ranges)
        if (r.first <= last && r.last >= start)
            return true;
    return false;
}
