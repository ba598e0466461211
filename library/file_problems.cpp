#include "library/file_problems.h"

#include <utility>

namespace vilora {
namespace {
std::optional<file_problem>& noted() {
    static std::optional<file_problem> problem;
    return problem;
}
std::vector<file_problem>& skipped() {
    static std::vector<file_problem> list;
    return list;
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

void note_skipped_data(const std::string& file, const std::string& cause) {
    skipped().push_back(file_problem{file, cause});
}

std::vector<file_problem> take_skipped_data() {
    return std::exchange(skipped(), {});
}

} // namespace vilora
