// How vilora refuses a command line: one line that says what an option
// wants and what it got, in the same words for a wrong value, an empty one
// and a missing one, then the usage line; the exit status is 2.
#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <optional>
#include <string>

namespace vilora {

// Prints "vilora: WHY" and the usage line on stderr; returns 2.
int refuse_command_line(const std::string& why);

// "--every wants a whole number from 1 to 2147483647, not 'x'"; returns 2.
// `option` is one that takes a value.
int refuse_option_value(const std::string& option, const std::string& value);

// Values the parser would take wrongly: an empty one ("--every="), which it
// would replace by the next argument, a missing one, the next option in place
// of a value ("--data --capture DIR"), and one given to a flag
// ("--window=maybe"). A value that begins with "--" can still be given as
// "--data=--odd-name". The exit status after refusing; nothing when all is well.
std::optional<int> refuse_misplaced_values(const CLI::App& app, int argc, const char* const* argv);

// The value of a whole-number option (--every, --seed, --scale) within its
// range; nothing for any other text.
std::optional<uint64_t> whole_number_of(const std::string& option, const std::string& text);

// A whole-number option's value into `into`; the exit status after refusing it.
template <typename Number>
std::optional<int> take_whole_number(const std::string& option, const std::string& text,
                                     Number& into) {
    const std::optional<uint64_t> value = whole_number_of(option, text);
    if (!value) return refuse_option_value(option, text);
    into = static_cast<Number>(*value);
    return std::nullopt;
}

} // namespace vilora
