#include "platform/display/internal/pixel_paths.h"

namespace vilora {

namespace {
pixel_path path_in_use = pixel_path::fast;

bool processor_has_avx2() {
#if defined(__x86_64__)
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
#else
    return false;
#endif
}
} // namespace

void force_pixel_path(pixel_path path) {
    path_in_use = path;
}

pixel_path current_pixel_path() {
    return path_in_use;
}

bool wide_pixel_path() {
    return path_in_use == pixel_path::fast && processor_has_avx2();
}

bool native_pixel_path() {
#if defined(__x86_64__)
    return path_in_use != pixel_path::reference;
#else
    return false;
#endif
}

} // namespace vilora
