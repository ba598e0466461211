#include "library/data_file.h"

#include "library/file_problems.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace vilora {
namespace {

std::string kind_of(mode_t mode) {
    if (S_ISDIR(mode)) return "a directory";
    if (S_ISFIFO(mode)) return "a pipe";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a plain file";
}

// The data root: its path with one "/" at the end, and a descriptor of it.
struct data_root {
    std::string prefix;
    int fd = -1;
};

data_root& root() {
    static data_root held;
    return held;
}

// `path` within the root, or empty when it lies elsewhere (or there is no root).
std::string within_root(const std::string& path) {
    const data_root& r = root();
    if (r.fd < 0 || path.size() <= r.prefix.size() || path.compare(0, r.prefix.size(), r.prefix))
        return {};
    return path.substr(r.prefix.size());
}

std::string cause_of_errno(int error) {
    if (error == ENOENT || error == ENOTDIR) return "missing";
    return std::string("unreadable: ") + std::strerror(error);
}

// A descriptor for reading the regular file `path`, or -1 with the cause.
// Opened without blocking, so that a pipe in the file's place is refused
// instead of waiting for a writer; blocking reads are restored after the check.
int open_regular(const std::string& path, std::string& cause, struct stat& status) {
    constexpr int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;
    const std::string within = within_root(path);
    const int fd =
        within.empty() ? ::open(path.c_str(), flags) : ::openat(root().fd, within.c_str(), flags);
    if (fd < 0) {
        cause = cause_of_errno(errno);
        return -1;
    }
    if (::fstat(fd, &status) != 0) {
        cause = cause_of_errno(errno);
    } else if (!S_ISREG(status.st_mode)) {
        cause = "not a regular file (" + kind_of(status.st_mode) + ")";
    } else if (::fcntl(fd, F_SETFL, 0) != 0) {
        cause = cause_of_errno(errno);
    } else {
        return fd;
    }
    ::close(fd);
    return -1;
}

// Reads exactly `count` bytes; false on an error or an early end of file.
bool read_all(int fd, uint8_t* into, size_t count, std::string& cause) {
    size_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(fd, into + done, count - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            cause = cause_of_errno(errno);
            return false;
        }
        if (got == 0) {
            cause = "shrank while it was read (at byte " + std::to_string(done) + ")";
            return false;
        }
        done += static_cast<size_t>(got);
    }
    return true;
}

void report(const std::string& path, const std::string& cause, std::string* out) {
    note_file_problem(path, cause);
    if (out) *out = cause;
}

} // namespace

std::FILE* open_data_file(const std::string& path, std::string* cause_out) {
    std::string cause;
    struct stat status {};
    const int fd = open_regular(path, cause, status);
    std::FILE* stream = fd < 0 ? nullptr : ::fdopen(fd, "rb");
    if (fd >= 0 && !stream) {
        cause = cause_of_errno(errno);
        ::close(fd);
    }
    if (!stream) report(path, cause, cause_out);
    return stream;
}

std::optional<std::vector<uint8_t>> read_data_file(const std::string& path, uint64_t max_size,
                                                   std::string* cause_out) {
    std::string cause;
    struct stat status {};
    const int fd = open_regular(path, cause, status);
    std::optional<std::vector<uint8_t>> bytes;
    if (fd >= 0) {
        const auto size = static_cast<uint64_t>(status.st_size);
        if (size > max_size) {
            cause = "larger than " + std::to_string(max_size) + " bytes";
        } else {
            bytes.emplace(static_cast<size_t>(size));
            if (!read_all(fd, bytes->data(), bytes->size(), cause)) bytes.reset();
        }
        ::close(fd);
    }
    if (!bytes) report(path, cause, cause_out);
    return bytes;
}

bool data_file_readable(const std::string& path) {
    std::string cause;
    struct stat status {};
    const int fd = open_regular(path, cause, status);
    if (fd < 0) {
        report(path, cause, nullptr);
        return false;
    }
    ::close(fd);
    return true;
}

void set_data_root(const std::string& directory) {
    data_root& r = root();
    if (r.fd >= 0) ::close(r.fd);
    r.fd = ::open(directory.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    r.prefix = directory;
    while (r.prefix.size() > 1 && r.prefix.back() == '/') r.prefix.pop_back();
    if (r.prefix != "/") r.prefix += '/';
}

std::string name_of_data_file(const std::string& path) {
    const std::string within = within_root(path);
    if (!within.empty()) return within;
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string shortened(const std::string& text, size_t most) {
    constexpr std::string_view dots = "...";
    most = std::max(most, dots.size() + 2);
    if (text.size() <= most) return text;
    const size_t head = (most - dots.size()) / 2;
    const size_t tail = most - dots.size() - head;
    return text.substr(0, head) + std::string(dots) + text.substr(text.size() - tail);
}

} // namespace vilora
