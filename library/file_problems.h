// What went wrong reading a data file, in words: the file and the cause
// ("data/hedge.3ds", "bad chunk at offset 1234"). The readers keep their own
// result codes; beside them they note the first problem here, and whoever
// reports the failure to the user takes it. One record for the whole program:
// data files are read on the main thread only.
#pragma once

#include <optional>
#include <string>

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

} // namespace vilora
