// Arbitrary bytes as a BMP file, decoded for every screen depth (colour-keyed
// and not): nothing may be read or written out of bounds, and a decode that
// succeeds leaves a surface of the size the header gives.
#include "fuzz/fuzz_screens.h"
#include "pictures/picture_decoders.h"

#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vilora;
    const std::span<const uint8_t> bytes(data, size);
    for (fuzzing::fuzz_screen& screen : fuzzing::fuzz_screens()) {
        for (int32_t keyed : {0, 1}) {
            surface picture;
            if (decode_bmp(picture, &screen.display, picture_surface_kind, bytes, keyed) !=
                decode_ok)
                continue;
            if (!picture.platform || picture.width <= 0 || picture.height <= 0 ||
                int64_t{picture.width} * picture.height > max_picture_pixels)
                std::abort();
        }
    }
    return 0;
}
