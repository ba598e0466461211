// vilora-kit make-data: writes the default data set (the three picture
// libraries, the seven scenes and the music) into a directory, the same bytes
// on every run; or one file of it, or its list, or contact sheets of the
// pictures each part loads, or the program's icon.
#include "kit/commands/command_support.h"
#include "kit/commands/commands.h"
#include "kit/content/data_set.h"
#include "kit/content/icon.h"
#include "kit/content/preview.h"
#include "platform/hosts/output_file.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace vilora::kit {
namespace {

int report(const std::string& message) {
    return report_failure("vilora-kit make-data", message);
}

// `directory`, made with its parents where missing; false with the cause.
bool made_directory(const std::string& directory, std::string& failure) {
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (!error) return true;
    failure = directory + ": cannot be made: " + error.message();
    return false;
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
    std::string failure;
    if (!directory.empty()) {
        if (!made_directory(directory, failure)) return report(failure);
        for (const std::string& name : names) {
            if (!only.empty() && name != only) continue;
            const std::vector<uint8_t> bytes = data::make_data_file(name, letters);
            const std::string path = (std::filesystem::path(directory) / name).string();
            if (!write_whole_file(path, bytes.data(), bytes.size(), failure))
                return report(failure);
        }
    }
    if (!preview.empty()) {
        if (!made_directory(preview, failure)) return report(failure);
        if (!data::write_previews(preview, letters, failure)) return report(failure);
    }
    if (!icons.empty() && !data::write_icons(icons, letters, failure)) return report(failure);
    return 0;
}

} // namespace vilora::kit
