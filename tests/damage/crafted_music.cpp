// Modules that lie in their header (the published XM layout: song length at
// 64, channels at 68, patterns at 70, the order table from 80) or about the
// size of what follows.
#include "tests/damage/crafted.h"

namespace vilora::damage {

namespace {

constexpr size_t song_length_at = 64;
constexpr size_t channels_at = 68;
constexpr size_t patterns_at = 70;
constexpr size_t instruments_at = 72;
constexpr size_t orders_at = 80;
constexpr size_t header_size_at = 60;

// Offsets of the first pattern header and of the first instrument.
struct module_layout {
    size_t first_pattern = 0;
    size_t first_instrument = 0;
};

module_layout layout_of(const bytes& m) {
    module_layout l;
    l.first_pattern = header_size_at + u32_at(m, header_size_at);
    size_t at = l.first_pattern;
    for (uint16_t p = 0; p < u16_at(m, patterns_at) && at < m.size(); ++p)
        at += u32_at(m, at) + u16_at(m, at + 7); // header length, packed data size
    l.first_instrument = at;
    return l;
}

// The length field of the first sample the module has.
size_t first_sample_length_at(const bytes& m) {
    size_t at = layout_of(m).first_instrument;
    for (uint16_t i = 0; i < u16_at(m, instruments_at) && at < m.size(); ++i) {
        const uint32_t header = u32_at(m, at);
        const uint16_t samples = u16_at(m, at + 27);
        if (samples > 0) return at + header;
        at += header;
    }
    throw std::runtime_error("the module has no sample");
}

void change_module(const std::filesystem::path& data, void (*change)(bytes&)) {
    const std::filesystem::path file = data / "muska.xm";
    bytes m = read_file(file);
    change(m);
    write_file(file, m);
}

} // namespace

void module_song_length_0(const std::filesystem::path& data) {
    change_module(data, [](bytes& m) { put_u16(m, song_length_at, 0); });
}
void module_song_length_300(const std::filesystem::path& data) {
    change_module(data, [](bytes& m) { put_u16(m, song_length_at, 300); });
}
void module_channels_0(const std::filesystem::path& data) {
    change_module(data, [](bytes& m) { put_u16(m, channels_at, 0); });
}
void module_channels_256(const std::filesystem::path& data) {
    change_module(data, [](bytes& m) { put_u16(m, channels_at, 256); });
}
void module_orders_past_patterns(const std::filesystem::path& data) {
    change_module(data, [](bytes& m) {
        const uint16_t patterns = u16_at(m, patterns_at);
        for (size_t i = 0; i < 256; ++i)
            m[orders_at + i] = static_cast<uint8_t>(std::min(255, patterns + 1 + int(i % 8)));
    });
}
void module_patterns_65535(const std::filesystem::path& data) {
    change_module(data, [](bytes& m) { put_u16(m, patterns_at, 65535); });
}
void module_pattern_past_end(const std::filesystem::path& data) {
    change_module(data, [](bytes& m) { put_u16(m, layout_of(m).first_pattern + 7, 65535); });
}
void module_sample_of_4_gib(const std::filesystem::path& data) {
    change_module(data, [](bytes& m) { put_u32(m, first_sample_length_at(m), 0xFFFFFFFFu); });
}

} // namespace vilora::damage
