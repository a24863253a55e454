#pragma once
// akrip.dll: reads audio CDs frame by frame.
//
// Records are byte-packed, numbers little-endian except the addresses in the
// table of contents, which are big-endian as the drives deliver them.
// Functions are extern "C", __cdecl, exported by undecorated name (akrip.def).
// BOOL results are 1 for success, 0 for failure.
//
// Drives: one entry per CD-ROM drive letter, in drive-letter order. An entry's
// address is {host adapter 0, target = letter - 'A', logical unit 0}.
// Disc images: when QUORVA_CD_IMAGE names a cue sheet (one FILE ... BINARY of
// raw 2352-byte frames, AUDIO tracks only), the list holds exactly one entry,
// {host adapter 1, target = letter - 'A' of the first CD-ROM drive letter, or
// of 'D' when there is none, logical unit 0}, whose disc is that image. The
// cue sheet is read when the handle is opened; a malformed sheet or image
// gives no handle.
//
// Fault switches, read at each call (environment variables):
//   QUORVA_CD_FAULT_LIBERROR  GetAspiLibError returns this number (non-zero)
//   QUORVA_CD_FAULT_NOHANDLE  any value: GetCDHandle returns 0
//   QUORVA_CD_FAULT_TOC       any value: ReadTOC returns 0
//   QUORVA_CD_FAULT_READ      "a-b,c,..." frame ranges (inclusive): a read
//                             touching any of these frames returns 0

#include <stdint.h>

#if defined(_WIN32)
#define AKRIP_CALL __cdecl
#else
#define AKRIP_CALL
#endif

#define AKRIP_MAX_DRIVES 8
#define AKRIP_FRAME_BYTES 2352
#define AKRIP_MAX_TRACKS 99

#pragma pack(push, 1)

// One listed drive, 121 bytes.
typedef struct {
    uint8_t ha;      // host adapter
    uint8_t tgt;     // target
    uint8_t lun;     // logical unit
    char letter;     // drive letter, upper case
    char info[117];  // zero-terminated description
} CDREC;

// The drive list, 970 bytes. The caller sets max (at most 8).
typedef struct {
    uint8_t max;
    uint8_t num;
    CDREC cd[AKRIP_MAX_DRIVES];
} CDLIST;

// Handle request, 12 bytes: size must be 12, version 1.
typedef struct {
    uint8_t size;
    uint8_t ver;
    uint8_t ha;
    uint8_t tgt;
    uint8_t lun;
    uint8_t readType;      // 0: raw audio frames
    uint32_t jitterCorr;   // 0: none
    uint8_t numJitter;     // frames re-read to match chunk edges (kept, unused)
    uint8_t numOverlap;    // frames of overlap (kept, unused)
} GETCDHAND;

// One table entry, 8 bytes.
typedef struct {
    uint8_t rsvd;
    uint8_t adrCtrl;     // ADR high nibble, control low nibble (4: data track)
    uint8_t trackNo;     // 0xAA for the lead-out
    uint8_t rsvd2;
    uint8_t addr[4];     // start frame (logical block address), big-endian
} TOCTRACK;

// Table of contents, 804 bytes. Entry k describes track k + 1, so track n's
// address sits at offset 8n of the record; the lead-out entry directly
// follows the last track. Entries below the first track are zero.
typedef struct {
    uint8_t len[2];      // big-endian byte count after these two bytes
    uint8_t firstTrack;
    uint8_t lastTrack;
    TOCTRACK tracks[100];
} TOC;

// Read request and buffer: a 24-byte head, then room for maxLen bytes.
// On success len is the byte count delivered at buf + startOffset.
typedef struct {
    uint32_t startFrame;
    uint32_t numFrames;
    uint32_t maxLen;
    uint32_t len;
    uint32_t status;     // 0 on success, else the system's error code
    uint32_t startOffset;
    uint8_t buf[1];
} TRACKBUF;

#pragma pack(pop)

#define TRACKBUFHEAD 24

// Parameter numbers of ModifyCDParms.
#define CDP_JITTER_CORRECTION 36  // value 0: off (the only supported value)

// 0 when no handle.
typedef uint32_t HCDROM;

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
// 0 when the CD layer is usable.
int AKRIP_CALL GetAspiLibError(void);
// Fills num and the entries; returns 1, or 0 for a null list.
int AKRIP_CALL GetCDList(CDLIST* list);
// Opens the drive of the request's address; 0 when it cannot.
HCDROM AKRIP_CALL GetCDHandle(GETCDHAND* request);
// 1 for a valid handle and a supported parameter and value.
int AKRIP_CALL ModifyCDParms(HCDROM h, int which, uint32_t value);
// Fills the table (1), or 0.
int AKRIP_CALL ReadTOC(HCDROM h, TOC* toc);
// Reads numFrames raw frames from startFrame (1), or 0 with status set.
int AKRIP_CALL ReadCDAudioLBA(HCDROM h, TRACKBUF* buffer);
// Releases the handle (1), or 0 when it was not open.
int AKRIP_CALL CloseCDHandle(HCDROM h);
#endif

#ifdef __cplusplus
}
#endif

#if defined(__cplusplus)
static_assert(sizeof(CDREC) == 121, "CDREC");
static_assert(sizeof(CDLIST) == 970, "CDLIST");
static_assert(sizeof(GETCDHAND) == 12, "GETCDHAND");
static_assert(sizeof(TOC) == 804, "TOC");
static_assert(sizeof(TRACKBUF) == TRACKBUFHEAD + 1, "TRACKBUF");
#endif
