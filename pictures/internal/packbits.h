// PackBits, the run-length coding of PSD image data.
#pragma once

#include "library/byte_reader.h"

#include <cstdint>
#include <span>

namespace vilora {

// Fills `out` from the stream. A header byte n below 128 is followed by n + 1
// literal bytes; above 128 by one byte repeated 257 - n times; 128 is skipped.
// A run that reaches past the end of `out` is cut there (its literal bytes are
// still consumed). False when the stream ends before `out` is full.
bool decode_packbits(byte_reader& stream, std::span<uint8_t> out);

} // namespace vilora
