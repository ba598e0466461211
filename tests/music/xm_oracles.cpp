#include "tests/music/xm_oracles.h"

namespace vilora::testing {

xmp_loaded::xmp_loaded(const std::vector<uint8_t>& bytes) : ctx_(xmp_create_context()) {
    void* data = const_cast<uint8_t*>(bytes.data()); // read only, despite the signature
    if (xmp_load_module_from_memory(ctx_, data, static_cast<long>(bytes.size())) != 0) return;
    xmp_module_info info;
    xmp_get_module_info(ctx_, &info);
    module_ = info.mod;
}

xmp_loaded::~xmp_loaded() {
    if (module_) xmp_release_module(ctx_);
    xmp_free_context(ctx_);
}

const xmp_event& xmp_loaded::event(int pattern, int row, int channel) const {
    const int track = module_->xxp[pattern]->index[channel];
    return module_->xxt[track]->event[row];
}

int xmp_note_of(uint8_t xm_note, uint8_t instrument) {
    if (xm_note == 97) return instrument ? XMP_KEY_FADE : XMP_KEY_OFF;
    return xm_note ? xm_note + 12 : 0;
}

int xmp_volume_of(uint8_t volume_column) {
    return volume_column >= 0x10 && volume_column <= 0x50 ? volume_column - 0x10 + 1 : 0;
}

} // namespace vilora::testing
