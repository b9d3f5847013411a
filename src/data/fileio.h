// Whole files: reading one into memory and replacing one safely, for the game and its tools.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// The file opened for reading when it is a regular file; nullptr for anything else (missing, a folder,
// a named pipe, a device), which every reader treats as a missing file.
FILE *fileOpenRegular(const char *path);
// The size of an open file (seeks to its end and back to the start); 0 when that fails.
uint32_t binfilesize(FILE *file);
// The whole file in a new buffer (the caller frees it with free()), its length in *size when size
// is given; nullptr when the file is missing, not a regular file, unreadable or empty.
uint8_t *loadBINFile(const char *path, uint32_t *size);
// Replaces path with data as a whole: written to "<path>.tmp" beside it, then renamed over it, so a
// failed or interrupted write leaves the old file as it was. Returns true when written; on false,
// errno tells why.
bool writeFileAtomically(const char *path, const void *data, size_t size);
