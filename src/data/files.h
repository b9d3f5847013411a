// Whole files: read into memory at once, and replaced at once so that a failed write keeps the old file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// The whole file in a new buffer (the caller frees it with free()), its length in *size when size
// is given; nullptr when the file is missing, unreadable or empty.
uint8_t *loadBINFile(const char *path, uint32_t *size);

// Replaces path with data as a whole: written to a temporary file beside it, then renamed over it,
// so a failed or interrupted write leaves the old file as it was. Returns true when written.
bool writeFileAtomically(const char *path, const void *data, size_t size);

// The length of an open file, leaving it positioned at its start; 0 when it cannot be measured.
uint32_t binfilesize(FILE *file);
