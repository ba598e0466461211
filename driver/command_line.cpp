#include "driver/command_line.h"

#include "driver/option_values.h"
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
        if (name == c.name && mode < part_modes(c.id)) return part_call{c.id, mode};
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

namespace {

// The classes and their modes, for --help.
std::string parts_and_modes() {
    std::string list;
    for (const part_class& c : built_in_parts()) {
        const int modes = part_modes(c.id);
        list += list.empty() ? "" : ", ";
        list += c.name;
        if (modes > 1) list += " 0-" + std::to_string(modes - 1);
    }
    return list;
}

// The values the parser keeps as text, to be checked in our own words.
struct option_texts {
    std::string every, seed, scale, part, start, until;
};

// Checks the values given as text and takes them into `result`; the exit
// status after a refusal.
std::optional<int> take_values(const CLI::App& app, const option_texts& texts,
                               command_line& result) {
    if (app.count("--every"))
        if (auto status = take_whole_number("--every", texts.every, result.every)) return status;
    if (app.count("--scale"))
        if (auto status = take_whole_number("--scale", texts.scale, result.show.scale))
            return status;
    if (app.count("--seed")) {
        uint32_t value = 0;
        if (auto status = take_whole_number("--seed", texts.seed, value)) return status;
        result.show.seed = value;
    }
    if (app.count("--part")) {
        result.show.only_part = parse_part_choice(texts.part);
        if (!result.show.only_part) return refuse_option_value("--part", texts.part);
    }
    if (app.count("--start")) {
        result.show.start = parse_start_position(texts.start);
        if (!result.show.start) return refuse_option_value("--start", texts.start);
    }
    if (app.count("--until")) {
        result.show.until = parse_start_position(texts.until);
        if (!result.show.until) return refuse_option_value("--until", texts.until);
        const show_position from = result.show.start.value_or(show_position{});
        const show_position& to = *result.show.until;
        if (to.order < from.order || (to.order == from.order && to.row <= from.row))
            return refuse_command_line("--until " + std::to_string(to.order) + ':' +
                                       std::to_string(to.row) + " is not after the start, " +
                                       std::to_string(from.order) + ':' + std::to_string(from.row));
    }
    return std::nullopt;
}

} // namespace

std::optional<int> parse_command_line(int argc, const char* const* argv, command_line& result) {
    CLI::App app{"vilora plays a 16-bit software-rendered music demo.\n"
                 "Other arguments are read character by character: 0 for 320x200, 1 for "
                 "320x240 (the default), T for the test mode.",
                 "vilora"};
    app.set_help_flag("--help", "Print this help and exit");
    app.set_version_flag("--version", std::string("vilora ") + program_version());
    app.allow_extras();
    // An option given twice takes its last value, as a later word overrides.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    option_texts texts;
    bool window = false, bench = false;
    app.add_option("--data", result.data_directory, "Where the show's data lies");
    app.add_flag("--window", window, "Show in a window instead of full screen");
    auto* capture = app.add_option("--capture", result.capture_directory,
                                   "Render headless to DIR: PNG frames, audio.wav, timeline.tsv");
    app.add_option("--every", texts.every, "With --capture: keep every Nth frame (N from 1)")
        ->type_name("N");
    app.add_flag("--force", result.force,
                 "With --capture: write into DIR even when it is not empty, replacing an "
                 "earlier capture's files there (and only those)");
    app.add_option("--seed", texts.seed, "Seed of the random numbers (0 to 2^32-1)")
        ->type_name("N");
    app.add_option("--part", texts.part,
                   "Show one part every frame: NAME[:MODE], e.g. obw:1; the parts and modes: " +
                       parts_and_modes());
    app.add_flag("--bench", bench, "Time every part headless and print the figures");
    app.add_option(
        "--start", texts.start,
        "Start at ORDER[:ROW] of the music, e.g. 29 or 23:96; the timeline runs from there as "
        "if it had got there, the parts start fresh");
    app.add_option(
        "--until", texts.until,
        "End at ORDER[:ROW] of the music, e.g. 31 or 30:32, as the show ends at order 67 (written "
        "as for --start)");
    auto* record = app.add_option(
        "--record", result.record_file,
        "Render headless to one video FILE with sound: .mkv (lossless FFV1 and FLAC), .mp4 "
        "(H.264 and AAC) or .webm (VP9 and Opus)");
    app.add_option(
           "--scale", texts.scale,
           "Pixels per pixel of the 4:3 picture in videos and screenshots, 1 to 8 (default 3: "
           "960x720)")
        ->type_name("N");
    app.add_option("--renderer", result.renderer,
                   "What draws the window: auto (the cheapest here), software, or one of SDL's "
                   "render drivers such as opengl");
    if (auto status = refuse_misplaced_values(app, argc, argv)) return status;
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // --help and --version exit 0; anything it cannot take is exit 2,
        // as for an unknown option.
        if (error.get_exit_code() == 0) return app.exit(error);
        return refuse_command_line(error.what());
    }

    for (const std::string& argument : app.remaining()) {
        if (argument.rfind("--", 0) == 0) return refuse_command_line("unknown option " + argument);
        scan_show_characters(argument, result.show);
    }
    result.show.full_screen = !window;
    if (auto status = take_values(app, texts, result)) return status;
    if (int{bench} + int{capture->count() > 0} + int{record->count() > 0} > 1)
        return refuse_command_line("--bench, --capture and --record go one at a time");
    if (*capture) result.show.kind = run_kind::capture;
    if (*record) result.show.kind = run_kind::record;
    if (bench) result.show.kind = run_kind::bench;
    return std::nullopt;
}

} // namespace vilora
