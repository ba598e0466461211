#include "engine/data_files.h"

#include "library/data_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace vilora {

namespace fs = std::filesystem;

namespace {
std::string& directory_setting() {
    static std::string directory = "data";
    return directory;
}

bool same_ignoring_case(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

// The entry of `directory` named `name` in any letter case; exact matches first.
fs::path match_in(const fs::path& directory, const std::string& name) {
    std::error_code error;
    if (fs::exists(directory / name, error)) return directory / name;
    for (const auto& entry : fs::directory_iterator(directory, error))
        if (same_ignoring_case(entry.path().filename().string(), name)) return entry.path();
    return directory / name;
}
} // namespace

void set_data_directory(const std::string& directory) {
    directory_setting() = directory;
    set_data_root(directory);
}

const std::string& data_directory() {
    return directory_setting();
}

std::string choose_data_directory(const std::string& executable_path) {
    std::error_code error;
    fs::path beside = fs::absolute(executable_path, error).parent_path();
    fs::path candidate = match_in(beside, "data");
    if (fs::is_directory(candidate, error)) return candidate.string();
    candidate = match_in(fs::current_path(error), "data");
    if (fs::is_directory(candidate, error)) return candidate.string();
    // Installed: PREFIX/bin/vilora reads PREFIX/share/vilora/data.
    candidate = beside.parent_path() / "share" / "vilora" / "data";
    if (fs::is_directory(candidate, error)) return candidate.string();
    return "data";
}

std::string data_file(const char* name) {
    std::string relative = name ? name : "";
    std::replace(relative.begin(), relative.end(), '\\', '/');
    // The show names its files under "data/"; that is the data directory.
    const std::string prefix = "data/";
    if (relative.size() > prefix.size() && same_ignoring_case(relative.substr(0, 5), prefix))
        relative.erase(0, prefix.size());
    fs::path path = directory_setting();
    for (const auto& part : fs::path(relative)) {
        if (part.empty() || part == "/") continue;
        path = match_in(path, part.string());
    }
    return path.string();
}

} // namespace vilora
