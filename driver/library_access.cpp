#include "driver/engine.h"

#include "library/library_file.h"

namespace vilora {

// The engine opens archives whatever their title. Once one has opened,
// pictures come from the library only, even if a later open fails.
bool open_library(const char* file_name) {
    if (!engine_library().open(file_name, true)) return false;
    library_open = true;
    return true;
}

} // namespace vilora
