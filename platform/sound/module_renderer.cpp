#include "platform/sound/internal/module_renderer.h"

#include <xmp.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>

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
    module_bytes_.assign(bytes, bytes + size);
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

// The loudest sample of interleaved 16-bit audio, 0..32767.
int peak_of(const int16_t* samples, size_t count) {
    int peak = 0;
    for (size_t i = 0; i < count; ++i) peak = std::max(peak, std::abs(int{samples[i]}));
    return std::min(peak, 32767);
}

const xmp_event* event_at(const xmp_module& module, int pattern, int row, int channel) {
    const xmp_pattern* p = module.xxp[pattern];
    const int track = p->index[channel];
    if (track < 0 || track >= module.trk) return nullptr;
    const xmp_track* t = module.xxt[track];
    return row < t->rows ? &t->event[row] : nullptr;
}

// XM effects that end a pattern after their row: position jump and pattern break.
constexpr int effect_position_jump = 0x0B;
constexpr int effect_pattern_break = 0x0D;
bool ends_pattern(const xmp_event& e) {
    return e.fxt == effect_position_jump || e.fxt == effect_pattern_break ||
           e.f2t == effect_position_jump || e.f2t == effect_pattern_break;
}

// The last note of every instrument and note played from the start up to and
// including (order, row), in the order they were played. The orders are read
// one after the other, each until its end or a row that breaks out of it, as
// the show plays its module; where a pattern is played after a break the
// player starts it at row 0.
std::vector<music_cue> last_notes_up_to(const xmp_module& module, int order, int row) {
    struct played {
        uint64_t sequence;
        music_cue cue;
    };
    std::map<std::pair<int, int>, played> last; // by instrument and note
    uint64_t sequence = 0;
    const int channels = std::min(module.chn, XMP_MAX_CHANNELS);
    for (int o = 0; o <= order; ++o) {
        const int pattern = module.xxo[o];
        if (pattern >= module.pat) continue;
        const int rows = module.xxp[pattern]->rows;
        const int last_row = o == order ? std::min(row, rows - 1) : rows - 1;
        for (int r = 0; r <= last_row; ++r) {
            bool broken = false;
            for (int c = 0; c < channels; ++c) {
                const xmp_event* e = event_at(module, pattern, r, c);
                if (!e) continue;
                broken = broken || ends_pattern(*e);
                if (e->note == 0 || e->note > 127 || e->ins == 0) continue;
                const music_cue cue{0, e->ins, tracker_note(e->note), note_volume(module, *e)};
                last[{cue.instrument, cue.note}] = {sequence++, cue};
            }
            if (broken) break;
        }
    }
    std::vector<played> ordered;
    for (const auto& [key, entry] : last) ordered.push_back(entry);
    std::sort(ordered.begin(), ordered.end(),
              [](const played& a, const played& b) { return a.sequence < b.sequence; });
    std::vector<music_cue> cues;
    for (const played& p : ordered) cues.push_back(p.cue);
    return cues;
}
} // namespace

int module_renderer::order_count() const {
    if (!xmp_->loaded) return 0;
    xmp_module_info info;
    xmp_get_module_info(xmp_->handle, &info);
    return info.mod->len;
}

int module_renderer::channel_count() const {
    if (!xmp_->loaded) return 0;
    xmp_module_info info;
    xmp_get_module_info(xmp_->handle, &info);
    return info.mod->chn;
}

int module_renderer::rows_in_order(int order) const {
    if (order < 0 || order >= order_count()) return -1;
    xmp_module_info info;
    xmp_get_module_info(xmp_->handle, &info);
    const int pattern = info.mod->xxo[order];
    return pattern < info.mod->pat ? info.mod->xxp[pattern]->rows : -1;
}

double module_renderer::order_start_ms(int order) {
    const int orders = order_count();
    if (order < 0 || order > orders) return -1.0;
    if (order_ms_.empty()) time_orders();
    return order_ms_.empty() ? -1.0 : order_ms_[static_cast<size_t>(order)];
}

// A second player of the same module, moved to each order in turn: after the
// order's first tick it reports the time at which the order is reached in
// playing (its own scan of the module), plus that tick. An order without a
// pattern moves it on to the next that has one. The rate only sets how much
// it mixes for that one tick; the times do not depend on it.
void module_renderer::time_orders() {
    constexpr int scan_rate = 8000;
    const int orders = order_count();
    xmp_context scan = xmp_create_context();
    if (xmp_load_module_from_memory(scan, module_bytes_.data(),
                                    static_cast<long>(module_bytes_.size())) == 0) {
        if (xmp_start_player(scan, scan_rate, 0) == 0) {
            xmp_frame_info info{};
            for (int order = 0; order < orders; ++order) {
                xmp_set_position(scan, order);
                xmp_play_frame(scan);
                xmp_get_frame_info(scan, &info);
                order_ms_.push_back(std::max(0.0, info.time - info.frame_time / 1000.0));
            }
            order_ms_.push_back(info.total_time);
            xmp_end_player(scan);
        }
        xmp_release_module(scan);
    }
    xmp_free_context(scan);
    module_bytes_ = {};
}

bool module_renderer::seek(int order, int row) {
    if (!xmp_->playing || row < 0 || row >= rows_in_order(order)) return false;
    xmp_frame_info now;
    xmp_get_frame_info(xmp_->handle, &now);
    // The player answers the entry order with -1 ("start over"), which is no
    // failure. It moves to a new order only when it differs from the one
    // playing; setting the row as well moves it within the same order too.
    const int moved = xmp_set_position(xmp_->handle, order);
    if (moved == -XMP_ERROR_INVALID || moved == -XMP_ERROR_STATE) return false;
    if (xmp_set_row(xmp_->handle, row) < 0) return false;
    xmp_module_info info;
    xmp_get_module_info(xmp_->handle, &info);
    // Everything rendered ahead belongs to the old position: the new one starts
    // with the next frame handed out.
    pending_.clear();
    pending_start_ = 0;
    generated_ = rendered_;
    ticks_.clear();
    ended_ = false;
    loops_before_seek_ = now.loop_count;
    cues_.clear();
    for (const music_cue& cue : last_notes_up_to(*info.mod, order, row)) cues_.push_back(cue);
    return true;
}

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
    // A seek may lead back to rows already played; the count goes on from there.
    // A tick without sound (a damaged tempo) would never move the clock on:
    // the module ends there too.
    if (info.loop_count > loops_before_seek_ || info.buffer_size <= 0) {
        ended_ = true;
        end_frame_ = generated_;
        return;
    }
    const auto* samples = static_cast<const int16_t*>(info.buffer);
    const size_t count = static_cast<size_t>(info.buffer_size) / sizeof(int16_t);
    ticks_.push_back(
        {generated_,
         static_cast<uint32_t>(info.pos & 0xFFFF) | static_cast<uint32_t>(info.row & 0xFFFF) << 16,
         peak_of(samples, count)});
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
    // After a seek the first new tick answers for the audio still heard before it.
    while (!ended_ && (ticks_.empty() || generated_ <= frame)) render_tick();
}

uint32_t module_renderer::position_at(uint64_t frame) const {
    if (ticks_.empty()) return 0;
    uint32_t position = ticks_.front().position;
    for (const tick& t : ticks_) {
        if (t.first_frame > frame) break;
        position = t.position;
    }
    return position;
}

int module_renderer::peak_at(uint64_t frame) const {
    int peak = 0;
    for (const tick& t : ticks_) {
        if (t.first_frame > frame) break;
        peak = t.peak;
    }
    return peak;
}

std::vector<music_cue> module_renderer::take_cues_up_to(uint64_t frame) {
    std::vector<music_cue> due;
    while (!cues_.empty() && cues_.front().frame <= frame) {
        due.push_back(cues_.front());
        cues_.pop_front();
    }
    return due;
}

std::optional<uint64_t> module_renderer::next_cue_frame(int instrument) const {
    for (const music_cue& cue : cues_)
        if (cue.instrument == instrument) return cue.frame;
    return std::nullopt;
}

void module_renderer::forget_before(uint64_t frame) {
    // Keep the tick that contains `frame`: it still answers position_at.
    while (ticks_.size() > 1 && ticks_[1].first_frame <= frame) ticks_.pop_front();
}

} // namespace vilora
