// What every vilora-kit command shares: reading its arguments and saying why
// it failed, the same way in each.
#pragma once

#include <CLI/CLI.hpp>

#include <map>
#include <optional>
#include <string>

namespace vilora::kit {

// Reads the arguments after the command's name into `app`. Returns the exit
// status when the command has nothing more to do: 0 after --help (printed on
// stdout), 2 after a bad argument (the reason and the usage line on stderr).
// Returns nothing when the command should run.
// `words`, by option name: what its value must be, where the command checks
// the value itself ("--frame" -> "a frame of the scene, ..."); the parser's
// own refusals of that option then say the same.
using option_words = std::map<std::string, std::string>;
std::optional<int> parse_arguments(CLI::App& app, int argc, char** argv,
                                   const option_words& words = {});

// Refuses the arguments: "command: WHY" and the usage line on stderr; returns 2.
int refuse_arguments(const CLI::App& app, const std::string& why);

// Prints "command: message" on stderr, e.g. "vilora-kit lib: pics.782: not an
// archive"; returns 1, the status of a command that failed.
int report_failure(const char* command, const std::string& message);

} // namespace vilora::kit
