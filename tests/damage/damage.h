// Damaged copies of the show's data for the damaged-data sweep: seeded
// mutations of a file's bytes, and files crafted per format that lie about
// their sizes, counts and names. The sweep (tests/scripts/corrupt_data_test.sh)
// runs the show on each and checks how it ends.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vilora::damage {

using bytes = std::vector<uint8_t>;

bytes read_file(const std::filesystem::path& file);
void write_file(const std::filesystem::path& file, const bytes& data);

// Little-endian fields of the formats.
uint32_t u32_at(const bytes& data, size_t at);
uint16_t u16_at(const bytes& data, size_t at);
void put_u16(bytes& data, size_t at, uint16_t value);
void put_u32(bytes& data, size_t at, uint32_t value);

// Multi-byte mutations, seeded: "flipped-run" (a run of 2 to 64 bytes, each
// changed), "inserted" and "deleted" (a run of 1 to 64 bytes), "spliced"
// (the start of `data` joined to the end of `other`). Empty `data` stays empty.
bytes mutate(const std::string& kind, uint64_t seed, const bytes& data, const bytes& other);
bool is_mutation(const std::string& kind);

// How the show must end on a crafted data set: "fails" (its message, then our
// line naming the file), "noted" (it plays, and says once what it skipped),
// or "either" (one of those or playing).
struct crafted_case {
    const char* name;
    const char* file; // the data file it changes
    const char* expect;
    void (*craft)(const std::filesystem::path& data_directory);
};
const std::vector<crafted_case>& crafted_cases();

} // namespace vilora::damage
