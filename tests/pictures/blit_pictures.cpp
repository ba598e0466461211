#include "tests/pictures/blit_pictures.h"

#include "engine/engine.h"
#include "pictures/internal/blend_spans.h"
#include "platform/display/display_device.h"
#include "tests/pictures/picture_bytes.h"

namespace vilora::testing {

blit_screen::blit_screen(int depth, int lines, high_colour_layout layout)
    : screen(320, lines, depth, layout) {
    if (lines == 240) screen.display.clip = {0, 20, 320, 220};
}

int32_t blit_screen::add_picture(int32_t width, int32_t height, bool keyed, bool alpha) {
    const int32_t row_bytes = (width * 3 + 3) & ~3;
    const auto name = (dir / ("p" + std::to_string(list.picture_count()) + ".bmp")).string();
    write_bytes(name, bmp_bytes({width,
                                 height,
                                 24,
                                 0,
                                 40,
                                 {},
                                 std::vector<uint8_t>(static_cast<size_t>(row_bytes * height))}));
    const int32_t index = list.add_picture(&screen.display, name.c_str(), 0, keyed ? 1 : 0);
    if (index >= 0 && alpha) picture(index).attach_alpha_map();
    return index;
}

void blit_screen::use_masks(uint32_t red, uint32_t green, uint32_t blue) {
    format_record record = screen.display.format->record;
    record.red_mask = red;
    record.green_mask = green;
    record.blue_mask = blue;
    screen.display.format->read(record);
}

std::vector<uint8_t> surface_bytes(surface& target) {
    target.lock();
    const auto row_bytes = static_cast<size_t>(target.width * target.bytes_per_pixel());
    std::vector<uint8_t> bytes;
    for (int32_t y = 0; y < target.height; ++y) {
        const uint8_t* row = target.pixels + static_cast<ptrdiff_t>(y) * target.pitch;
        bytes.insert(bytes.end(), row, row + row_bytes);
    }
    target.unlock();
    return bytes;
}

std::vector<uint32_t> pixel_values(surface& target) {
    const std::vector<uint8_t> bytes = surface_bytes(target);
    const auto size = static_cast<size_t>(target.bytes_per_pixel());
    std::vector<uint32_t> values(bytes.size() / size, 0);
    for (size_t i = 0; i < values.size(); ++i)
        for (size_t k = 0; k < size; ++k) values[i] |= uint32_t{bytes[i * size + k]} << (8 * k);
    return values;
}

void set_pixel_values(surface& target, const std::vector<uint32_t>& values) {
    target.lock();
    const int size = target.bytes_per_pixel();
    for (int32_t y = 0; y < target.height; ++y)
        for (int32_t x = 0; x < target.width; ++x)
            for (int k = 0; k < size; ++k)
                target.pixels[static_cast<ptrdiff_t>(y) * target.pitch + x * size + k] =
                    static_cast<uint8_t>(values[static_cast<size_t>(y * target.width + x)] >>
                                         (8 * k));
    target.unlock();
}

void fill_random(surface& target, std::mt19937& random) {
    std::vector<uint32_t> values(static_cast<size_t>(target.width * target.height));
    // 16-bit pixels keep to the channels: on 5-5-5 screens bit 15 is no colour.
    const pixel_format* format = target.owner ? target.owner->format.get() : nullptr;
    const uint32_t mask = format && format->bits_per_pixel == 16
                              ? format->red_mask | format->green_mask | format->blue_mask
                              : 0xFFFFFFFF;
    for (uint32_t& v : values) v = static_cast<uint32_t>(random()) & mask;
    set_pixel_values(target, values);
}

void fill_random_alpha(surface& target, std::mt19937& random) {
    const auto count = static_cast<size_t>(target.width) * static_cast<size_t>(target.height);
    for (size_t i = 0; i < count; i += 4) {
        const uint32_t kind = random() % 4;
        for (size_t k = i; k < i + 4 && k < count; ++k) {
            const uint32_t mixed = random() % 4 == 0 ? (random() % 2) * 255 : random() % 256;
            target.alpha_map[k] = static_cast<uint8_t>(kind == 0 ? 0 : kind == 1 ? 255 : mixed);
        }
    }
}

path_scope::path_scope() : mmx_(processor.cpu_has_mmx) {}

path_scope::~path_scope() {
    processor.cpu_has_mmx = mmx_;
    force_span_impl(span_impl::fast);
}

} // namespace vilora::testing
