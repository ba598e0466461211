#include "kit/commands/command_support.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace vilora::kit {

namespace {

// The option `name` of the command or of one of its own commands (lib
// create, ...), those given on the command line first.
const CLI::Option* option_named(const CLI::App& app, const std::string& name) {
    if (const CLI::Option* option = app.get_option_no_throw(name)) return option;
    for (const CLI::App* command : app.get_subcommands())
        if (const CLI::Option* option = command->get_option_no_throw(name)) return option;
    for (const CLI::App* command : app.get_subcommands({}))
        if (const CLI::Option* option = command->get_option_no_throw(name)) return option;
    return nullptr;
}

// What a value of `option` must be, in words: the command's own, else from
// the type it is read as.
std::string wanted(const CLI::Option* option, const option_words& words) {
    if (option)
        if (const auto own = words.find(option->get_name()); own != words.end()) return own->second;
    const std::string type = option ? option->get_type_name() : "";
    const int values = option ? option->get_expected_max() : 1;
    if (values > 1 && values < 1000) return std::to_string(values) + " values joined by ','";
    if (type.rfind("FLOAT", 0) == 0) return "a number";
    if (type.rfind("UINT", 0) == 0) return "a whole number, 0 or more";
    if (type.rfind("INT", 0) == 0) return "a whole number";
    return "a value";
}

// The text between `before` and `after` in `message`; empty when either is missing.
std::string between(const std::string& message, const std::string& before,
                    const std::string& after) {
    const size_t from = message.find(before);
    if (from == std::string::npos) return {};
    const size_t start = from + before.size();
    const size_t end = after.empty() ? message.size() : message.find(after, start);
    return end == std::string::npos ? std::string{} : message.substr(start, end - start);
}

template <typename Error>
bool is(const CLI::ParseError& error) {
    return dynamic_cast<const Error*>(&error) != nullptr;
}

// The parser's refusal in the words the kit uses everywhere: what the option
// wants and what it got.
std::string in_words(const CLI::App& app, const CLI::ParseError& error, const option_words& words) {
    const std::string message = error.what();
    if (is<CLI::ConversionError>(error)) { // "Could not convert: --frame = x"
        const std::string name = between(message, "Could not convert: ", " = ");
        const std::string value = between(message, " = ", "");
        return name + " wants " + wanted(option_named(app, name), words) + ", not '" + value + "'";
    }
    if (is<CLI::ExtrasError>(error)) // "The following argument(s) was/were not expected: b"
        return "unexpected argument '" + between(message, "expected: ", "") + "'";
    const std::string name = message.substr(0, message.find(':'));
    const CLI::Option* option = option_named(app, name);
    if (is<CLI::ValidationError>(error) && option) { // "--format: 9 not in {565,555}"
        const std::string value = between(message, ": ", " not in ");
        const std::string choices = between(message, "{", "}");
        if (!choices.empty()) return name + " wants one of " + choices + ", not '" + value + "'";
    }
    if (is<CLI::ArgumentMismatch>(error) && option) // "--at: At least 2 required but received 1"
        return name + " wants " + wanted(option, words) + " after it";
    if (is<CLI::RequiredError>(error)) {
        if (message.find("subcommand") != std::string::npos) {
            std::string names;
            for (const CLI::App* command : app.get_subcommands({}))
                names += (names.empty() ? "" : ", ") + command->get_name();
            return "a command is missing: " + names;
        }
        const std::string missing = between(message, "", " is required");
        if (const CLI::Option* positional = option_named(app, missing))
            return missing + " is missing: " + positional->get_description();
    }
    return message;
}

// Values the parser would take wrongly: an empty one, which it reads as 0 or
// ("--frame=") replaces by the next argument, the next option in place of a
// value, and one given to a flag ("--json=1"). Empty when there are none.
std::string misplaced_value(const CLI::App& app, const std::vector<std::string>& arguments,
                            const option_words& words) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.rfind("--", 0) != 0) continue;
        const size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const CLI::Option* option = option_named(app, name);
        if (!option) continue;
        const bool joined = equals != std::string::npos;
        const std::string value = joined ? argument.substr(equals + 1) : std::string{};
        const std::string next = !joined && i + 1 < arguments.size() ? arguments[i + 1] : "-";
        if (option->get_expected_max() == 0) {
            if (joined) return name + " takes no value, not '" + value + "'";
        } else if ((joined && value.empty()) || next.empty() || next.rfind("--", 0) == 0) {
            return name + " wants " + wanted(option, words) + ", not '" + (joined ? value : next) +
                   "'";
        }
    }
    return {};
}

} // namespace

int refuse_arguments(const CLI::App& app, const std::string& why) {
    std::fprintf(stderr, "%s: %s\nusage: %s [OPTIONS]... (see --help)\n", app.get_name().c_str(),
                 why.c_str(), app.get_name().c_str());
    return 2;
}

std::optional<int> parse_arguments(CLI::App& app, int argc, char** argv,
                                   const option_words& words) {
    std::vector<std::string> arguments(argv, argv + argc);
    if (const std::string why = misplaced_value(app, arguments, words); !why.empty())
        return refuse_arguments(app, why);
    std::reverse(arguments.begin(), arguments.end()); // CLI11 takes them last first
    try {
        app.parse(arguments);
    } catch (const CLI::CallForHelp&) {
        std::fputs(app.help().c_str(), stdout);
        return 0;
    } catch (const CLI::CallForAllHelp&) {
        std::fputs(app.help("", CLI::AppFormatMode::All).c_str(), stdout);
        return 0;
    } catch (const CLI::ParseError& error) {
        return refuse_arguments(app, in_words(app, error, words));
    }
    return std::nullopt;
}

int report_failure(const char* command, const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", command, message.c_str());
    return 1;
}

} // namespace vilora::kit
