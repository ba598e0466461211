// vilora-kit: the tools around vilora's data.
#include "engine/version.h"
#include "kit/commands/commands.h"
#include "platform/hosts/standard_streams.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace vilora::kit {
namespace {

// Commands arrive with the subsystems they serve.
constexpr command commands[] = {
    {"lib", "make, list and unpack .782 archives (create, list, extract)", lib_command},
    {"scene", "dump a 3DS scene and its evaluation at a frame", scene_command},
    {"picture", "decode a BMP or PSD picture for a screen format and write it as PNG",
     picture_command},
    {"make-music", "write the demo's music module (and its rendering as WAV)", music_command},
    {"make-data", "write the default data set (libraries, scenes, music) or its previews",
     make_data_command},
    {nullptr, nullptr, nullptr},
};

void print_usage(std::FILE* out) {
    std::fputs(
        "usage: vilora-kit COMMAND [ARGS...]\n       vilora-kit --help | --version\n\ncommands:\n",
        out);
    for (const command& c : commands)
        if (c.name) std::fprintf(out, "  %-10s %s\n", c.name, c.summary);
}

} // namespace
} // namespace vilora::kit

namespace {
// What went to stdout (a listing, a dump, the help) arrived, or the command
// fails: `status`, or 1 when it was 0.
int with_output_checked(const std::string& program, int status) {
    return vilora::close_standard_output(program.c_str()) || status != 0 ? status : 1;
}
} // namespace

int main(int argc, char** argv) {
    using namespace vilora::kit;
    vilora::guard_standard_streams();
    if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("vilora-kit %s\n", vilora::program_version());
        return with_output_checked("vilora-kit", 0);
    }
    if (argc >= 2 && std::strcmp(argv[1], "--help") == 0) {
        print_usage(stdout);
        return with_output_checked("vilora-kit", 0);
    }
    if (argc >= 2) {
        for (const command& c : commands)
            if (c.name && std::strcmp(argv[1], c.name) == 0)
                return with_output_checked(std::string("vilora-kit ") + c.name,
                                           c.run(argc - 2, argv + 2));
        std::fprintf(stderr, "vilora-kit: unknown command '%s'\n", argv[1]);
    }
    print_usage(stderr);
    return 2;
}
