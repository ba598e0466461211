// vilora-kit lib: makes, lists and unpacks ".782" archives.
#include "kit/commands/command_support.h"
#include "kit/commands/commands.h"
#include "kit/commands/printable.h"
#include "kit/formats/library_writer.h"
#include "library/data_file.h"
#include "library/library_file.h"
#include "library/library_format.h"
#include "platform/hosts/output_directory.h"
#include "platform/hosts/output_file.h"
#include "platform/hosts/standard_streams.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace vilora::kit {
namespace {

namespace fs = std::filesystem;

// Every failure is one line on stderr and exit status 1.
int report(const std::string& message) {
    return report_failure("vilora-kit lib", message);
}

// A warning is one line on stderr; the command goes on.
void warn(const std::string& message) {
    std::fprintf(stderr, "vilora-kit lib: warning: %s\n", message.c_str());
}

// Members are 32-bit sized.
constexpr uint64_t max_member_size = 0x7FFFFFFF;

// Packs files and directory trees from disk, directories in name order.
class archive_builder {
public:
    archive_builder(fs::path archive, bool store) : archive_(std::move(archive)), store_(store) {}

    // Adds `file` from disk as `name`; a directory with everything below it.
    // The empty name stands for the top level of the archive.
    bool add(const fs::path& file, const std::string& name) {
        std::error_code ec;
        const fs::file_status status = fs::status(file, ec);
        if (fs::is_directory(status)) return add_directory(file, name);
        if (!fs::is_regular_file(status))
            return fail(file.string() + ": no such file or directory");
        if (fs::equivalent(file, archive_, ec)) return true; // never pack the archive into itself
        std::string cause;
        const auto bytes = read_data_file(file.string(), max_member_size, &cause);
        if (!bytes) return fail(file.string() + ": " + cause);
        return writer_.add_member(name, *bytes, store_) || fail(writer_.error());
    }

    bool write() { return writer_.write(archive_.string()) || fail(writer_.error()); }
    const std::string& error() const { return error_; }

private:
    // A symbolic link back up the tree ends at the 255-character path limit.
    bool add_directory(const fs::path& directory, const std::string& name) {
        if (!name.empty() && !writer_.add_directory(name)) return fail(writer_.error());
        std::vector<fs::path> children;
        std::error_code ec;
        for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec))
            children.push_back(it->path());
        if (ec) return fail(directory.string() + ": " + ec.message());
        std::sort(children.begin(), children.end());
        for (const fs::path& child : children) {
            const std::string leaf = child.filename().string();
            if (!add(child, name.empty() ? leaf : name + "/" + leaf)) return false;
        }
        return true;
    }

    bool fail(std::string reason) {
        error_ = std::move(reason);
        return false;
    }

    library_writer writer_;
    fs::path archive_;
    bool store_;
    std::string error_;
};

int create_archive(const std::string& archive, const fs::path& directory, bool store,
                   const std::vector<std::string>& paths) {
    archive_builder builder(archive, store);
    for (const std::string& path : paths) {
        std::string name = fs::path(path).lexically_normal().generic_string();
        if (path.empty() || fs::path(path).is_absolute())
            return report("'" + path + "': paths must be relative to the directory");
        if (name == ".") name.clear();
        if (name.ends_with('/')) name.pop_back();
        if (!builder.add(directory / path, name)) return report(builder.error());
    }
    return builder.write() ? 0 : report(builder.error());
}

// The path as listed, escaped: directories end in "/", an unresolvable path
// shows its own name under "?/".
std::string shown_path(const library_file& library, int32_t index) {
    const library_entry& entry = library.entry(index);
    std::string path = library.entry_path(index).value_or("?/" + std::string(entry.name));
    return printable(entry.is_directory ? path + "/" : path);
}

// Lower case, for paths that the reader takes to be the same.
std::string folded(const std::string& path) {
    std::string lower = path;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// What the reader accepts but a user may want to know: members it can never
// find, names no file system should get, and members hidden behind an
// earlier one of the same path.
void warn_about_entries(const std::string& archive, const library_file& library) {
    std::map<std::string, int32_t> first_of;
    for (int32_t i = 0; i < library.entry_count(); ++i) {
        const library_entry& entry = library.entry(i);
        const std::optional<std::string> path = library.entry_path(i);
        const std::string shown = shown_path(library, i);
        if (!path) {
            warn(archive + ": entry " + std::to_string(i) + " '" + shown +
                 "' has no path (its parent is missing); it can never be read");
            continue;
        }
        if (!is_valid_member_path(*path))
            warn(archive + ": entry " + std::to_string(i) + " '" + shown +
                 "' has a name that cannot be extracted");
        if (entry.is_directory) continue;
        const auto [earlier, inserted] = first_of.emplace(folded(*path), i);
        if (!inserted)
            warn(archive + ": entry " + std::to_string(i) + " '" + shown + "' has the path of '" +
                 shown_path(library, earlier->second) +
                 "' (letter case aside); only the first is ever read");
    }
}

int list_archive(const std::string& archive) {
    library_file library;
    if (!library.open(archive.c_str(), true))
        return report(archive + ": " + library.failure_reason());
    for (int32_t i = 0; i < library.entry_count(); ++i) {
        const library_entry& entry = library.entry(i);
        const char* kind = entry.is_directory ? "dir" : entry.is_compressed ? "zlib" : "stored";
        std::printf("%10d %10d  %-6s  %s\n", entry.size, entry.stored_size, kind,
                    shown_path(library, i).c_str());
    }
    flush_standard_output();
    warn_about_entries(archive, library);
    return 0;
}

// Whether `path` is one of the selected paths or lies below one; marks the
// selections that matched.
bool is_selected(const std::string& path, const std::vector<std::string>& selection,
                 std::vector<bool>& matched) {
    bool selected = selection.empty();
    for (size_t i = 0; i < selection.size(); ++i) {
        const std::string& s = selection[i];
        const bool below = path.size() > s.size() && path[s.size()] == '/';
        if (library_paths_equal(path.substr(0, below ? s.size() : path.size()), s))
            selected = matched[i] = true;
    }
    return selected;
}

struct extract_item {
    int32_t index;
    std::string path;
};

// What to write, checked in full before anything is written: paths must stay
// inside the target directory, and of members sharing a path only the one
// the reader finds is taken.
std::optional<extract_item> plan_entry(const library_file& library, int32_t index,
                                       const std::vector<std::string>& selection,
                                       std::vector<bool>& matched, std::string& error) {
    const std::optional<std::string> path = library.entry_path(index);
    if (!path) {
        if (selection.empty()) error = "entry " + std::to_string(index) + " has no path";
        return std::nullopt;
    }
    if (!is_selected(*path, selection, matched)) return std::nullopt;
    if (!is_valid_member_path(*path)) {
        error = "unsafe member path '" + printable(*path) + "'";
        return std::nullopt;
    }
    const int32_t found = library.find_entry(path->c_str());
    if (!library.entry(index).is_directory && found != index) {
        // Written once, from the first; on a file system that tells letter
        // cases apart the user may have expected two files.
        warn("'" + printable(*path) + "' (entry " + std::to_string(index) + ") has the path of '" +
             printable(library.entry_path(found).value_or("")) +
             "' letter case aside; only the first is extracted");
        return std::nullopt;
    }
    return extract_item{index, *path};
}

// The planned items checked against what DIR already holds, before anything is
// written: nothing is written through a symbolic link inside DIR, and a file
// already there is replaced only when forced. 0, or the exit status after the
// reason on stderr.
int check_targets(const output_directory& target, const library_file& library,
                  const std::vector<extract_item>& plan, bool force) {
    std::vector<std::string> existing;
    for (const extract_item& item : plan) {
        const entry_below found = target.look_up(item.path);
        const std::string shown = target.path() + "/" + printable(item.path);
        if (!found.in_the_way.empty())
            return report(
                target.path() + "/" + printable(found.in_the_way) +
                (found.in_the_way_is_link
                     ? ": is a symbolic link; nothing is extracted through it"
                     : ": is in the way of '" + printable(item.path) + "' and not a directory"));
        const bool directory = library.entry(item.index).is_directory;
        if (directory && found.what == entry_below::kind::link)
            return report(shown + ": is a symbolic link; nothing is extracted through it");
        if (directory && found.what == entry_below::kind::file)
            return report(shown + ": is in the way of the archive's directory and not one");
        if (!directory && found.what == entry_below::kind::directory)
            return report(shown + ": is a directory; the archive holds a file there");
        if (!directory && found.what != entry_below::kind::none) existing.push_back(shown);
    }
    if (existing.empty() || force) return 0;
    const size_t more = existing.size() - 1;
    std::fprintf(stderr, "vilora-kit lib: %s already exists%s: give --force to replace %s\n",
                 existing.front().c_str(),
                 more ? (" (and " + std::to_string(more) + " more of the archive's files)").c_str()
                      : "",
                 more ? "them" : "it");
    return 2;
}

// One member into its place below DIR, whole or not at all.
int write_member(const output_directory& target, library_file& library, const std::string& archive,
                 const extract_item& item) {
    const fs::path path(item.path);
    std::string failure;
    const bool directory = library.entry(item.index).is_directory;
    const int parent =
        target.make_below(directory ? item.path : path.parent_path().string(), failure);
    if (parent < 0) return report(failure);
    if (directory) {
        ::close(parent);
        return 0;
    }
    const auto bytes = library.load_member(item.path.c_str());
    if (!bytes) {
        ::close(parent);
        return report(archive + ": " + library.failure_reason());
    }
    // Members are many and can be extracted again: whole, but not synced one by one.
    output_file file(parent, path.filename().string(), target.path() + "/" + item.path, false);
    const bool written = file.write(bytes->data(), bytes->size()) && file.commit();
    ::close(parent);
    return written ? 0 : report(file.failure());
}

int extract_archive(const std::string& archive, const std::string& directory,
                    std::vector<std::string> selection, bool force) {
    library_file library;
    if (!library.open(archive.c_str(), true))
        return report(archive + ": " + library.failure_reason());
    for (std::string& s : selection)
        while (s.ends_with('/')) s.pop_back();
    std::vector<bool> matched(selection.size());
    std::vector<extract_item> plan;
    for (int32_t i = 0; i < library.entry_count(); ++i) {
        std::string error;
        if (auto item = plan_entry(library, i, selection, matched, error))
            plan.push_back(std::move(*item));
        else if (!error.empty())
            return report(archive + ": " + error);
    }
    for (size_t i = 0; i < selection.size(); ++i)
        if (!matched[i]) return report(archive + ": '" + selection[i] + "' is not in the archive");

    output_directory target;
    if (!target.open(directory)) return report(target.failure());
    if (!target.lock()) {
        std::fprintf(stderr, "vilora-kit lib: %s\n", target.failure().c_str());
        return 2;
    }
    if (const int refused = check_targets(target, library, plan, force)) return refused;
    for (const extract_item& item : plan)
        if (const int failed = write_member(target, library, archive, item)) return failed;
    return 0;
}

} // namespace

int lib_command(int argc, char** argv) {
    CLI::App app{"Make, list and unpack \".782\" archives.", "vilora-kit lib"};
    app.require_subcommand(1, 1);
    std::string archive;
    std::string directory = ".";
    bool store = false;
    bool force = false;
    std::vector<std::string> paths;

    CLI::App* create = app.add_subcommand("create", "pack files and directories into an archive");
    create->add_option("archive", archive, "the archive to write")->required();
    create->add_option("-C,--directory", directory, "take PATHs relative to this directory");
    create->add_flag("--store", store, "store members as they are instead of compressing them");
    create->add_option("paths", paths, "files and directories to pack")->required();

    CLI::App* list = app.add_subcommand("list", "list the entries: size, stored size, kind, path");
    list->add_option("archive", archive, "the archive to read")->required();

    CLI::App* extract = app.add_subcommand("extract", "unpack members (all, or the PATHs given)");
    extract->add_option("archive", archive, "the archive to read")->required();
    extract->add_option("-C,--directory", directory, "unpack into this directory");
    extract->add_flag("--force", force, "replace files of the same names that are already there");
    extract->add_option("paths", paths, "members or directories to unpack");

    // CLI11 takes a vector of arguments last first.
    if (const auto done = parse_arguments(app, argc, argv)) return *done;
    if (*create) return create_archive(archive, directory, store, paths);
    if (*list) return list_archive(archive);
    return extract_archive(archive, directory, paths, force);
}

} // namespace vilora::kit
