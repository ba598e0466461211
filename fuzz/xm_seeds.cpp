// Writes the seed corpus of the xm_load_fuzz target: small modules of the
// shapes the show's module has (cue notes, a pattern loop, many orders).
//   xm_seeds DIR
#include "fuzz/seed_file.h"
#include "tests/support/test_module.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using vilora::fuzzing::write_seed;
    using vilora::testing::test_module_bytes;
    if (argc != 2) {
        std::fputs("usage: xm_seeds DIR\n", stderr);
        return 2;
    }
    const std::string dir = argv[1];
    const bool ok =
        write_seed(dir + "/plain.xm", test_module_bytes({.orders = 2, .rows = 8})) &&
        write_seed(dir + "/cues.xm",
                   test_module_bytes(
                       {.orders = 3, .rows = 16, .cues = {{0, 0, 0}, {1, 4, 2}, {2, 8, -1}}})) &&
        write_seed(dir + "/loop.xm", test_module_bytes({.orders = 2,
                                                        .rows = 16,
                                                        .loop_order = 1,
                                                        .loop_first = 2,
                                                        .loop_last = 5,
                                                        .loop_times = 2}));
    return ok ? 0 : 1;
}
