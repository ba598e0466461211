// Files that are whole or absent. Whatever vilora and vilora-kit write (videos,
// frames, sound, screenshots, archives, data) goes first to a temporary name
// beside its target and is renamed over it only once every byte is written
// and closed. A failure removes the temporary: nothing is ever left under the
// target's name that looks valid but is not, and an earlier file there stays
// as it was. Every failure keeps the file and the system's reason in words.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

namespace vilora {

// The system's reason for an errno value, in words: "No space left on device".
std::string system_reason(int error_number);

class output_file {
public:
    // When the target is a symbolic link, the file it names is the one replaced.
    // `sync`: commit() waits until the bytes and the rename are on the disk
    // (off for the many small frames of a capture).
    explicit output_file(const std::string& path, bool sync = true);
    // `name` (one path component) inside the open directory `directory`, which
    // must outlive this; a symbolic link under that name is replaced, never
    // followed. `shown` names the file in messages.
    output_file(int directory, const std::string& name, const std::string& shown, bool sync = true);
    ~output_file(); // discards what was not committed
    output_file(const output_file&) = delete;
    output_file& operator=(const output_file&) = delete;

    // No failure so far.
    bool ok() const { return cause_.empty(); }
    // The first failure's cause in words; empty while all went well.
    const std::string& cause() const { return cause_; }
    // The temporary, open for reading and writing; -1 when it could not be made.
    int descriptor() const { return descriptor_; }
    // For libraries that open files by name.
    const std::string& temporary_path() const { return temporary_path_; }
    // The target as messages name it.
    const std::string& shown() const { return shown_; }

    // Appends `size` bytes; false (and the cause kept) on failure.
    bool write(const void* bytes, size_t size);
    // A stdio stream on the temporary, for text; from then on it holds the
    // descriptor, and commit() closes both.
    std::FILE* stream();
    // A failure met by whoever writes into the file: `cause` in words.
    void fail(const std::string& cause);

    // Flushes, closes and renames the temporary over the target; false when
    // anything on the way failed, and then the temporary is removed.
    bool commit();
    // Removes the temporary; the target is left as it was. True when there
    // was one to remove.
    bool discard();
    // A second temporary for the same target, to be committed in this one's
    // place (when what was written has to be written again another way).
    std::unique_ptr<output_file> replacement() const;

    // "a.mkv: cannot be written: No space left on device; the unfinished file
    // was removed": the target, the first failure's cause, and what became of
    // the temporary and of an earlier file under the target's name.
    std::string failure() const;

private:
    void open_temporary(const std::string& name);
    void fail_with(int error_number) { fail(system_reason(error_number)); }

    int directory_ = -1;
    bool owns_directory_ = false;
    std::string name_;           // the target's name inside `directory_`
    std::string temporary_name_; // the temporary's, beside it
    std::string temporary_path_;
    std::string shown_;
    int descriptor_ = -1;
    std::FILE* stream_ = nullptr;
    bool sync_;
    bool target_existed_ = false;
    bool temporary_removed_ = false;
    bool committed_ = false;
    std::string cause_;
};

// Writes `bytes` to `path` whole or not at all; false with output_file::failure()
// in `failure` when it cannot.
bool write_whole_file(const std::string& path, const void* bytes, size_t size,
                      std::string& failure);

} // namespace vilora
