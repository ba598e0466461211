#include "kit/psd_writer.h"

#include <algorithm>

namespace vilora::kit {
namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v >> 16);
    put16(out, v & 0xFFFF);
}

void put_literal(std::vector<uint8_t>& out, const uint8_t* p, size_t n) {
    while (n > 0) {
        const size_t take = std::min<size_t>(n, 128);
        out.push_back(static_cast<uint8_t>(take - 1));
        out.insert(out.end(), p, p + take);
        p += take;
        n -= take;
    }
}

} // namespace

std::vector<uint8_t> packbits_encode(const uint8_t* bytes, size_t size) {
    std::vector<uint8_t> out;
    size_t i = 0, literal_start = 0;
    while (i < size) {
        size_t run = 1;
        while (i + run < size && run < 128 && bytes[i + run] == bytes[i]) ++run;
        // A run of two inside a literal stretch costs as much as the literal.
        if (run >= 3 || (run == 2 && literal_start == i)) {
            put_literal(out, bytes + literal_start, i - literal_start);
            out.push_back(static_cast<uint8_t>(257 - run));
            out.push_back(bytes[i]);
            i += run;
            literal_start = i;
        } else {
            i += run;
        }
    }
    put_literal(out, bytes + literal_start, size - literal_start);
    return out;
}

std::vector<uint8_t> write_psd(const psd_picture& picture, bool packbits) {
    std::vector<uint8_t> out = {'8', 'B', 'P', 'S'};
    put16(out, 1);
    out.insert(out.end(), 6, 0);
    put16(out, static_cast<uint32_t>(picture.planes.size()));
    put32(out, static_cast<uint32_t>(picture.height));
    put32(out, static_cast<uint32_t>(picture.width));
    put16(out, 8);
    put16(out, 3);
    put32(out, 0); // colour-mode data
    put32(out, 0); // image resources
    put32(out, 0); // layer and mask information
    put16(out, packbits ? 1 : 0);
    const auto width = static_cast<size_t>(picture.width);
    if (!packbits) {
        for (const auto& plane : picture.planes) out.insert(out.end(), plane.begin(), plane.end());
        return out;
    }
    std::vector<std::vector<uint8_t>> rows;
    for (const auto& plane : picture.planes)
        for (int32_t r = 0; r < picture.height; ++r)
            rows.push_back(packbits_encode(plane.data() + static_cast<size_t>(r) * width, width));
    for (const auto& row : rows) put16(out, static_cast<uint32_t>(row.size()));
    for (const auto& row : rows) out.insert(out.end(), row.begin(), row.end());
    return out;
}

} // namespace vilora::kit
