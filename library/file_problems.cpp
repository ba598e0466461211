#include "library/file_problems.h"

namespace vilora {
namespace {
std::optional<file_problem>& noted() {
    static std::optional<file_problem> problem;
    return problem;
}
} // namespace

void note_file_problem(const std::string& file, const std::string& cause) {
    if (!noted()) noted() = file_problem{file, cause};
}

std::optional<file_problem> take_file_problem() {
    std::optional<file_problem> problem = std::move(noted());
    noted().reset();
    return problem;
}

} // namespace vilora
