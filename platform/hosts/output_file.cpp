#include "platform/hosts/output_file.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace vilora {

namespace {

namespace fs = std::filesystem;

// Linux follows at most 40 links in one lookup; a longer chain is a loop.
constexpr int most_links = 40;
constexpr size_t longest_name = 255; // bytes of one path component

// The file a chain of symbolic links ends at (the path itself when it is none).
fs::path link_target(fs::path path) {
    for (int i = 0; i < most_links; ++i) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error))) break;
        const fs::path next = fs::read_symlink(path, error);
        if (error) break;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
}

// Temporaries of one process never share a name: its id and a count.
std::atomic<unsigned> temporaries_made{0};

} // namespace

std::string system_reason(int error_number) {
    return std::strerror(error_number);
}

output_file::output_file(const std::string& path, bool sync) : shown_(path), sync_(sync) {
    const fs::path target = link_target(path);
    const std::string name = target.filename().string();
    if (name.empty() || name == "." || name == "..") {
        fail_with(EISDIR);
        return;
    }
    const fs::path parent = target.has_parent_path() ? target.parent_path() : fs::path(".");
    directory_ = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory_ < 0) {
        fail_with(errno);
        return;
    }
    owns_directory_ = true;
    open_temporary(name);
    if (descriptor_ >= 0) temporary_path_ = (parent / temporary_name_).string();
}

output_file::output_file(int directory, const std::string& name, const std::string& shown,
                         bool sync)
    : directory_(directory), shown_(shown), sync_(sync) {
    if (name.empty() || name.find('/') != std::string::npos) {
        fail_with(EINVAL);
        return;
    }
    open_temporary(name);
    // Libraries that want a name reach the temporary through the directory's descriptor.
    if (descriptor_ >= 0)
        temporary_path_ = "/proc/self/fd/" + std::to_string(directory) + "/" + temporary_name_;
}

void output_file::open_temporary(const std::string& name) {
    name_ = name;
    if (name.size() > longest_name) {
        fail_with(ENAMETOOLONG);
        return;
    }
    struct stat existing {};
    if (::fstatat(directory_, name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISDIR(existing.st_mode)) {
            fail_with(EISDIR);
            return;
        }
        target_existed_ = true;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string suffix =
            "." + std::to_string(::getpid()) + "-" + std::to_string(temporaries_made++) + ".part";
        // A target name near the limit leaves room for the suffix by giving up its end.
        temporary_name_ =
            name.substr(0, longest_name - std::min(longest_name, suffix.size())) + suffix;
        descriptor_ = ::openat(directory_, temporary_name_.c_str(),
                               O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (descriptor_ >= 0 || errno != EEXIST) break;
    }
    if (descriptor_ < 0) {
        fail_with(errno);
        temporary_name_.clear(); // never ours to remove
    }
}

output_file::~output_file() {
    if (!committed_) discard();
    if (owns_directory_) ::close(directory_);
}

bool output_file::write(const void* bytes, size_t size) {
    if (!ok()) return false;
    const auto* next = static_cast<const char*>(bytes);
    while (size > 0) {
        const ssize_t written = ::write(descriptor_, next, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            fail_with(written < 0 ? errno : EIO);
            return false;
        }
        next += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// The stream takes the descriptor itself rather than a duplicate: where
// duplicating opens the file again by name (the WebAssembly build's file
// system), a duplicate of a file made with O_EXCL cannot be had.
std::FILE* output_file::stream() {
    if (!stream_ && ok()) {
        stream_ = ::fdopen(descriptor_, "w");
        if (!stream_) fail_with(errno);
    }
    return stream_;
}

void output_file::fail(const std::string& cause) {
    if (cause_.empty()) cause_ = cause.empty() ? "a write failed" : cause;
}

bool output_file::commit() {
    if (committed_) return ok();
    if (stream_) {
        errno = 0;
        if (std::fflush(stream_) != 0) fail_with(errno);
        if (std::ferror(stream_)) fail("a write failed");
    }
    if (descriptor_ >= 0) {
        if (ok() && sync_ && ::fsync(descriptor_) != 0) fail_with(errno);
        errno = 0;
        if ((stream_ ? std::fclose(stream_) : ::close(descriptor_)) != 0)
            fail_with(errno ? errno : EIO);
        stream_ = nullptr;
        descriptor_ = -1;
    }
    if (ok() && ::renameat(directory_, temporary_name_.c_str(), directory_, name_.c_str()) != 0)
        fail_with(errno);
    if (!ok()) {
        discard();
        return false;
    }
    committed_ = true;
    // The file is in place; the directory's sync only makes the rename survive a
    // power cut, and a file system that cannot sync directories is no failure.
    if (sync_) ::fsync(directory_);
    return true;
}

bool output_file::discard() {
    if (stream_) {
        std::fclose(stream_); // and the descriptor with it
        stream_ = nullptr;
        descriptor_ = -1;
    }
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = -1;
    const bool removing = !temporary_name_.empty() && !committed_ && !temporary_removed_;
    if (removing) temporary_removed_ = ::unlinkat(directory_, temporary_name_.c_str(), 0) == 0;
    committed_ = true;
    return removing && temporary_removed_;
}

std::unique_ptr<output_file> output_file::replacement() const {
    const int directory = ::fcntl(directory_, F_DUPFD_CLOEXEC, 0);
    auto second = std::make_unique<output_file>(directory, name_, shown_, sync_);
    second->owns_directory_ = directory >= 0;
    if (!temporary_path_.empty() && owns_directory_)
        second->temporary_path_ =
            (fs::path(temporary_path_).parent_path() / second->temporary_name_).string();
    return second;
}

std::string output_file::failure() const {
    std::string text = shown_ + ": cannot be written: " + (ok() ? "not finished" : cause_);
    if (temporary_removed_) text += "; the unfinished file was removed";
    if (target_existed_)
        text += std::string(temporary_removed_ ? "," : ";") + " the earlier " + shown_ +
                " is as it was";
    return text;
}

bool write_whole_file(const std::string& path, const void* bytes, size_t size,
                      std::string& failure) {
    output_file file(path);
    if (file.write(bytes, size) && file.commit()) return true;
    file.discard();
    failure = file.failure();
    return false;
}

} // namespace vilora
