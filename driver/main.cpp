// vilora: the demo. The show itself (start-up, timeline and the thirteen
// effects) is not part of this build yet; the program says so instead of
// pretending to play.
#include <cstdio>
#include <cstring>

namespace {
constexpr const char* usage = "usage: vilora [--help] [--version]\n"
                              "\n"
                              "vilora plays a 16-bit software-rendered music demo.\n";
} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(usage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("vilora " VILORA_VERSION);
            return 0;
        }
    }
    std::fputs("vilora: the show is not built yet: this build holds the engine's foundation "
               "(display, window, engine services) only.\n",
               stderr);
    return 1;
}
