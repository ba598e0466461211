#include "driver/command_line.h"

#include "engine/version.h"

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

namespace {
// Digits alone, at most `most` of them (six keep an int from overflowing).
std::optional<int> small_number(const std::string& digits, size_t most) {
    if (digits.empty() || digits.size() > most ||
        digits.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoi(digits);
}

constexpr int rows_a_pattern_can_have = 256;
} // namespace

std::optional<part_call> parse_part_choice(const std::string& text) {
    const size_t colon = text.find(':');
    const std::string name = text.substr(0, colon);
    int mode = 0;
    if (colon != std::string::npos) {
        const auto digits = small_number(text.substr(colon + 1), 6);
        if (!digits) return std::nullopt;
        mode = *digits;
    }
    for (const part_class& c : built_in_parts())
        if (name == c.name) return part_call{c.id, mode};
    return std::nullopt;
}

std::optional<show_position> parse_start_position(const std::string& text) {
    const size_t colon = text.find(':');
    const auto order = small_number(text.substr(0, colon), 5);
    const auto row = colon == std::string::npos ? std::optional<int>(0)
                                                : small_number(text.substr(colon + 1), 5);
    if (!order || !row || *order >= final_order || *row >= rows_a_pattern_can_have)
        return std::nullopt;
    return show_position{static_cast<uint16_t>(*order), static_cast<uint16_t>(*row)};
}

std::optional<int> parse_command_line(int argc, const char* const* argv, command_line& result) {
    CLI::App app{"vilora plays a 16-bit software-rendered music demo.\n"
                 "Other arguments are read character by character: 0 for 320x200, 1 for "
                 "320x240 (the default), T for the test mode.",
                 "vilora"};
    app.set_help_flag("--help", "Print this help and exit");
    app.set_version_flag("--version", std::string("vilora ") + program_version());
    app.allow_extras();
    std::string part, start;
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
    auto* start_option = app.add_option(
        "--start", start,
        "Start at ORDER[:ROW] of the music, e.g. 29 or 23:96; the timeline runs from there as "
        "if it had got there, the parts start fresh");
    auto* record = app.add_option(
        "--record", result.record_file,
        "Render headless to one video FILE with sound: .mkv (lossless FFV1 and FLAC), .mp4 "
        "(H.264 and AAC) or .webm (VP9 and Opus)");
    app.add_option("--scale", result.show.scale,
                   "Pixels per pixel of the 4:3 picture in videos and screenshots (default 3: "
                   "960x720)")
        ->check(CLI::Range(1, 8));
    app.add_option("--renderer", result.renderer,
                   "What draws the window: auto (the cheapest here), software, or one of SDL's "
                   "render drivers such as opengl");
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
    if (*start_option) {
        result.show.start = parse_start_position(start);
        if (!result.show.start) {
            std::fprintf(stderr,
                         "vilora: --start wants ORDER[:ROW], ORDER 0 to %d and ROW 0 to %d, not "
                         "'%s'\n",
                         final_order - 1, rows_a_pattern_can_have - 1, start.c_str());
            return 2;
        }
    }
    if (int{bench} + int{capture->count() > 0} + int{record->count() > 0} > 1) {
        std::fputs("vilora: --bench, --capture and --record go one at a time\n", stderr);
        return 2;
    }
    if (*capture) result.show.kind = run_kind::capture;
    if (*record) result.show.kind = run_kind::record;
    if (bench) result.show.kind = run_kind::bench;
    return std::nullopt;
}

} // namespace vilora
