// Contact sheets of the default data: for every part a PNG of the pictures it
// loads, decoded by the engine's decoders for a 5-6-5 screen, each labelled
// with its name, size and format; transparent pixels of keyed pictures and
// the alpha of PSD pictures shown over a checkerboard.
#pragma once

#include "kit/art/lettering.h"
#include "kit/content/data_set.h"

#include <string>

namespace vilora::kit::data {

// Writes DIR/<part>.png for each part; false, with what failed in `failure`,
// when one cannot be made or written.
bool write_previews(const std::string& directory, const art::lettering& letters,
                    std::string& failure);

} // namespace vilora::kit::data
