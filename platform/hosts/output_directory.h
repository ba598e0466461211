// A directory that one job writes into (a capture, an extracted archive):
// opened once, made when missing, and locked for as long as the job runs, so
// that a second job started at the same moment is refused rather than mixed
// in. Files go in through its descriptor (output_file.h), so that renaming or
// replacing the path meanwhile cannot send them elsewhere.
#pragma once

#include <string>
#include <vector>

namespace vilora {

// What lies at a path below an output directory, looked at without following
// symbolic links.
struct entry_below {
    enum class kind { none, directory, file, link };
    kind what = kind::none;
    // The first step on the way that is not a directory (a file or a link), as
    // a path below the directory; empty when the way is clear.
    std::string in_the_way;
    bool in_the_way_is_link = false;
};

class output_directory {
public:
    output_directory() = default;
    ~output_directory(); // closes it, and the lock goes with it
    output_directory(const output_directory&) = delete;
    output_directory& operator=(const output_directory&) = delete;

    // Opens `path`, made with its missing parents when it does not exist;
    // false with failure() saying why.
    bool open(const std::string& path);
    // Takes the lock; false when another job holds it.
    bool lock();

    int descriptor() const { return descriptor_; }
    const std::string& path() const { return path_; }
    const std::string& failure() const { return failure_; }
    // The names in it, sorted, without "." and "..".
    std::vector<std::string> entries() const;
    // Removes the directory again when open() made it, lock() took it, and
    // nothing was put in it.
    void remove_if_made_and_empty();

    // What lies at `relative` ("a/b/c") below it.
    entry_below look_up(const std::string& relative) const;
    // A new descriptor of the directory `relative` below it ("" for itself),
    // made where missing; no symbolic link on the way is followed, so nothing
    // reaches outside. -1, with `failure` naming the step and the cause, when
    // it cannot be had.
    int make_below(const std::string& relative, std::string& failure) const;

private:
    std::string path_;
    int descriptor_ = -1;
    bool made_ = false;
    bool locked_ = false;
    std::string failure_;
};

} // namespace vilora
