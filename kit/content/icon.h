// The program's icon, made from the show's title picture (the first picture
// the title part loads) as the show decodes it for its default 5-6-5 screen:
// the middle square of the picture, as tall as the picture, scaled to the
// icon's size by averaging the area each icon pixel covers.
#pragma once

#include "kit/art/lettering.h"
#include "platform/hosts/host.h"

#include <string>

namespace vilora::kit::data {

// The sizes desktops ask for most, in pixels.
inline constexpr int icon_sizes[] = {48, 128, 256};

// The middle square of `picture` (its side the shorter of width and height)
// as a size x size picture. Each icon pixel is the mean of the picture area it
// covers, fractional pixels weighed by their share, so that shrinking keeps
// the mean colour and growing blends only across the seams between pixels.
rgb_frame square_icon(const rgb_frame& picture, int size);

// Writes DIR/NxN/apps/vilora.png for every size of icon_sizes, the layout of
// a desktop icon theme; false, with what failed in `failure`, when it cannot.
bool write_icons(const std::string& directory, const art::lettering& letters, std::string& failure);

} // namespace vilora::kit::data
