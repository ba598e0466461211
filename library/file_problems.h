// What went wrong reading a data file, in words: the file and the cause
// ("data/hedge.3ds", "bad chunk at offset 1234"). The readers keep their own
// result codes; beside them they note the first problem here, and whoever
// reports the failure to the user takes it. One record for the whole program:
// data files are read on one thread at a time.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vilora {

struct file_problem {
    std::string file;
    std::string cause;
};

// Keeps the first problem noted since the last take; later ones are effects
// of it or of the same input.
void note_file_problem(const std::string& file, const std::string& cause);

// The problem noted since the last take, and forgets it.
std::optional<file_problem> take_file_problem();

// Data a reader had to leave out while the show can still play without it
// (a scene's keyframer section that does not read): noted where it happens,
// said once by whoever starts the show. The cause says what was left out.
void note_skipped_data(const std::string& file, const std::string& cause);

// What was noted as skipped since the last take, in order, and forgets it.
std::vector<file_problem> take_skipped_data();

} // namespace vilora
