#include "parts/displacement_pass.h"

#include "parts/part_pixels.h"
#include "pictures/picture_list.h"

namespace vilora {

namespace {

// The sample index for screen index `index`: the float sum truncates toward zero.
int32_t sample_index(int32_t index, float offset) {
    return static_cast<int32_t>(static_cast<float>(index) + offset);
}

} // namespace

displacement displacement_of(const picture_list& maps, int32_t row_map, int32_t column_map,
                             const displacement_motion& motion) {
    displacement pass;
    pass.row_map = maps.picture_surface(row_map);
    pass.row_map_at = {motion.row_map_row.value,
                       motion.row_map_column_scale * motion.row_map_column.value};
    pass.column_map = maps.picture_surface(column_map);
    pass.column_map_at = {motion.column_map_row.value, motion.column_map_column.value};
    pass.source = maps.picture_surface(2);
    return pass;
}

void run_displacement(display_device* display, const displacement& pass, int32_t x, int32_t y) {
    const pixel_format& format = *display->format;
    const locked_pixels back(display->back.get());
    const locked_pixels row_map(pass.row_map);
    const locked_pixels column_map(pass.column_map);
    const locked_pixels source(pass.source);
    if (!back.ok() || !row_map.ok() || !column_map.ok() || !source.ok()) return;

    for (int32_t i = pass.first_column; i <= pass.last_column; ++i) {
        const int32_t row_map_column = sample_index(i, pass.row_map_at.column_offset);
        const int32_t column_map_column = sample_index(i, pass.column_map_at.column_offset);
        const locked_pixels& taken =
            pass.window_left < i && i < pass.window_right ? column_map : source;
        for (int32_t j = pass.first_row; j <= pass.last_row; ++j) {
            const uint16_t row_shift =
                row_map.read_clamped(sample_index(j, pass.row_map_at.row_offset), row_map_column);
            const uint16_t column_shift = column_map.read_clamped(
                sample_index(j, pass.column_map_at.row_offset), column_map_column);
            int32_t source_row = red_of(format, row_shift) + j;
            if (source_row > 149) source_row %= 150;
            int32_t source_column = red_of(format, column_shift) + i;
            if (source_column > 319) source_column %= 320;
            back.write(y + j, x + i, taken.read_clamped(source_row, source_column));
        }
    }
}

} // namespace vilora
