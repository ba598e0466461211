#include "pictures/picture_list.h"

#include "engine/engine.h"
#include "library/file_problems.h"
#include "library/library_file.h"
#include "pictures/internal/rotated_edges.h"
#include "pictures/picture_decoders.h"

#include <cstdio>
#include <new>
#include <string>

namespace vilora {

namespace {
// Formatted names of a sequence must fit this buffer with their NUL.
constexpr size_t sequence_name_size = 256;

using decoder = int (*)(surface&, display_device*, int, std::span<const uint8_t>, int32_t);
using file_decoder = int (*)(surface&, display_device*, int, const char*, int32_t);

// A picture from the open library, which alone is searched while it is open,
// or from the file of that name. A decoder's refusal is noted with the file
// (and member) it came from.
std::unique_ptr<surface> load_picture(display_device* display, const char* file_name,
                                      decoder from_bytes, file_decoder from_file, int32_t flag) {
    std::unique_ptr<surface> picture(new (std::nothrow) surface);
    if (!picture || !file_name) return nullptr;
    int result;
    std::string source = file_name;
    if (library_open()) {
        library_file& library = engine_library();
        source = library.file_name();
        if (!library.entry_of(file_name)) {
            note_file_problem(source, std::string("no member named ") + file_name);
            return nullptr;
        }
        std::optional<std::vector<uint8_t>> bytes = library.load_member(file_name);
        if (!bytes) return nullptr;
        result = from_bytes(*picture, display, picture_surface_kind, *bytes, flag);
        source += std::string(", member ") + file_name;
    } else {
        result = from_file(*picture, display, picture_surface_kind, file_name, flag);
    }
    if (result != decode_ok && result != decode_file_unreadable)
        note_file_problem(source, decode_failure_text(result));
    return result == decode_ok ? std::move(picture) : nullptr;
}
} // namespace

picture_list::picture_list() = default;

picture_list::~picture_list() {
    while (!surfaces_.empty()) surfaces_.pop_back();
}

int32_t picture_list::append(std::unique_ptr<surface> picture) {
    const auto index = static_cast<int32_t>(surfaces_.size());
    items_.push_back({picture.get(), 0, 0, picture->width, picture->height});
    surfaces_.push_back(std::move(picture));
    ++count_;
    return index;
}

int32_t picture_list::add_picture(display_device* display, const char* file_name, int32_t,
                                  int32_t colour_keyed) {
    std::unique_ptr<surface> picture =
        load_picture(display, file_name, decode_bmp, decode_bmp_file, colour_keyed);
    if (!picture) return -1;
    // Black is 0 in every screen format the pixel format packs.
    picture->set_colour_key(0);
    if (colour_keyed & 1)
        picture->flags |= surface_colour_keyed;
    else
        picture->flags &= static_cast<uint8_t>(~surface_colour_keyed);
    return append(std::move(picture));
}

int32_t picture_list::add_picture_sequence(display_device* display, const char* pattern,
                                           int32_t count, int32_t reserved, int32_t colour_keyed) {
    if (count < 1 || !pattern) return -1;
    int32_t first = -1;
    for (int32_t i = 0; i < count; ++i) {
        char name[sequence_name_size];
        const int length = std::snprintf(name, sizeof name, pattern, i);
        if (length < 0 || static_cast<size_t>(length) >= sizeof name) return -1;
        const int32_t index = add_picture(display, name, reserved, colour_keyed);
        if (index < 0) return -1;
        if (i == 0) first = index;
    }
    return first;
}

int32_t picture_list::add_psd_picture(display_device* display, const char* file_name) {
    std::unique_ptr<surface> picture =
        load_picture(display, file_name, decode_psd, decode_psd_file, 1);
    if (!picture) return -1;
    return append(std::move(picture));
}

int32_t picture_list::edge_table_rows() const {
    return edge_tables_ ? edge_tables_->rows : 0;
}

surface* picture_list::picture_surface(int32_t index) const {
    if (index < 0 || index >= count_) return nullptr;
    return items_[static_cast<size_t>(index)].picture;
}

} // namespace vilora
