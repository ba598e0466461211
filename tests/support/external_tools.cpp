#include "tests/support/external_tools.h"

#include <cstdio>
#include <sys/wait.h>

namespace vilora::testing {

run_result run(const std::string& command) {
    run_result result;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    uint8_t buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.output.insert(result.output.end(), buffer, buffer + n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

std::vector<uint8_t> imagemagick_rgba(const std::filesystem::path& file, bool psd) {
    const std::string source =
        psd ? "-define psd:alpha-unblend=off " + quoted(file.string() + "[0]")
            : quoted(file.string());
    run_result r = run("convert " + source + " -depth 8 rgba:- 2>/dev/null");
    return r.status == 0 ? r.output : std::vector<uint8_t>{};
}

} // namespace vilora::testing
