#include "kit/content/preview.h"

#include "pictures/picture_decoders.h"
#include "platform/display/frame_conversion.h"
#include "platform/display/surface.h"
#include "platform/hosts/image_files.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace vilora::kit::data {
namespace {

constexpr int sheet_width = 680;
constexpr int margin = 10;
constexpr int label_height = 14;

struct sheet {
    int width = sheet_width, height = 0;
    std::vector<uint32_t> pixels;

    void grow(int rows) {
        height = rows;
        pixels.resize(static_cast<size_t>(width) * height, 0xFF202020);
    }
    void put(int x, int y, uint32_t argb) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            pixels[static_cast<size_t>(y) * width + x] = argb;
    }
};

uint32_t be32(const std::vector<uint8_t>& b, size_t at) {
    return at + 4 <= b.size()
               ? static_cast<uint32_t>(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3]
               : 0;
}

std::string describe(const std::vector<uint8_t>& bytes) {
    if (bytes.size() >= 30 && bytes[0] == '8' && bytes[1] == 'B') {
        // Past the colour-mode data, the resources and the layers to the compression.
        size_t at = 26;
        for (int section = 0; section < 3; ++section) at += 4 + be32(bytes, at);
        const bool packed = at + 1 < bytes.size() && bytes[at + 1] == 1;
        return std::string(bytes[13] == 4 ? "PSD RGBA" : "PSD RGB") +
               (packed ? " PackBits" : " raw");
    }
    if (bytes.size() < 34) return "?";
    const int bits = bytes[28];
    return bits == 24 ? "BMP 24-bit" : bytes[30] == 1 ? "BMP 8-bit RLE8" : "BMP 8-bit";
}

// The decoded picture as the screen shows it, with the checkerboard where it
// is transparent.
bool draw_picture(sheet& out, int left, int top, const surface& picture, bool keyed) {
    const rgb_frame frame = frame_from_surface(*picture.platform);
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            const size_t i = static_cast<size_t>(y) * frame.width + x;
            const uint32_t checker = ((x / 8 + y / 8) % 2) ? 0x505050 : 0x383838;
            uint32_t rgb = frame.pixels[i];
            if (keyed && rgb == 0) rgb = checker;
            if (picture.alpha_map) {
                const uint32_t a = picture.alpha_map[i];
                uint32_t mixed = 0;
                for (int shift = 0; shift < 24; shift += 8) {
                    const uint32_t c =
                        ((rgb >> shift & 0xFF) * a + (checker >> shift & 0xFF) * (255 - a)) / 255;
                    mixed |= c << shift;
                }
                rgb = mixed;
            }
            out.put(left + x, top + y, 0xFF000000 | rgb);
        }
    return true;
}

void draw_label(sheet& out, int left, int top, const art::lettering& letters,
                const std::string& text) {
    const art::mask m = letters.text(text, 6, 11);
    for (int y = 0; y < m.height(); ++y)
        for (int x = 0; x < m.width(); ++x)
            if (m.at(x, y) > 0) out.put(left + x, top + y, 0xFFE0E0E0);
}

bool sheet_of(const part_use& part, const std::map<std::string, std::vector<uint8_t>>& files,
              const art::lettering& letters, const std::string& path, std::string& failure) {
    sheet out;
    int x = margin, y = margin + 2 * label_height, row_height = 0;
    struct placed {
        int x, y;
        const picture_use* use;
    };
    std::vector<placed> places;
    std::vector<std::unique_ptr<surface>> pictures;
    for (const picture_use& use : part.pictures) {
        auto found = files.find(use.library + "/" + use.name);
        if (found == files.end()) {
            failure = "preview: " + part.part + " has no " + use.name;
            return false;
        }
        auto picture = std::make_unique<surface>();
        const int code = use.psd ? decode_psd(*picture, &letters.display(), picture_surface_kind,
                                              found->second, 1)
                                 : decode_bmp(*picture, &letters.display(), picture_surface_kind,
                                              found->second, use.keyed);
        if (code != decode_ok) {
            failure = "preview: " + use.name + " does not decode (" + std::to_string(code) + ")";
            return false;
        }
        if (x + picture->width > sheet_width - margin && x > margin) {
            x = margin;
            y += row_height + label_height + margin;
            row_height = 0;
        }
        places.push_back({x, y, &use});
        x += std::max(picture->width, 120) + margin;
        row_height = std::max(row_height, picture->height);
        pictures.push_back(std::move(picture));
    }
    out.grow(y + row_height + label_height + margin);
    draw_label(out, margin, margin, letters,
               part.part + (part.scene.empty() ? "" : "   scene " + part.scene));
    for (size_t i = 0; i < places.size(); ++i) {
        const picture_use& use = *places[i].use;
        draw_picture(out, places[i].x, places[i].y, *pictures[i], use.keyed);
        const surface& p = *pictures[i];
        draw_label(out, places[i].x, places[i].y + p.height + 1, letters,
                   use.name + " " + std::to_string(p.width) + "x" + std::to_string(p.height) + " " +
                       describe(files.at(use.library + "/" + use.name)) +
                       (use.keyed ? " keyed" : ""));
    }
    return write_png_rgba(path, out.width, out.height, out.pixels, failure);
}

} // namespace

bool write_previews(const std::string& directory, const art::lettering& letters,
                    std::string& failure) {
    std::map<std::string, std::vector<uint8_t>> files;
    const std::pair<const char*, decltype(&dtroid_pictures)> libraries[] = {
        {"dtroid.782", dtroid_pictures},
        {"robot1.782", robot1_pictures},
        {"uganda4.782", uganda4_pictures}};
    for (const auto& [library, make] : libraries)
        for (named_bytes& p : make(letters))
            files[std::string(library) + "/" + p.name] = std::move(p.bytes);
    for (const part_use& part : part_uses())
        if (!sheet_of(part, files, letters, directory + "/" + part.part + ".png", failure))
            return false;
    return true;
}

} // namespace vilora::kit::data
