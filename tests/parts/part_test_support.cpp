#include "tests/parts/part_test_support.h"

#include "engine/engine.h"
#include "kit/formats/library_writer.h"
#include "library/library_file.h"
#include "parts/obw.h"
#include "parts/oneco2.h"
#include "parts/oneco3.h"
#include "parts/pinkous.h"
#include "tests/pictures/picture_bytes.h"

namespace vilora::testing {

std::vector<uint8_t> blank_bmp(int32_t width, int32_t height) {
    bmp_spec spec{width, height, 24, 0, 40, {}, {}};
    spec.pixels.assign(static_cast<size_t>((width * 3 + 3) / 4 * 4 * height), 0);
    return bmp_bytes(spec);
}

pixel_grid grid_of(surface& target) {
    pixel_grid grid{target.width, target.height, {}};
    grid.values.reserve(static_cast<size_t>(target.width) * static_cast<size_t>(target.height));
    EXPECT_EQ(target.lock(), 0);
    for (int32_t row = 0; row < target.height; ++row) {
        const auto* line = reinterpret_cast<const uint16_t*>(target.pixels + row * target.pitch);
        grid.values.insert(grid.values.end(), line, line + target.width);
    }
    target.unlock();
    return grid;
}

void fill_surface(surface& target, const std::function<uint16_t(int32_t, int32_t)>& value) {
    ASSERT_EQ(target.lock(), 0);
    for (int32_t row = 0; row < target.height; ++row) {
        auto* line = reinterpret_cast<uint16_t*>(target.pixels + row * target.pitch);
        for (int32_t column = 0; column < target.width; ++column) line[column] = value(row, column);
    }
    target.unlock();
}

part_test::part_test() {
    set_screen(&screen.display, 320, 240);
    seed_random(2024);
    obw::reset_statics();
    oneco2::reset_statics();
    oneco3::reset_statics();
    pinkous::reset_statics();
    close_library();
}

part_test::~part_test() {
    close_library();
    leave_screen();
}

std::string part_test::write_archive(const std::string& file_name,
                                     const std::vector<blank_picture>& pictures) {
    kit::library_writer writer;
    for (const blank_picture& p : pictures)
        EXPECT_TRUE(writer.add_member(p.name, blank_bmp(p.width, p.height))) << p.name;
    const std::string path = (dir / file_name).string();
    EXPECT_TRUE(writer.write(path)) << writer.error();
    return path;
}

void part_test::open_pictures(const std::vector<blank_picture>& pictures) {
    ASSERT_TRUE(open_library(write_archive("pictures.782", pictures).c_str()));
}

uint16_t displaced_pixel(const pixel_grid& row_map, map_offsets row_map_at,
                         const pixel_grid& column_map, map_offsets column_map_at,
                         const pixel_grid& source, int32_t i, int32_t j, bool window) {
    const auto index = [](int32_t n, float offset) { return static_cast<int32_t>(n + offset); };
    const uint16_t row_shift =
        row_map.at(index(j, row_map_at.row_offset), index(i, row_map_at.column_offset));
    const uint16_t column_shift =
        column_map.at(index(j, column_map_at.row_offset), index(i, column_map_at.column_offset));
    int32_t source_row = red_565(row_shift) + j;
    if (source_row >= 150) source_row -= 150 * (source_row / 150);
    int32_t source_column = red_565(column_shift) + i;
    if (source_column >= 320) source_column -= 320 * (source_column / 320);
    return (window ? column_map : source).at(source_row, source_column);
}

} // namespace vilora::testing
