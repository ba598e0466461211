// What the picture generators share: writing a canvas in each BMP form, the
// finishing touches of the show's look (vignette, scan lines, grain) and
// captions in the engine's lettering with glow and shadow.
#pragma once

#include "kit/art/image.h"
#include "kit/art/lettering.h"
#include "kit/art/noise.h"

#include <string>

namespace vilora::kit::data {

using art::colour;
using art::hex;
using art::image;
using art::mask;
using art::ramp;

inline constexpr float pi = 3.14159265358979f;

// BMP forms: 24-bit dithered for 5-6-5, 8-bit palettised, 8-bit RLE8.
std::vector<uint8_t> as_bmp24(const image& canvas, bool keyed = false);
std::vector<uint8_t> as_bmp8(const image& canvas, bool keyed = false, int colours = 256);
std::vector<uint8_t> as_rle8(const image& canvas, bool keyed = false, int colours = 256);

// Darkens towards the corners by up to `strength`.
void vignette(image& canvas, float strength);
// Every other row darkened by `strength`.
void scanlines(image& canvas, float strength);
// Adds signed noise of `amount` per pixel.
void grain(image& canvas, uint32_t seed, float amount);
// `count` stars (single pixels and small crosses) of colour c.
void stars(image& canvas, uint32_t seed, int count, colour c);

struct caption_style {
    int cell_width = 12, cell_height = 12;
    colour fill{1, 1, 1};
    colour glow{0, 0, 0};
    int glow_radius = 0; // 0: no glow
    float glow_strength = 2;
    colour shadow{0, 0, 0};
    bool shadowed = false;
    bool opaque = true; // marks the lettering opaque in keyed pictures
};

// Draws the text with its top-left corner at (x, y); returns its width.
int caption(image& canvas, const art::lettering& letters, const std::string& text, int x, int y,
            const caption_style& style);
// The text's width in that cell, for centring.
int caption_width(const art::lettering& letters, const std::string& text, int cell_width,
                  int cell_height);

// A soft radial light of colour c and radius r added at (cx, cy).
void light(image& canvas, float cx, float cy, float r, colour c);

} // namespace vilora::kit::data
