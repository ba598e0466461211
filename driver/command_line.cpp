#include "driver/command_line.h"

#include <CLI/CLI.hpp>

namespace vilora {

void scan_show_characters(const std::string& text, show_options& options) {
    for (char c : text) {
        if (c == '0') {
            options.width = 320;
            options.height = 200;
        } else if (c == '1') {
            options.width = 320;
            options.height = 240;
        } else if (c == 'T') {
            options.test_mode = true;
        }
    }
}

std::optional<part_call> parse_part_choice(const std::string& text) {
    const size_t colon = text.find(':');
    const std::string name = text.substr(0, colon);
    int mode = 0;
    if (colon != std::string::npos) {
        const std::string digits = text.substr(colon + 1);
        if (digits.empty() || digits.size() > 6 ||
            digits.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        mode = std::stoi(digits);
    }
    for (const part_class& c : built_in_parts())
        if (name == c.name) return part_call{c.id, mode};
    return std::nullopt;
}

std::optional<int> parse_command_line(int argc, const char* const* argv, command_line& result) {
    CLI::App app{"vilora plays a 16-bit software-rendered music demo.\n"
                 "Other arguments are read character by character: 0 for 320x200, 1 for "
                 "320x240 (the default), T for the test mode.",
                 "vilora"};
    app.set_help_flag("--help", "Print this help and exit");
    app.set_version_flag("--version", "vilora " VILORA_VERSION);
    app.allow_extras();
    std::string part;
    uint32_t seed = 0;
    bool window = false, bench = false;
    app.add_option("--data", result.data_directory, "Where the show's data lies");
    app.add_flag("--window", window, "Show in a window instead of full screen");
    auto* capture = app.add_option("--capture", result.capture_directory,
                                   "Render headless to DIR: PNG frames, audio.wav, timeline.tsv");
    app.add_option("--every", result.every, "With --capture: keep every Nth frame")
        ->check(CLI::PositiveNumber);
    auto* seed_option = app.add_option("--seed", seed, "Seed of the random numbers");
    auto* part_option =
        app.add_option("--part", part, "Show one part every frame: NAME[:MODE], e.g. obw:1");
    app.add_flag("--bench", bench, "Time every part headless and print the figures");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // --help and --version exit 0; anything it cannot take is exit 2,
        // as for an unknown option.
        if (error.get_exit_code() == 0) return app.exit(error);
        std::fprintf(stderr, "vilora: %s (see --help)\n", error.what());
        return 2;
    }

    for (const std::string& argument : app.remaining()) {
        if (argument.rfind("--", 0) == 0) {
            std::fprintf(stderr, "vilora: unknown option %s (see --help)\n", argument.c_str());
            return 2;
        }
        scan_show_characters(argument, result.show);
    }
    result.show.full_screen = !window;
    if (*seed_option) result.show.seed = seed;
    if (*part_option) {
        result.show.only_part = parse_part_choice(part);
        if (!result.show.only_part) {
            std::fprintf(stderr, "vilora: no part called '%s' (see --help)\n", part.c_str());
            return 2;
        }
    }
    if (bench && *capture) {
        std::fputs("vilora: --bench and --capture do not go together\n", stderr);
        return 2;
    }
    if (*capture) result.show.kind = run_kind::capture;
    if (bench) result.show.kind = run_kind::bench;
    return std::nullopt;
}

} // namespace vilora
