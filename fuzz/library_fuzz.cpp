// Arbitrary bytes as a ".782" archive: opening, listing and reading every
// member must neither crash nor touch memory out of bounds, a read that
// succeeds gives exactly the member's size, and a closed library reads nothing.
#include "library/library_file.h"

#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The reader opens files by name: one in-memory file, reopened through /proc
// for every input, spares the disk.
const std::string& input_file(const uint8_t* data, size_t size) {
    static const int fd = memfd_create("library_fuzz", 0);
    static const std::string name = "/proc/self/fd/" + std::to_string(fd);
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        std::abort();
    return name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& name = input_file(data, size);
    vilora::library_file library;
    if (!library.open(name.c_str(), false) && !library.open(name.c_str(), true)) return 0;

    std::string last_member;
    for (int32_t i = 0; i < library.entry_count(); ++i) {
        const auto path = library.entry_path(i);
        const vilora::library_entry* entry = path ? library.entry_of(path->c_str()) : nullptr;
        if (!entry) continue;
        const auto bytes = library.load_member(path->c_str());
        if (bytes && bytes->size() != static_cast<size_t>(entry->size)) std::abort();
        if (!library.seek_member(path->c_str())) std::abort();
        last_member = *path;
    }
    library.close();
    if (!last_member.empty() && library.load_member(last_member.c_str())) std::abort();
    return 0;
}
