#include "kit/formats/xm_writer.h"

#include <string_view>

namespace vilora::kit {
namespace {

// Sizes of the fixed records, each counted from its own size field.
constexpr uint32_t header_size = 276;       // 20 bytes of fields + 256 orders
constexpr uint32_t pattern_header_size = 9; // size, packing, rows, data size
constexpr uint32_t instrument_header_size = 263;
constexpr uint32_t empty_instrument_size = 29; // size, name, type, sample count
constexpr uint32_t sample_header_size = 40;
constexpr size_t max_envelope_points = 12;

// Little-endian output.
class byte_sink {
public:
    void u8(uint32_t v) { bytes_.push_back(static_cast<uint8_t>(v)); }
    void u16(uint32_t v) {
        u8(v & 0xFF);
        u8(v >> 8);
    }
    void u32(uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    // `text` padded with zero bytes to `size`.
    void text(std::string_view text, size_t size) {
        for (size_t i = 0; i < size; ++i) u8(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
    }
    void zeros(size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    void append(const std::vector<uint8_t>& more) {
        bytes_.insert(bytes_.end(), more.begin(), more.end());
    }
    std::vector<uint8_t>& bytes() { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

std::string check_envelope(const xm_envelope& e, const std::string& where) {
    if (e.points.size() > max_envelope_points) return where + ": more than 12 points";
    for (size_t i = 0; i < e.points.size(); ++i) {
        if (e.points[i].value > 64) return where + ": a value above 64";
        if (i > 0 && e.points[i].tick <= e.points[i - 1].tick)
            return where + ": ticks do not increase";
    }
    if (e.on && e.points.empty()) return where + ": enabled without points";
    const size_t n = e.points.size();
    if (e.sustain && e.sustain_point >= n) return where + ": sustain point out of range";
    if (e.loop && (e.loop_start > e.loop_end || e.loop_end >= n))
        return where + ": loop out of range";
    return {};
}

std::string check_sample(const xm_sample& s, const std::string& where) {
    if (s.name.size() > 22) return where + ": name longer than 22 bytes";
    if (s.volume > 64) return where + ": volume above 64";
    if (s.data.size() > 0x7FFFFFFFu / 2) return where + ": too long";
    if (!s.sixteen_bit)
        for (int16_t v : s.data)
            if (v < -128 || v > 127) return where + ": 8-bit value out of range";
    if (s.loop != xm_loop::none) {
        if (s.loop_length == 0) return where + ": empty loop";
        if (static_cast<uint64_t>(s.loop_start) + s.loop_length > s.data.size())
            return where + ": loop past the end";
    }
    return {};
}

std::string check_instrument(const xm_instrument& in, const std::string& where) {
    if (in.name.size() > 22) return where + ": name longer than 22 bytes";
    if (in.samples.size() > 16) return where + ": more than 16 samples";
    for (uint8_t s : in.sample_of_note)
        if (!in.samples.empty() && s >= in.samples.size())
            return where + ": note map names a missing sample";
    if (in.vibrato_type > 3) return where + ": vibrato type above 3";
    for (const std::string& e : {check_envelope(in.volume_envelope, where + " volume envelope"),
                                 check_envelope(in.panning_envelope, where + " panning envelope")})
        if (!e.empty()) return e;
    for (size_t i = 0; i < in.samples.size(); ++i) {
        std::string e = check_sample(in.samples[i], where + " sample " + std::to_string(i));
        if (!e.empty()) return e;
    }
    return {};
}

std::string check_pattern(const xm_pattern& p, const xm_module& m, const std::string& where) {
    if (p.rows() < 1 || p.rows() > 256) return where + ": rows outside 1..256";
    if (p.channels() != m.channels) return where + ": channel count differs from the module's";
    for (int row = 0; row < p.rows(); ++row)
        for (int ch = 0; ch < p.channels(); ++ch) {
            const xm_cell& c = p.at(row, ch);
            if (c.note > xm_key_off) return where + ": note above key-off";
            if (c.instrument > m.instruments.size()) return where + ": missing instrument";
        }
    return {};
}

std::string check_header(const xm_module& m) {
    if (m.name.size() > 20) return "module name longer than 20 bytes";
    if (m.tracker.size() > 20) return "tracker name longer than 20 bytes";
    if (m.channels < 1 || m.channels > 32) return "channels outside 1..32";
    if (m.speed < 1 || m.speed > 31) return "speed outside 1..31";
    if (m.tempo < 32 || m.tempo > 255) return "tempo outside 32..255";
    if (m.orders.empty() || m.orders.size() > 256) return "orders outside 1..256";
    if (m.restart >= m.orders.size()) return "restart past the last order";
    if (m.patterns.size() > 256) return "more than 256 patterns";
    if (m.instruments.size() > 128) return "more than 128 instruments";
    for (uint8_t o : m.orders)
        if (o >= m.patterns.size()) return "an order names a missing pattern";
    return {};
}

// One cell: five plain bytes when every field is present, otherwise a flag
// byte (bit 7 set; bits 0..4 note, instrument, volume, effect, parameter)
// followed by the fields present.
void pack_cell(const xm_cell& c, byte_sink& out) {
    const uint8_t fields[5] = {c.note, c.instrument, c.volume, c.effect, c.parameter};
    uint32_t mask = 0;
    for (int i = 0; i < 5; ++i)
        if (fields[i]) mask |= 1u << i;
    if (mask != 0x1F) out.u8(0x80 | mask);
    for (int i = 0; i < 5; ++i)
        if (mask & (1u << i)) out.u8(fields[i]);
}

void write_pattern(const xm_pattern& p, byte_sink& out) {
    byte_sink packed;
    bool all_empty = true;
    for (int row = 0; row < p.rows(); ++row)
        for (int ch = 0; ch < p.channels(); ++ch) {
            pack_cell(p.at(row, ch), packed);
            all_empty = all_empty && p.at(row, ch).empty();
        }
    // An empty pattern stores no data at all; readers fill it with empty cells.
    if (all_empty) packed.bytes().clear();
    out.u32(pattern_header_size);
    out.u8(0); // packing type
    out.u16(static_cast<uint32_t>(p.rows()));
    out.u16(static_cast<uint32_t>(packed.bytes().size()));
    out.append(packed.bytes());
}

void write_envelope_points(const xm_envelope& e, byte_sink& out) {
    for (size_t i = 0; i < max_envelope_points; ++i) {
        const bool real = i < e.points.size();
        out.u16(real ? e.points[i].tick : 0);
        out.u16(real ? e.points[i].value : 0);
    }
}

uint32_t envelope_flags(const xm_envelope& e) {
    return (e.on ? 1u : 0u) | (e.sustain ? 2u : 0u) | (e.loop ? 4u : 0u);
}

void write_sample_header(const xm_sample& s, byte_sink& out) {
    const uint32_t width = s.sixteen_bit ? 2 : 1; // lengths and loops are in bytes
    out.u32(static_cast<uint32_t>(s.data.size()) * width);
    const bool looped = s.loop != xm_loop::none;
    out.u32(looped ? s.loop_start * width : 0);
    out.u32(looped ? s.loop_length * width : 0);
    out.u8(s.volume);
    out.u8(static_cast<uint8_t>(s.finetune));
    out.u8(static_cast<uint32_t>(s.loop) | (s.sixteen_bit ? 0x10u : 0u));
    out.u8(s.panning);
    out.u8(static_cast<uint8_t>(s.relative_note));
    out.u8(0); // reserved
    out.text(s.name, 22);
}

// Each value stored as its difference from the one before, modulo 2^8 or 2^16.
void write_sample_data(const xm_sample& s, byte_sink& out) {
    uint16_t previous = 0;
    for (int16_t v : s.data) {
        const uint16_t value = static_cast<uint16_t>(v);
        const uint16_t delta = static_cast<uint16_t>(value - previous);
        previous = value;
        if (s.sixteen_bit)
            out.u16(delta);
        else
            out.u8(delta & 0xFF);
    }
}

void write_instrument(const xm_instrument& in, byte_sink& out) {
    const bool empty = in.samples.empty();
    out.u32(empty ? empty_instrument_size : instrument_header_size);
    out.text(in.name, 22);
    out.u8(0); // type
    out.u16(static_cast<uint32_t>(in.samples.size()));
    if (empty) return;
    out.u32(sample_header_size);
    for (uint8_t s : in.sample_of_note) out.u8(s);
    write_envelope_points(in.volume_envelope, out);
    write_envelope_points(in.panning_envelope, out);
    out.u8(static_cast<uint32_t>(in.volume_envelope.points.size()));
    out.u8(static_cast<uint32_t>(in.panning_envelope.points.size()));
    for (const xm_envelope* e : {&in.volume_envelope, &in.panning_envelope}) {
        out.u8(e->sustain_point);
        out.u8(e->loop_start);
        out.u8(e->loop_end);
    }
    out.u8(envelope_flags(in.volume_envelope));
    out.u8(envelope_flags(in.panning_envelope));
    out.u8(in.vibrato_type);
    out.u8(in.vibrato_sweep);
    out.u8(in.vibrato_depth);
    out.u8(in.vibrato_rate);
    out.u16(in.fadeout);
    out.zeros(22); // reserved
    for (const xm_sample& s : in.samples) write_sample_header(s, out);
    for (const xm_sample& s : in.samples) write_sample_data(s, out);
}

} // namespace

std::string xm_check(const xm_module& m) {
    std::string error = check_header(m);
    for (size_t i = 0; error.empty() && i < m.patterns.size(); ++i)
        error = check_pattern(m.patterns[i], m, "pattern " + std::to_string(i));
    for (size_t i = 0; error.empty() && i < m.instruments.size(); ++i)
        error = check_instrument(m.instruments[i], "instrument " + std::to_string(i + 1));
    return error;
}

std::vector<uint8_t> xm_file(const xm_module& m) {
    if (!xm_check(m).empty()) return {};
    byte_sink out;
    out.text("Extended Module: ", 17);
    out.text(m.name, 20);
    out.u8(0x1A);
    out.text(m.tracker, 20);
    out.u16(0x0104);
    out.u32(header_size);
    out.u16(static_cast<uint32_t>(m.orders.size()));
    out.u16(m.restart);
    out.u16(static_cast<uint32_t>(m.channels));
    out.u16(static_cast<uint32_t>(m.patterns.size()));
    out.u16(static_cast<uint32_t>(m.instruments.size()));
    out.u16(m.linear_frequencies ? 1 : 0);
    out.u16(m.speed);
    out.u16(m.tempo);
    for (size_t i = 0; i < 256; ++i) out.u8(i < m.orders.size() ? m.orders[i] : 0);
    for (const xm_pattern& p : m.patterns) write_pattern(p, out);
    for (const xm_instrument& in : m.instruments) write_instrument(in, out);
    return std::move(out.bytes());
}

} // namespace vilora::kit
