#include "kit/formats/psd_writer.h"

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

void put_bytes(std::vector<uint8_t>& out, const char* text) {
    while (*text) out.push_back(static_cast<uint8_t>(*text++));
}

// With an alpha plane, readers take the merged image's fourth channel as its
// transparency only when the layer section says so: a negative layer count.
// The one layer holds the same pixels, raw.
std::vector<uint8_t> layer_section(const psd_picture& picture) {
    const size_t plane_size = static_cast<size_t>(picture.width) * picture.height;
    std::vector<uint8_t> info;
    put16(info, 0xFFFF); // -1: one layer, its alpha is the merged image's transparency
    put32(info, 0);      // top, left, bottom, right
    put32(info, 0);
    put32(info, static_cast<uint32_t>(picture.height));
    put32(info, static_cast<uint32_t>(picture.width));
    put16(info, static_cast<uint32_t>(picture.planes.size()));
    const uint16_t ids[] = {0, 1, 2, 0xFFFF}; // red, green, blue, transparency
    for (size_t c = 0; c < picture.planes.size(); ++c) {
        put16(info, ids[c]);
        put32(info, static_cast<uint32_t>(2 + plane_size));
    }
    put_bytes(info, "8BIMnorm");
    info.insert(info.end(), {255, 0, 0, 0}); // opacity, clipping, flags, filler
    put32(info, 4 + 4 + 8);                  // extra data: mask, blending ranges, name
    put32(info, 0);
    put32(info, 0);
    info.push_back(7);
    put_bytes(info, "picture");
    for (const auto& plane : picture.planes) {
        put16(info, 0);
        info.insert(info.end(), plane.begin(), plane.end());
    }
    if (info.size() % 2) info.push_back(0);
    std::vector<uint8_t> out;
    put32(out, static_cast<uint32_t>(4 + info.size() + 4));
    put32(out, static_cast<uint32_t>(info.size()));
    out.insert(out.end(), info.begin(), info.end());
    put32(out, 0); // global layer mask
    return out;
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
    if (picture.planes.size() == 4) {
        const std::vector<uint8_t> layers = layer_section(picture);
        out.insert(out.end(), layers.begin(), layers.end());
    } else {
        put32(out, 0); // layer and mask information
    }
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
