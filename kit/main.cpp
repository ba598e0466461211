// vilora-kit: the tools around vilora's data. Its commands arrive with the
// subsystems they serve.
#include <cstdio>
#include <cstring>

namespace {
constexpr const char* usage = "usage: vilora-kit [--help] [--version]\n"
                              "\n"
                              "No commands are built yet.\n";
} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("vilora-kit " VILORA_VERSION);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(usage, stdout);
        return 0;
    }
    std::fputs(usage, stderr);
    return 2;
}
