// The keyed copies of same-format images of 16 or 24 bits, which the game draws all the time.
#pragma once

#include <cstdint>

// What each row of a wide keyed image holds (see image.cpp): rows of only key are skipped and rows
// without key copied whole.
enum RowKind : uint8_t { ROW_MIXED, ROW_KEY, ROW_OPAQUE };

// w × h pixels from `from` to `to`, each row pitch bytes after the one before; kinds, where known,
// gives each row's kind.
struct KeyedBlock {
    const uint8_t *from;
    int fromPitch;
    uint8_t *to;
    int toPitch;
    int w, h;
    uint32_t key;
    const RowKind *kinds;
};

// Copies every pixel of the block but the key, for pixels of 2 or 3 bytes.
void copyKeyed(const KeyedBlock &b, int bytes);
// The same compiled for NEON, in a 32-bit ARM build whose CPU may lack it.
void copyKeyedNeon(const KeyedBlock &b, int bytes);
