#include "platform/sound/internal/module_renderer.h"

#include <xmp.h>

#include <algorithm>
#include <cstring>

namespace vilora {

struct module_renderer::context {
    xmp_context handle = xmp_create_context();
    bool loaded = false;
    bool playing = false;
    ~context() {
        if (playing) xmp_end_player(handle);
        if (loaded) xmp_release_module(handle);
        xmp_free_context(handle);
    }
};

module_renderer::module_renderer() : xmp_(std::make_unique<context>()) {}
module_renderer::~module_renderer() = default;

bool module_renderer::load(const uint8_t* bytes, size_t size, int frequency) {
    if (!bytes || size == 0) return false;
    if (xmp_load_module_from_memory(xmp_->handle, bytes, static_cast<long>(size)) != 0)
        return false;
    xmp_->loaded = true;
    if (xmp_start_player(xmp_->handle, frequency, 0) != 0) return false;
    xmp_->playing = true;
    return true;
}

namespace {
// The volume a played note carries: the volume column's set-volume value when
// the cell has one (stored one above the value), else the default volume of the
// sample the note plays.
int note_volume(const xmp_module& module, const xmp_event& event) {
    if (event.vol > 0) return event.vol - 1;
    const int instrument = event.ins - 1;
    if (instrument < 0 || instrument >= module.ins) return 0;
    const xmp_instrument& ins = module.xxi[instrument];
    if (ins.nsm <= 0) return 0;
    const int key = std::clamp(event.note - 1, 0, XMP_MAX_KEYS - 1);
    const int sub = ins.map[key].ins;
    return sub >= 0 && sub < ins.nsm ? ins.sub[sub].vol : 0;
}
constexpr size_t max_waiting_cues = 4096;

// The player counts notes an octave above the tracker's C-0 = 1.
int tracker_note(int player_note) {
    return std::max(player_note - 12, 1);
}
} // namespace

void module_renderer::render_tick() {
    if (ended_ || !xmp_->playing || xmp_play_frame(xmp_->handle) != 0) {
        if (!ended_) {
            ended_ = true;
            end_frame_ = generated_;
        }
        return;
    }
    xmp_frame_info info;
    xmp_get_frame_info(xmp_->handle, &info);
    // The player counts a loop when the module has been played through: it came
    // to its end and starts over, or a jump leads back to rows already played
    // (from there it would repeat forever). Either way the module has ended.
    // Pattern loops inside that one pass play rows again and count again.
    // A tick without sound (a damaged tempo) would never move the clock on:
    // the module ends there too.
    if (info.loop_count > 0 || info.buffer_size <= 0) {
        ended_ = true;
        end_frame_ = generated_;
        return;
    }
    ticks_.push_back({generated_, static_cast<uint32_t>(info.pos & 0xFFFF) |
                                      static_cast<uint32_t>(info.row & 0xFFFF) << 16});
    if (info.frame == 0) {
        xmp_module_info module_info;
        xmp_get_module_info(xmp_->handle, &module_info);
        const int channels = std::min(info.virt_channels, XMP_MAX_CHANNELS);
        for (int c = 0; c < std::min(channels, module_info.mod->chn); ++c) {
            const xmp_event& e = info.channel_info[c].event;
            if (e.note == 0 || e.note > 127 || e.ins == 0) continue; // no note, or a key-off
            cues_.push_back(
                {generated_, e.ins, tracker_note(e.note), note_volume(*module_info.mod, e)});
            if (cues_.size() > max_waiting_cues) cues_.pop_front(); // nobody takes them
        }
    }
    const auto* samples = static_cast<const int16_t*>(info.buffer);
    const size_t count = static_cast<size_t>(info.buffer_size) / sizeof(int16_t);
    pending_.insert(pending_.end(), samples, samples + count);
    generated_ += count / 2;
}

void module_renderer::render(int16_t* out, size_t frames) {
    size_t written = 0;
    while (written < frames) {
        const size_t available = (pending_.size() - pending_start_) / 2;
        if (available == 0) {
            pending_.clear();
            pending_start_ = 0;
            render_tick();
            if (pending_.empty()) { // ended: silence from here on
                std::fill(out + written * 2, out + frames * 2, int16_t{0});
                generated_ += frames - written;
                written = frames;
            }
            continue;
        }
        const size_t take = std::min(available, frames - written);
        std::memcpy(out + written * 2, pending_.data() + pending_start_,
                    take * 2 * sizeof(int16_t));
        pending_start_ += take * 2;
        written += take;
    }
    rendered_ += frames;
}

void module_renderer::look_ahead_to(uint64_t frame) {
    while (!ended_ && generated_ <= frame) render_tick();
}

uint32_t module_renderer::position_at(uint64_t frame) const {
    uint32_t position = 0;
    for (const tick& t : ticks_) {
        if (t.first_frame > frame) break;
        position = t.position;
    }
    return position;
}

std::vector<music_cue> module_renderer::take_cues_up_to(uint64_t frame) {
    std::vector<music_cue> due;
    while (!cues_.empty() && cues_.front().frame <= frame) {
        due.push_back(cues_.front());
        cues_.pop_front();
    }
    return due;
}

void module_renderer::forget_before(uint64_t frame) {
    // Keep the tick that contains `frame`: it still answers position_at.
    while (ticks_.size() > 1 && ticks_[1].first_frame <= frame) ticks_.pop_front();
}

} // namespace vilora
