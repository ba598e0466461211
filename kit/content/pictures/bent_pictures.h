// What pinkous and oneco3 bend, and the two maps that bend them.
//
// Both parts copy the source picture's pixel at (row j + red of the row map,
// column i + red of the column map), each read where the part's oscillators
// have moved it, rows modulo 150 and columns modulo 320. A 5-6-5 screen keeps
// red in steps of 8, so a field that rises smoothly from 0 to 24 over
// hundreds of pixels cuts the picture into a few broad bands shifted by 8, 16
// or 24 pixels, which travel as the oscillators move. The sources are big,
// bold, outlined shapes drawn on a torus (wrapped like the reads), centred 12
// pixels right of and below where they are to show, the mean shift.
//
// The maps are shared: "0.bmp" is pinkous's row map and oneco3's column map,
// "1.bmp" pinkous's column map and oneco3's row map. pinkous shows "1.bmp"
// itself in its travelling window, at the same bent coordinates as the
// source: its green and blue are an X-ray of pinkous's pig.
#pragma once

#include "kit/art/picture_kit.h"

#include <cstdint>
#include <vector>

namespace vilora::kit::data {

// pinkous's source, "hlavni.bmp": a pink pig in profile on a dark ground.
image pig_picture();
// "1.bmp": the smooth field in red, the pig's X-ray in green and blue.
std::vector<uint8_t> pig_xray_map();
// "0.bmp": a smooth field in red alone.
std::vector<uint8_t> plain_field_map();
// oneco3's source, "2.bmp": an emergency exit sign, a figure running out of a door.
image exit_sign_picture();

} // namespace vilora::kit::data
