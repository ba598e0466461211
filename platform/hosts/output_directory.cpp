#include "platform/hosts/output_directory.h"

#include "platform/hosts/output_file.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace vilora {

output_directory::~output_directory() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

bool output_directory::open(const std::string& path) {
    path_ = path;
    std::error_code error;
    made_ = std::filesystem::create_directories(path, error);
    descriptor_ = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor_ >= 0) return true;
    // A part of the path that is a file says "Not a directory" at the open
    // already; the cause of making it is the one to give otherwise.
    const int cause = error && errno == ENOENT ? error.value() : errno;
    failure_ = path + ": cannot be used: " + system_reason(cause);
    return false;
}

bool output_directory::lock() {
    locked_ = ::flock(descriptor_, LOCK_EX | LOCK_NB) == 0;
    if (locked_) return true;
    failure_ = errno == EWOULDBLOCK ? path_ + ": another run is writing into it"
                                    : path_ + ": cannot be locked: " + system_reason(errno);
    return false;
}

std::vector<std::string> output_directory::entries() const {
    std::vector<std::string> names;
    const int copy = ::dup(descriptor_);
    DIR* listing = copy >= 0 ? ::fdopendir(copy) : nullptr;
    if (!listing) {
        if (copy >= 0) ::close(copy);
        return names;
    }
    ::rewinddir(listing);
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(listing);
    std::sort(names.begin(), names.end());
    return names;
}

void output_directory::remove_if_made_and_empty() {
    // A run refused the lock leaves it: the run holding it may have opened
    // the directory this one made, and writes into it.
    if (!made_ || !locked_ || !entries().empty()) return;
    std::error_code error;
    std::filesystem::remove(path_, error);
}

namespace {
// "a/b/c" -> "a", "b", "c"
std::vector<std::string> steps_of(const std::string& relative) {
    std::vector<std::string> steps;
    for (size_t start = 0; start < relative.size();) {
        size_t end = relative.find('/', start);
        if (end == std::string::npos) end = relative.size();
        if (end > start) steps.push_back(relative.substr(start, end - start));
        start = end + 1;
    }
    return steps;
}

// The steps up to and including `count` joined again.
std::string joined(const std::vector<std::string>& steps, size_t count) {
    std::string path;
    for (size_t i = 0; i < count; ++i) path += (i ? "/" : "") + steps[i];
    return path;
}

// One directory step down, never through a link: O_NOFOLLOW fails on one.
int step_into(int directory, const std::string& name) {
    return ::openat(directory, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}
} // namespace

entry_below output_directory::look_up(const std::string& relative) const {
    entry_below found;
    const std::vector<std::string> steps = steps_of(relative);
    int at = ::dup(descriptor_);
    for (size_t i = 0; at >= 0 && i < steps.size(); ++i) {
        struct stat status {};
        if (::fstatat(at, steps[i].c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) break;
        const bool directory = S_ISDIR(status.st_mode);
        const bool link = S_ISLNK(status.st_mode);
        if (i + 1 == steps.size()) {
            found.what = directory ? entry_below::kind::directory
                         : link    ? entry_below::kind::link
                                   : entry_below::kind::file;
            break;
        }
        if (!directory) {
            found.in_the_way = joined(steps, i + 1);
            found.in_the_way_is_link = link;
            break;
        }
        const int next = step_into(at, steps[i]);
        ::close(at);
        at = next;
    }
    if (at >= 0) ::close(at);
    return found;
}

int output_directory::make_below(const std::string& relative, std::string& failure) const {
    const std::vector<std::string> steps = steps_of(relative);
    int at = ::fcntl(descriptor_, F_DUPFD_CLOEXEC, 0);
    for (size_t i = 0; at >= 0 && i < steps.size(); ++i) {
        if (::mkdirat(at, steps[i].c_str(), 0777) != 0 && errno != EEXIST) {
            failure =
                path_ + "/" + joined(steps, i + 1) + ": cannot be made: " + system_reason(errno);
            ::close(at);
            return -1;
        }
        const int next = step_into(at, steps[i]);
        const int cause = errno;
        struct stat status {};
        const bool link = next < 0 &&
                          ::fstatat(at, steps[i].c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
                          S_ISLNK(status.st_mode);
        ::close(at);
        if (next < 0) {
            failure = path_ + "/" + joined(steps, i + 1) +
                      (link ? ": is a symbolic link; nothing is written through it"
                            : ": cannot be used: " + system_reason(cause));
            return -1;
        }
        at = next;
    }
    if (at < 0 && failure.empty()) failure = path_ + ": cannot be used: " + system_reason(errno);
    return at;
}

} // namespace vilora
