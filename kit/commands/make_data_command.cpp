// vilora-kit make-data: writes the default data set (the three picture
// libraries, the seven scenes and the music) into a directory, the same bytes
// on every run; or one file of it, or its list, or contact sheets of the
// pictures each part loads, or the program's icon.
#include "kit/commands/command_support.h"
#include "kit/commands/commands.h"
#include "kit/content/data_set.h"
#include "kit/content/icon.h"
#include "kit/content/preview.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace vilora::kit {
namespace {

int report(const std::string& message) {
    return report_failure("vilora-kit make-data", message);
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
    std::string directory, only, preview, icons;
    bool list = false;
    app.add_option("DIR", directory, "directory to write the data into");
    app.add_option("--only", only, "write only this file of the set");
    app.add_flag("--list", list, "list the files of the set");
    app.add_option("--preview", preview, "write a contact sheet PNG per part into this directory");
    app.add_option("--icons", icons,
                   "write the program's icon, made from the title picture, into this directory "
                   "as 48x48/apps/vilora.png, 128x128/... and 256x256/...");
    if (const auto done = parse_arguments(app, argc, argv)) return *done;
    const auto& names = data::data_file_names();
    if (list) {
        for (const std::string& name : names) std::puts(name.c_str());
        return 0;
    }
    if (directory.empty() && preview.empty() && icons.empty())
        return report("give a directory (or --list)");
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
    if (!icons.empty() && !data::write_icons(icons, letters))
        return report("cannot write the icons");
    return 0;
}

} // namespace vilora::kit
