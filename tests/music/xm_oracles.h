// Reading XM bytes back through the two independent players, libxmp and
// libopenmpt, for comparison with what was written.
#pragma once

#include <xmp.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace vilora::testing {

// A module loaded into libxmp; null module() when the load failed.
class xmp_loaded {
public:
    explicit xmp_loaded(const std::vector<uint8_t>& bytes);
    ~xmp_loaded();
    xmp_loaded(const xmp_loaded&) = delete;
    xmp_loaded& operator=(const xmp_loaded&) = delete;

    const xmp_module* module() const { return module_; }
    // The event at (pattern, row, channel).
    const xmp_event& event(int pattern, int row, int channel) const;

private:
    xmp_context ctx_;
    const xmp_module* module_ = nullptr;
};

// libxmp keeps XM notes 12 higher (its C-0 is 13) and key-off as its own
// value, a key-off that names an instrument as a fade; the volume column's
// set-volume 0x10 + v becomes v + 1, 0 for none.
int xmp_note_of(uint8_t xm_note, uint8_t instrument);
int xmp_volume_of(uint8_t volume_column);

} // namespace vilora::testing
