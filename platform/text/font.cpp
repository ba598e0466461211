// Fonts: faces found by name (internal/face_match.h), sized to the character
// cell and rendered by FreeType as 1-bit masks. Everything that knows FreeType
// is here.
#include "platform/text/internal/face_match.h"
#include "platform/text/internal/font_glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vilora {

struct font_face {
    font handle;
    FT_Face face = nullptr;
    std::array<std::optional<glyph_image>, 256> glyphs;

    font_face() = default;
    font_face(const font_face&) = delete;
    font_face& operator=(const font_face&) = delete;
    ~font_face() {
        if (face) FT_Done_Face(face);
    }
};

namespace {

// Fonts are never deleted by their users; they go with the program, before the
// rasteriser they were made by.
struct font_system {
    FT_Library library = nullptr;
    bool library_failed = false;
    std::vector<std::unique_ptr<font_face>> faces;

    ~font_system() {
        faces.clear();
        if (library) FT_Done_FreeType(library);
    }
};

font_system& fonts() {
    static font_system system;
    return system;
}

FT_Library rasteriser() {
    font_system& system = fonts();
    if (!system.library && !system.library_failed)
        system.library_failed = FT_Init_FreeType(&system.library) != 0;
    return system.library;
}

// Longest cell side taken, in pixels.
constexpr int32_t max_cell_side = 4096;

// The cell height of the face the default context font uses.
constexpr int32_t default_cell_height = 16;

// Average character width in font units: the face's own figure where it has
// one, else the advance of "x".
double average_width_units(FT_Face face) {
    const auto* metrics = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (metrics && metrics->xAvgCharWidth > 0) return metrics->xAvgCharWidth;
    if (FT_Load_Char(face, 'x', FT_LOAD_NO_SCALE) == 0 && face->glyph->metrics.horiAdvance > 0)
        return static_cast<double>(face->glyph->metrics.horiAdvance);
    return face->units_per_EM / 2.0;
}

// Scales the face so that ascent plus descent fill the cell height and, when a
// width is given, the average character is that wide; width 0 keeps the face's
// proportions. Sizes are 26.6 points at 72 dpi, i.e. 1/64 pixel.
bool size_face(FT_Face face, int32_t width, int32_t height, int32_t& ascent) {
    const double cell_units = static_cast<double>(face->ascender) - face->descender;
    if (!FT_IS_SCALABLE(face) || cell_units <= 0) return false;
    const double em_height = height * face->units_per_EM / cell_units;
    const double em_width =
        width > 0 ? width * face->units_per_EM / average_width_units(face) : em_height;
    if (FT_Set_Char_Size(face, std::lround(em_width * 64), std::lround(em_height * 64), 72, 72))
        return false;
    ascent = static_cast<int32_t>(std::lround(height * face->ascender / cell_units));
    return true;
}

std::unique_ptr<font_face> load_font(const char* face_name, int32_t width, int32_t height,
                                     std::string& error) {
    if (width < 0 || width > max_cell_side || height <= 0 || height > max_cell_side) {
        error = "the character cell is not a usable size";
        return nullptr;
    }
    FT_Library library = rasteriser();
    if (!library) {
        error = "the font rasteriser cannot be started";
        return nullptr;
    }
    std::optional<face_file> file = match_face(face_name, error);
    if (!file) return nullptr;
    auto loaded = std::make_unique<font_face>();
    if (FT_New_Face(library, file->path.c_str(), file->index, &loaded->face) != 0) {
        loaded->face = nullptr;
        error = "the face file " + file->path + " cannot be read";
        return nullptr;
    }
    font& handle = loaded->handle;
    if (!size_face(loaded->face, width, height, handle.ascent)) {
        error = "the face in " + file->path + " cannot be scaled";
        return nullptr;
    }
    handle.face_name = face_name ? face_name : "";
    handle.file = file->path;
    handle.width = width;
    handle.height = height;
    handle.face = loaded.get();
    return loaded;
}

font* keep(std::unique_ptr<font_face> loaded) {
    font* handle = &loaded->handle;
    fonts().faces.push_back(std::move(loaded));
    return handle;
}

// Windows-1252 characters 0x80..0x9F; the codes it leaves undefined stay as they are.
constexpr std::array<uint16_t, 32> ansi_high = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

uint32_t unicode_of_ansi(uint8_t code) {
    return code >= 0x80 && code < 0xA0 ? ansi_high[code - 0x80u] : code;
}

glyph_image render_glyph(FT_Face face, uint8_t code) {
    glyph_image glyph;
    const FT_Int32 load = FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_NO_BITMAP;
    if (FT_Load_Char(face, unicode_of_ansi(code), load) != 0) return glyph;
    const FT_GlyphSlot slot = face->glyph;
    glyph.advance = static_cast<int32_t>((slot->advance.x + 32) >> 6);
    const FT_Bitmap& bitmap = slot->bitmap;
    // FreeType's own renderer stores rows top to bottom (a positive pitch).
    if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO || bitmap.rows == 0 || bitmap.width == 0 ||
        bitmap.pitch <= 0)
        return glyph;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int32_t>(bitmap.width);
    glyph.rows = static_cast<int32_t>(bitmap.rows);
    glyph.pitch = (glyph.width + 7) / 8;
    glyph.bits.resize(static_cast<size_t>(glyph.pitch) * bitmap.rows);
    for (int32_t row = 0; row < glyph.rows; ++row)
        std::copy_n(bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch, glyph.pitch,
                    glyph.bits.begin() + static_cast<ptrdiff_t>(row) * glyph.pitch);
    return glyph;
}

} // namespace

font* create_font(const char* face_name, int32_t width, int32_t height) {
    std::string error;
    std::unique_ptr<font_face> loaded = load_font(face_name, width, height, error);
    if (!loaded) {
        std::fprintf(stderr, "vilora: no font for \"%s\" (%d x %d): %s\n",
                     face_name ? face_name : "", width, height, error.c_str());
        return nullptr;
    }
    return keep(std::move(loaded));
}

const font* default_font() {
    static const font* standard = create_font("sans-serif", 0, default_cell_height);
    return standard;
}

const glyph_image& font_glyph(const font& text_font, uint8_t code) {
    std::optional<glyph_image>& slot = text_font.face->glyphs[code];
    if (!slot) slot = render_glyph(text_font.face->face, code);
    return *slot;
}

} // namespace vilora
