#pragma once
// Rules on the source paths given to Convert. Portable.

// True when the path names an audio-CD track: its last four characters,
// lower-cased, are ".cda".
bool IsCdTrackSource(const char* path);

// True for a source the compressed-file converter refuses outright: none,
// empty, or one that starts with "http" in any case (no network reads).
bool IsRefusedMediaSource(const char* path);
