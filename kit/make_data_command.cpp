// vilora-kit make-data: writes the default data set (the three picture
// libraries, the seven scenes and the music) into a directory, the same bytes
// on every run; or one file of it, or its list, or contact sheets of the
// pictures each part loads.
#include "kit/commands.h"
#include "kit/data/data_set.h"
#include "kit/data/preview.h"
#include "kit/parse_errors.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace vilora::kit {
namespace {

int report(const std::string& message) {
    std::fprintf(stderr, "vilora-kit make-data: %s\n", message.c_str());
    return 1;
}

// Written beside the target and renamed over it, so that an interrupted run
// leaves no half-written file under the real name.
bool write_file(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    const std::filesystem::path part = path.string() + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) return false;
    }
    std::error_code error;
    std::filesystem::rename(part, path, error);
    return !error;
}

} // namespace

int make_data_command(int argc, char** argv) {
    CLI::App app{"Write the default data set: picture libraries, scenes and music.",
                 "vilora-kit make-data"};
    std::string directory, only, preview;
    bool list = false;
    app.add_option("DIR", directory, "directory to write the data into");
    app.add_option("--only", only, "write only this file of the set");
    app.add_flag("--list", list, "list the files of the set");
    app.add_option("--preview", preview, "write a contact sheet PNG per part into this directory");
    std::vector<std::string> arguments(argv, argv + argc);
    std::reverse(arguments.begin(), arguments.end());
    try {
        app.parse(arguments);
    } catch (const CLI::ParseError& error) {
        return exit_for_parse_error(app, error);
    }
    const auto& names = data::data_file_names();
    if (list) {
        for (const std::string& name : names) std::puts(name.c_str());
        return 0;
    }
    if (directory.empty() && preview.empty()) return report("give a directory (or --list)");
    if (!only.empty() && std::find(names.begin(), names.end(), only) == names.end())
        return report("'" + only + "' is not a file of the data set (see --list)");
    const art::lettering letters;
    if (!letters.ready()) return report("no display or font to draw the captions with");
    std::error_code error;
    if (!directory.empty()) {
        std::filesystem::create_directories(directory, error);
        for (const std::string& name : names) {
            if (!only.empty() && name != only) continue;
            if (!write_file(std::filesystem::path(directory) / name,
                            data::make_data_file(name, letters)))
                return report("cannot write " + directory + "/" + name);
        }
    }
    if (!preview.empty()) {
        std::filesystem::create_directories(preview, error);
        if (!data::write_previews(preview, letters)) return report("cannot write the previews");
    }
    return 0;
}

} // namespace vilora::kit
