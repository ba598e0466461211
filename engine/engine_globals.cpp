#include "engine/engine.h"

#include "library/library_file.h"

namespace vilora {

// Statics of one file initialise in order of definition: the processor is
// checked before the reader is constructed.
processor_state processor{detect_mmx()};

namespace {
library_file the_library;
bool library_is_open = false;
} // namespace

library_file& engine_library() {
    return the_library;
}

bool library_open() {
    return library_is_open;
}

// The engine opens archives whatever their title. Once one has opened,
// pictures come from the library only, even if a later open fails.
bool open_library(const char* file_name) {
    if (!the_library.open(file_name, true)) return false;
    library_is_open = true;
    return true;
}

void close_library() {
    the_library.close();
    library_is_open = false;
}

} // namespace vilora
