// damaged_data: the damaged copies the damaged-data sweep plays the show on.
//
//   damaged_data mutate KIND SEED FILE [OTHER]   FILE changed in place
//   damaged_data craft CASE DATA_DIR             prints "FILE EXPECT"
//   damaged_data cases                           one "CASE FILE EXPECT" a line
//
// KIND is flipped-run, inserted, deleted or spliced (with OTHER); see damage.h.
#include "tests/damage/damage.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

using namespace vilora::damage;

namespace {

int usage() {
    std::fputs("usage: damaged_data mutate KIND SEED FILE [OTHER]\n"
               "       damaged_data craft CASE DATA_DIR\n"
               "       damaged_data cases\n",
               stderr);
    return 2;
}

int craft(const std::string& name, const std::filesystem::path& data) {
    for (const crafted_case& c : crafted_cases())
        if (name == c.name) {
            c.craft(data);
            std::printf("%s %s\n", c.file, c.expect);
            return 0;
        }
    std::fprintf(stderr, "damaged_data: no crafted case '%s'\n", name.c_str());
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 2 && std::strcmp(argv[1], "cases") == 0) {
            for (const crafted_case& c : crafted_cases())
                std::printf("%s %s %s\n", c.name, c.file, c.expect);
            return 0;
        }
        if (argc == 4 && std::strcmp(argv[1], "craft") == 0) return craft(argv[2], argv[3]);
        if ((argc == 5 || argc == 6) && std::strcmp(argv[1], "mutate") == 0 &&
            is_mutation(argv[2])) {
            const bytes other = argc == 6 ? read_file(argv[5]) : bytes{};
            write_file(argv[4], mutate(argv[2], std::stoull(argv[3]), read_file(argv[4]), other));
            return 0;
        }
        return usage();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "damaged_data: %s\n", error.what());
        return 1;
    }
}
