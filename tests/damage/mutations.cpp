#include "tests/damage/damage.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace vilora::damage {

bytes read_file(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    return bytes(std::istreambuf_iterator<char>(in), {});
}

void write_file(const std::filesystem::path& file, const bytes& data) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

uint32_t u32_at(const bytes& data, size_t at) {
    return at + 4 > data.size()
               ? 0
               : static_cast<uint32_t>(data[at] | data[at + 1] << 8 | data[at + 2] << 16) |
                     static_cast<uint32_t>(data[at + 3]) << 24;
}

uint16_t u16_at(const bytes& data, size_t at) {
    return at + 2 > data.size() ? 0 : static_cast<uint16_t>(data[at] | data[at + 1] << 8);
}

void put_u16(bytes& data, size_t at, uint16_t value) {
    if (at + 2 > data.size()) throw std::runtime_error("field past the end");
    data[at] = static_cast<uint8_t>(value);
    data[at + 1] = static_cast<uint8_t>(value >> 8);
}

void put_u32(bytes& data, size_t at, uint32_t value) {
    put_u16(data, at, static_cast<uint16_t>(value));
    put_u16(data, at + 2, static_cast<uint16_t>(value >> 16));
}

namespace {
constexpr const char* mutation_kinds[] = {"flipped-run", "inserted", "deleted", "spliced"};
}

bool is_mutation(const std::string& kind) {
    return std::find(std::begin(mutation_kinds), std::end(mutation_kinds), kind) !=
           std::end(mutation_kinds);
}

bytes mutate(const std::string& kind, uint64_t seed, const bytes& data, const bytes& other) {
    if (data.empty()) return data;
    std::mt19937_64 random(seed);
    const auto below = [&random](size_t n) {
        return static_cast<size_t>(std::uniform_int_distribution<uint64_t>(0, n - 1)(random));
    };
    const size_t at = below(data.size());
    const size_t run = 1 + below(64);
    bytes out = data;
    if (kind == "flipped-run") {
        for (size_t i = at; i < std::min(data.size(), at + run + 1); ++i)
            out[i] ^= static_cast<uint8_t>(1 + below(255));
    } else if (kind == "inserted") {
        bytes noise(run);
        for (uint8_t& b : noise) b = static_cast<uint8_t>(below(256));
        out.insert(out.begin() + static_cast<ptrdiff_t>(at), noise.begin(), noise.end());
    } else if (kind == "deleted") {
        out.erase(out.begin() + static_cast<ptrdiff_t>(at),
                  out.begin() + static_cast<ptrdiff_t>(std::min(data.size(), at + run)));
    } else if (kind == "spliced" && !other.empty()) {
        const size_t from = below(other.size());
        out.resize(at);
        out.insert(out.end(), other.begin() + static_cast<ptrdiff_t>(from), other.end());
    }
    return out;
}

} // namespace vilora::damage
