// The one way data files are opened, by the show and by the kit alike: the
// path must name a regular file (not a directory, a device or a pipe, which
// would fail or block at the first read), and every failure comes back as a
// short cause a user can act on, never as an exception. What went wrong is
// also noted (file_problems.h), so that the caller that turns it into its own
// result code can still say which file and why.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace vilora {

// Opens `path` for reading as a stream; null on failure, with the cause noted
// and, when `cause` is given, stored there.
std::FILE* open_data_file(const std::string& path, std::string* cause = nullptr);

// The whole of `path`, at most `max_size` bytes; nullopt on failure, with the
// cause noted and stored as above ("missing", "not a regular file (a
// directory)", "larger than N bytes", "unreadable: ...").
std::optional<std::vector<uint8_t>> read_data_file(const std::string& path, uint64_t max_size,
                                                   std::string* cause = nullptr);

// True when `path` names a regular file that can be opened for reading; the
// cause is noted when not.
bool data_file_readable(const std::string& path);

} // namespace vilora
