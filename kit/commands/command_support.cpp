#include "kit/commands/command_support.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace vilora::kit {

std::optional<int> parse_arguments(CLI::App& app, int argc, char** argv) {
    std::vector<std::string> arguments(argv, argv + argc);
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
        std::fprintf(stderr, "%s: %s\nusage: %s [OPTIONS]... (see --help)\n",
                     app.get_name().c_str(), error.what(), app.get_name().c_str());
        return 2;
    }
    return std::nullopt;
}

int report_failure(const char* command, const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", command, message.c_str());
    return 1;
}

} // namespace vilora::kit
