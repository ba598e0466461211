// How every vilora-kit command ends on a command line it cannot take: the
// reason and a usage line on stderr, exit status 2. --help and --version
// print and exit 0 as usual.
#pragma once

#include <CLI/CLI.hpp>

namespace vilora::kit {

int exit_for_parse_error(const CLI::App& app, const CLI::ParseError& error);

} // namespace vilora::kit
