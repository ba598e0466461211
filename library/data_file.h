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

// The directory the show's data lies in. Paths under it ("DIR/hedge.3ds") are
// opened relative to it, so only the name within it counts against the
// system's limit on the length of a path, however long DIR's own path is.
// A directory that cannot be opened leaves paths to be opened as they are.
void set_data_root(const std::string& directory);

// The part of `path` within the data root ("hedge.3ds"), or, for a path
// elsewhere, its last component: the name a file is known by, whatever the
// directories above it.
std::string name_of_data_file(const std::string& path);

// `text` cut to at most `most` characters (at least 5) around "...": its
// start and its end, which hold the directory and the name, for messages.
std::string shortened(const std::string& text, size_t most);

} // namespace vilora
