// Arbitrary bytes as a PSD file, decoded for every screen depth: nothing may
// be read or written out of bounds, and a decode that succeeds leaves a
// surface of the header's size with an alpha map of that size.
#include "fuzz/fuzz_screens.h"
#include "pictures/picture_decoders.h"

#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vilora;
    const std::span<const uint8_t> bytes(data, size);
    for (fuzzing::fuzz_screen& screen : fuzzing::fuzz_screens()) {
        surface picture;
        if (decode_psd(picture, &screen.display, picture_surface_kind, bytes, 1) != decode_ok)
            continue;
        if (!picture.platform || !picture.alpha_map || picture.width <= 0 || picture.height <= 0 ||
            int64_t{picture.width} * picture.height > max_picture_pixels)
            std::abort();
        // The whole alpha map is readable.
        volatile uint8_t last = picture.alpha_map[static_cast<size_t>(picture.width) *
                                                      static_cast<size_t>(picture.height) -
                                                  1];
        (void)last;
    }
    return 0;
}
