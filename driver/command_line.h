// The command line: arguments that begin with "--" are options; every other
// argument is scanned character by character for "0" (320x200), "1" (320x240)
// and "T" (test mode), a later character overriding an earlier one.
#pragma once

#include "driver/show.h"

#include <optional>
#include <string>
#include <vector>

namespace vilora {

struct command_line {
    show_options show;
    std::string data_directory; // empty: the default place
    std::string capture_directory;
    std::string record_file;
    int every = 1;
    bool force = false;            // --force: capture into a directory that is not empty
    std::string renderer = "auto"; // --renderer: auto, software, or an SDL render driver
};

// Applies the characters of one argument to the options.
void scan_show_characters(const std::string& text, show_options& options);

// "obw" or "obw:2" -> the call; nullopt for an unknown name or a mode the
// class does not have.
std::optional<part_call> parse_part_choice(const std::string& text);

// "29" or "23:96" -> the position, for --start and --until; nullopt unless
// ORDER is 0..66 and ROW 0..255 (whether the module has that row is for
// start-up to say).
std::optional<show_position> parse_start_position(const std::string& text);

// Parses argv. On --help, --version or an error returns the exit status the
// program ends with (after printing); otherwise nullopt and fills `result`.
std::optional<int> parse_command_line(int argc, const char* const* argv, command_line& result);

} // namespace vilora
