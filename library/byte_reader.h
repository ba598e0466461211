// The one way our parsers read their input (the picture decoders, the 3DS
// reader's chunk handlers and the library's directory records): a cursor over
// a byte span that cannot run past its end. A read beyond the end yields zeros
// and marks the reader failed for good, so a parser checks `ok()` once after a
// group of reads instead of before each one, and turns a failure into its own
// code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vilora {

class byte_reader {
public:
    explicit byte_reader(std::span<const uint8_t> data) : data_(data) {}

    bool ok() const { return !failed_; }
    size_t position() const { return position_; }
    size_t remaining() const { return data_.size() - position_; }
    size_t size() const { return data_.size(); }

    // Moves to an absolute offset; an offset past the end fails.
    void seek(uint64_t offset) {
        if (offset > data_.size()) return fail();
        position_ = static_cast<size_t>(offset);
    }
    void skip(uint64_t count) {
        if (count > remaining()) return fail();
        position_ += static_cast<size_t>(count);
    }
    // The next `count` bytes, or an empty span (and failure) when fewer remain.
    std::span<const uint8_t> bytes(uint64_t count) {
        if (count > remaining()) {
            fail();
            return {};
        }
        std::span<const uint8_t> taken = data_.subspan(position_, static_cast<size_t>(count));
        position_ += static_cast<size_t>(count);
        return taken;
    }

    uint8_t u8() { return remaining() >= 1 ? data_[position_++] : fail_zero(); }
    uint16_t u16_le() { return static_cast<uint16_t>(little(2)); }
    uint32_t u32_le() { return static_cast<uint32_t>(little(4)); }
    int32_t i32_le() { return static_cast<int32_t>(u32_le()); }
    uint16_t u16_be() { return static_cast<uint16_t>(big(2)); }
    uint32_t u32_be() { return static_cast<uint32_t>(big(4)); }

private:
    void fail() {
        failed_ = true;
        position_ = data_.size();
    }
    uint8_t fail_zero() {
        fail();
        return 0;
    }
    uint64_t little(int count) {
        std::span<const uint8_t> b = bytes(static_cast<uint64_t>(count));
        uint64_t value = 0;
        for (size_t i = b.size(); i-- > 0;) value = value << 8 | b[i];
        return value;
    }
    uint64_t big(int count) {
        uint64_t value = 0;
        for (uint8_t byte : bytes(static_cast<uint64_t>(count))) value = value << 8 | byte;
        return value;
    }

    std::span<const uint8_t> data_;
    size_t position_ = 0;
    bool failed_ = false;
};

} // namespace vilora
