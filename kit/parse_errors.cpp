#include "kit/parse_errors.h"

#include <cstdio>

namespace vilora::kit {

int exit_for_parse_error(const CLI::App& app, const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) return app.exit(error);
    std::fprintf(stderr, "%s: %s\n", app.get_name().c_str(), error.what());
    const CLI::Formatter usage;
    std::fprintf(stderr, "%s(see %s --help)\n", usage.make_usage(&app, app.get_name()).c_str(),
                 app.get_name().c_str());
    return 2;
}

} // namespace vilora::kit
