// The default data set: what `vilora-kit make-data` writes, and which part
// reads which picture, so that the previews and the tests follow the show.
#pragma once

#include "kit/art/lettering.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vilora::kit::data {

struct named_bytes {
    std::string name;
    std::vector<uint8_t> bytes;
};

// The pictures of each library file, under the names the parts ask for.
std::vector<named_bytes> dtroid_pictures(const art::lettering& letters);
std::vector<named_bytes> robot1_pictures(const art::lettering& letters);
std::vector<named_bytes> uganda4_pictures(const art::lettering& letters);

// The files of the data set, in the order they are made.
const std::vector<std::string>& data_file_names();
// The bytes of one of them; empty for a name not in the set.
std::vector<uint8_t> make_data_file(const std::string& name, const art::lettering& letters);

// A picture as a part loads it.
struct picture_use {
    std::string library; // "dtroid.782", ...
    std::string name;
    bool keyed = false;
    bool psd = false;
};

struct part_use {
    std::string part;
    std::vector<picture_use> pictures;
    std::string scene; // "" for picture parts
};

// The thirteen parts in construction order.
const std::vector<part_use>& part_uses();

} // namespace vilora::kit::data
