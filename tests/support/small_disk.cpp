#include "tests/support/small_disk.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <sys/mount.h>
#include <sys/resource.h>
#include <system_error>
#include <unistd.h>

namespace vilora::testing {

namespace fs = std::filesystem;

small_disk::small_disk(size_t bytes) : bytes_(bytes) {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() /
            ("vilora-disk-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::create_directories(path_);
    const char* no_mount = std::getenv("VILORA_TEST_NO_MOUNT");
    if (no_mount && *no_mount && std::string(no_mount) != "0") return;
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
    mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
}

small_disk::~small_disk() {
    if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
    std::error_code error;
    fs::remove_all(path_, error);
}

const char* small_disk::cause() const {
    return mounted_ ? "No space left on device" : "File too large";
}

std::string small_disk::limited(const std::string& command) const {
    if (mounted_) return command;
    // ulimit -f counts blocks of 512 bytes in POSIX shells.
    return "ulimit -f " + std::to_string(bytes_ / 512) + "; " + command;
}

small_disk::scope::scope(const small_disk& disk) {
    if (disk.mounted_) return;
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    previous_ = limit.rlim_cur;
    limit.rlim_cur = disk.bytes_;
    // Past the limit a write fails with EFBIG once SIGXFSZ no longer ends the process.
    std::signal(SIGXFSZ, SIG_IGN);
    limited_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

small_disk::scope::~scope() {
    if (!limited_) return;
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = previous_;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

std::vector<std::string> names_in(const fs::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace vilora::testing
