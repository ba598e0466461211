// The pictures of an effect part: off-screen surfaces in the screen's pixel
// format, loaded once from BMP and PSD files (from the open library, or from
// plain files when none is open) and addressed by index in order of adding.
#pragma once

#include "platform/display/surface.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vilora {

class display_device;
struct rotated_edge_tables;

struct picture_item {
    surface* picture = nullptr; // owned by the list
    // The source rectangle: always the whole surface (0, 0, width, height).
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

class picture_list {
public:
    picture_list();
    // Deletes the surfaces from the last added to the first.
    virtual ~picture_list();
    picture_list(const picture_list&) = delete;
    picture_list& operator=(const picture_list&) = delete;

    // Adds a BMP picture; returns its index, or -1 (and nothing is added). Its
    // colour key is black; `colour_keyed` (bit 0) says whether copies honour it.
    // `reserved` is ignored. With a library open the name is looked up there only.
    int32_t add_picture(display_device* display, const char* file_name, int32_t reserved,
                        int32_t colour_keyed);
    // Adds the pictures named by the pattern (printf-style, one integer
    // conversion) with 0 .. count-1. Returns the first one's index; -1 when a
    // name does not fit 255 characters, a picture fails (those before it stay)
    // or count is below 1.
    int32_t add_picture_sequence(display_device* display, const char* pattern, int32_t count,
                                 int32_t reserved, int32_t colour_keyed);
    // Adds a PSD picture with its alpha map; never colour-keyed.
    int32_t add_psd_picture(display_device* display, const char* file_name);

    // The surface of picture `index`; null for an index outside the list.
    surface* picture_surface(int32_t index) const;
    int32_t picture_count() const { return count_; }
    // Rows the rotated blit's edge tables hold: they grow to the deepest clip
    // a picture of the list was turned into, and stay.
    int32_t edge_table_rows() const;

    // Copies picture `index` whole to (x, y) of the destination, cut by the
    // clip rectangle of the picture's surface (the picture area), honouring the
    // colour key when the picture is colour-keyed.
    void draw_picture(surface* destination, int32_t x, int32_t y, int32_t index) const;
    // Draws picture `index` turned by `angle` degrees (clockwise on the screen, pi
    // taken as 3.14) and scaled by `scale` about (centre_x, centre_y), sampling
    // the nearest pixel; keyed pictures leave black out.
    void draw_picture_rotated(surface* destination, int32_t centre_x, int32_t centre_y,
                              int32_t index, int32_t angle, float scale) const;
    // Moves every covered destination pixel towards the picture by level / 256
    // (level 0..255).
    void draw_picture_faded(surface* destination, int32_t x, int32_t y, int32_t index,
                            int32_t level) const;
    // Blends the picture by its per-pixel alpha map (PSD pictures only).
    void draw_picture_alpha(surface* destination, int32_t x, int32_t y, int32_t index) const;

private:
    int32_t append(std::unique_ptr<surface> picture);

    std::vector<std::unique_ptr<surface>> surfaces_;
    std::vector<picture_item> items_;
    int32_t count_ = 0;
    // The rotated blit's scratch, made on its first call.
    mutable std::unique_ptr<rotated_edge_tables> edge_tables_;
};

// True when the file can be opened for reading; a directory or a device in
// its place cannot be read as one and does not count.
bool file_exists(const char* file_name);

} // namespace vilora
