// Writes 3DS chunk trees byte by byte: a chunk is a 16-bit id and a 32-bit
// length (header, data and sub-chunks) followed by its data; all little-endian.
// The scene writer builds on it, and tests use it directly where they need
// exact control over every chunk, malformed ones included.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace vilora::kit {

class chunk_writer {
public:
    void begin(uint16_t id) {
        open_.push_back(bytes_.size());
        u16(id);
        u32(0);
    }
    // Patches the length of the innermost open chunk; a non-zero `extra`
    // lies about it by that many bytes.
    void end(int64_t extra = 0) {
        size_t start = open_.back();
        open_.pop_back();
        auto length = static_cast<uint32_t>(static_cast<int64_t>(bytes_.size() - start) + extra);
        for (int i = 0; i < 4; ++i) bytes_[start + 2 + i] = static_cast<uint8_t>(length >> (8 * i));
    }
    void u8(uint8_t v) { bytes_.push_back(v); }
    void u16(uint16_t v) {
        u8(static_cast<uint8_t>(v));
        u8(static_cast<uint8_t>(v >> 8));
    }
    void u32(uint32_t v) {
        u16(static_cast<uint16_t>(v));
        u16(static_cast<uint16_t>(v >> 16));
    }
    void f32(float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        u32(bits);
    }
    // File coordinates, z up.
    void vec(float x, float y, float z) {
        f32(x);
        f32(y);
        f32(z);
    }
    // Zero-terminated.
    void str(const std::string& s) { raw(s.c_str(), s.size() + 1); }
    void raw(const void* p, size_t n) {
        auto* b = static_cast<const uint8_t*>(p);
        bytes_.insert(bytes_.end(), b, b + n);
    }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    std::vector<size_t> open_;
};

} // namespace vilora::kit
