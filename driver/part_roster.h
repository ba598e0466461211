// The thirteen effect classes as the driver sees them: how to build one from
// the display and how to run it. A class that is not built into this program
// has no constructor; start-up then reports it as not initialised.
#pragma once

#include "parts/effect_part.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace vilora {

class display_device;

// In construction order.
enum class part_id : uint8_t {
    otitulek,
    oskred0,
    ogreety,
    oneco0,
    oneco1,
    oneco2,
    oneco3,
    oneco4,
    pinkous,
    odistort,
    obw,
    houp,
    oland,
};
inline constexpr int part_class_count = 13;

struct part_class {
    part_id id;
    const char* name;
    effect_part* (*construct)(display_device* display); // null: not in this program
    void (*run)(effect_part* part, display_device* display, int mode, int x, int y);
};

using part_roster = std::array<part_class, part_class_count>;

// The classes of this program.
const part_roster& built_in_parts();

template <typename Part>
constexpr part_class part_class_of(part_id id, const char* name) {
    return {id, name, [](display_device* d) -> effect_part* { return new Part(d); },
            [](effect_part* p, display_device* d, int mode, int x, int y) {
                static_cast<Part*>(p)->run(d, mode, x, y);
            }};
}

inline constexpr part_class part_not_built(part_id id, const char* name) {
    return {id, name, nullptr, nullptr};
}

const char* part_name(part_id id);

// How many modes a class tells apart: its run draws modes 0 .. n-1 each its
// own way (a class that ignores its mode has the one mode 0).
int part_modes(part_id id);

} // namespace vilora
