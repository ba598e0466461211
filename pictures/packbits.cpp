#include "pictures/internal/packbits.h"

#include <algorithm>

namespace vilora {

bool decode_packbits(byte_reader& stream, std::span<uint8_t> out) {
    size_t filled = 0;
    while (filled < out.size()) {
        const uint8_t n = stream.u8();
        if (n < 128) {
            std::span<const uint8_t> literals = stream.bytes(n + 1u);
            const size_t count = std::min(literals.size(), out.size() - filled);
            std::copy_n(literals.begin(), count, out.begin() + static_cast<ptrdiff_t>(filled));
            filled += count;
        } else if (n > 128) {
            const uint8_t value = stream.u8();
            const size_t count = std::min<size_t>(257u - n, out.size() - filled);
            if (stream.ok())
                std::fill_n(out.begin() + static_cast<ptrdiff_t>(filled), count, value);
            filled += count;
        }
        if (!stream.ok()) return false;
    }
    return true;
}

} // namespace vilora
