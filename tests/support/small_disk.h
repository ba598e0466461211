// A place where writes run out of room: a tmpfs of a given size where the
// test may mount one (as root, with the right to mount), otherwise a scratch
// directory whose writes are held to the same size by the file size limit
// (RLIMIT_FSIZE, `ulimit -f`), which fails them the same way with EFBIG
// instead of ENOSPC. VILORA_TEST_NO_MOUNT=1 takes the second way everywhere.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace vilora::testing {

class small_disk {
public:
    explicit small_disk(size_t bytes);
    ~small_disk();
    small_disk(const small_disk&) = delete;
    small_disk& operator=(const small_disk&) = delete;

    const std::filesystem::path& path() const { return path_; }
    bool mounted() const { return mounted_; }
    // The system's words for the failure a write meets here.
    const char* cause() const;
    // `command` for the shell, run with only this much room.
    std::string limited(const std::string& command) const;

    // Holds this process's own writes to the room while it lives (where no
    // tmpfs could be mounted; nothing to do otherwise).
    class scope {
    public:
        explicit scope(const small_disk& disk);
        ~scope();
        scope(const scope&) = delete;
        scope& operator=(const scope&) = delete;

    private:
        bool limited_ = false;
        unsigned long long previous_ = 0;
    };

private:
    std::filesystem::path path_;
    size_t bytes_;
    bool mounted_ = false;
};

// The names in `directory`, sorted: what a failure left there.
std::vector<std::string> names_in(const std::filesystem::path& directory);

} // namespace vilora::testing
