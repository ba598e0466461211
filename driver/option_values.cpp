#include "driver/option_values.h"

#include <cstdio>

namespace vilora {

namespace {

// What an option's value must be, in words, and the range of a whole number.
struct value_rule {
    const char* option;
    const char* wants;
    uint64_t least = 0;
    uint64_t most = 0; // 0: not a number
};

constexpr value_rule value_rules[] = {
    {"--data", "a directory"},
    {"--capture", "a directory"},
    {"--record", "a video file: NAME.mkv, NAME.mp4 or NAME.webm"},
    {"--every", "a whole number from 1 to 2147483647", 1, 2147483647u},
    {"--seed", "a whole number from 0 to 4294967295", 0, 4294967295u},
    {"--scale", "a whole number from 1 to 8", 1, 8},
    {"--part", "NAME[:MODE], a part and one of its modes (see --help)"},
    {"--start", "ORDER[:ROW], ORDER 0 to 66 and ROW 0 to 255"},
    {"--until", "ORDER[:ROW], ORDER 0 to 66 and ROW 0 to 255"},
    {"--renderer", "auto, software or one of SDL's render drivers"},
};

const value_rule* rule_of(const std::string& option) {
    for (const value_rule& rule : value_rules)
        if (option == rule.option) return &rule;
    return nullptr;
}

bool begins_with_dashes(const std::string& text) {
    return text.rfind("--", 0) == 0;
}

} // namespace

int refuse_command_line(const std::string& why) {
    std::fprintf(stderr, "vilora: %s\nusage: vilora [0|1|T] [OPTIONS]... (see --help)\n",
                 why.c_str());
    return 2;
}

int refuse_option_value(const std::string& option, const std::string& value) {
    const value_rule* rule = rule_of(option);
    return refuse_command_line(option + " wants " + (rule ? rule->wants : "a value") + ", not '" +
                               value + "'");
}

std::optional<int> refuse_misplaced_values(const CLI::App& app, int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (!begins_with_dashes(argument)) continue;
        const size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : argument.substr(equals + 1);
        const CLI::Option* option = app.get_option_no_throw(name);
        if (!option) continue; // an unknown option is refused by name later
        if (option->get_expected_max() == 0) {
            if (equals != std::string::npos)
                return refuse_command_line(name + " takes no value, not '" + value + "'");
            continue;
        }
        if (equals != std::string::npos) {
            if (value.empty()) return refuse_option_value(name, value);
            continue;
        }
        if (i + 1 == argc) {
            const value_rule* rule = rule_of(name);
            return refuse_command_line(name + " wants " + (rule ? rule->wants : "a value") +
                                       " after it");
        }
        if (begins_with_dashes(argv[i + 1])) return refuse_option_value(name, argv[i + 1]);
        ++i;
    }
    return std::nullopt;
}

std::optional<uint64_t> whole_number_of(const std::string& option, const std::string& text) {
    const value_rule* rule = rule_of(option);
    // Ten digits hold every value up to 4294967295 without overflowing.
    if (!rule || rule->most == 0 || text.empty() || text.size() > 10 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const uint64_t value = std::stoull(text);
    if (value < rule->least || value > rule->most) return std::nullopt;
    return value;
}

} // namespace vilora
