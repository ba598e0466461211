#include "driver/schedule.h"

#include "engine/engine.h"

namespace vilora {

namespace {
constexpr part_call shuffle_table[15] = {
    {part_id::otitulek, 5}, {part_id::otitulek, 2}, {part_id::otitulek, 4}, {part_id::obw, 0},
    {part_id::oneco4, 0},   {part_id::obw, 1},      {part_id::oskred0, 0},  {part_id::ogreety, 0},
    {part_id::ogreety, 1},  {part_id::oneco2, 0},   {part_id::oneco3, 0},   {part_id::odistort, 0},
    {part_id::oneco0, 0},   {part_id::houp, 0},     {part_id::pinkous, 0},
};

// The credits: modes 2, 3, 4 in the first 96 rows of orders 23, 24, 25 and
// 5, 6, 7 from row 96 on.
part_call credits(uint16_t order, uint16_t row) {
    const int step = order - 23;
    return {part_id::oskred0, (row < 96 ? 2 : 5) + step};
}
} // namespace

part_call shuffle_entry(int k) {
    return shuffle_table[k];
}

part_call finale_hold::hold(part_call drawn) {
    if (frames_shown_ == 0 || frames_shown_ >= calm_hold_frames) {
        shown_ = drawn;
        frames_shown_ = 0;
    }
    ++frames_shown_;
    return shown_;
}

std::vector<part_call> scheduled_calls(uint16_t order, uint16_t row, uint8_t variant,
                                       bool in_test_mode, finale_hold* calm) {
    if (in_test_mode) return {{part_id::oneco1, 0}};
    if (order == 0) return {{part_id::otitulek, variant != 0 ? 2 : 5}};
    if (order <= 8) return {{part_id::otitulek, 4}};
    if (order <= 16) return {{part_id::obw, 0}};
    if (order <= 19) return {{part_id::oneco4, 0}};
    if (order <= 22) return {{part_id::obw, 1}};
    if (order <= 25) return {credits(order, row)};
    if (order <= 28) {
        switch (variant) {
        case 0:
            return {{part_id::ogreety, 0}};
        case 1:
            return {{part_id::ogreety, 1}};
        case 2:
            return {{part_id::oneco2, 0}};
        default:
            return {};
        }
    }
    if (order <= 36) return {{part_id::oneco3, 0}};
    if (order <= 40) return {{part_id::odistort, 0}};
    if (order <= 46) return {{part_id::oneco0, 0}};
    if (order <= 50) return {{part_id::houp, 0}};
    if (order <= 54) return {{part_id::pinkous, 0}};
    if (order <= 61) return {{part_id::oland, 0}};
    if (order <= 66) {
        const part_call drawn = shuffle_entry(random_int(15));
        return {calm ? calm->hold(drawn) : drawn, {part_id::obw, 2}};
    }
    return {};
}

} // namespace vilora
