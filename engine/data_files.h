// Where the show's data lies. Names are given as the show spells them
// ("data\muska.xm"); they are looked up in the data directory, matching file
// names without regard to letter case, since copies from other systems come in
// any case.
#pragma once

#include <string>

namespace vilora {

// The directory `--data` names, else "data" beside the executable, else "data"
// in the current directory, else the installed data, "../share/vilora/data"
// from the executable's folder. When none is there, "data", whose files then
// fail to open with their names.
void set_data_directory(const std::string& directory);
std::string choose_data_directory(const std::string& executable_path);
const std::string& data_directory();

// The path of a data file: "data\hedge.3ds" or "data/HEDGE.3DS" -> the file in
// the data directory whose name matches. When none matches, the path it would
// have, so that opening it fails as for any missing file.
std::string data_file(const char* name);

} // namespace vilora
