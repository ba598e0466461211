// The commands of vilora-kit. Each takes the arguments after its own name and
// returns the program's exit status.
#pragma once

namespace vilora::kit {

struct command {
    const char* name;
    const char* summary;
    int (*run)(int argc, char** argv);
};

int lib_command(int argc, char** argv);
// vilora-kit scene FILE.3ds [--frame F] [--json]
int scene_command(int argc, char** argv);
int picture_command(int argc, char** argv);
int music_command(int argc, char** argv);
// vilora-kit make-data DIR [--only NAME] | --list | --preview DIR | --icons DIR
int make_data_command(int argc, char** argv);

} // namespace vilora::kit
