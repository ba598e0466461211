// F12: the frame on screen as PNG files for people to keep.
#pragma once

#include "platform/hosts/host.h"

#include <string>

namespace vilora {

// Writes the frame as vilora-NNNN.png and, scaled to 4:3 by `scale` whole
// pixels, as vilora-NNNN-WxH.png into `directory`, NNNN the first number
// (from 0001) that names no file there yet. The plain file's path, or empty
// when the pair could not be written whole, and then `failure` says why and
// neither file is left.
std::string write_screenshot(const std::string& directory, const rgb_frame& frame, int scale,
                             std::string& failure);

} // namespace vilora
