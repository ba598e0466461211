#include "kit/content/music/score.h"

#include <algorithm>

namespace vilora::kit::music {

std::array<int, 3> voicing(const chord& c, int low) {
    std::array<int, 3> notes{};
    const std::array<int, 3> classes = c.pitch_classes();
    for (size_t i = 0; i < 3; ++i) notes[i] = low + ((classes[i] - low) % 12 + 12) % 12;
    std::sort(notes.begin(), notes.end());
    return notes;
}

int root_in(const chord& c, int low) {
    return low + ((c.root - low) % 12 + 12) % 12;
}

int pattern_writer::level(uint8_t instrument, int volume) const {
    const xm_instrument& in = instruments_[instrument - 1];
    const int mix = in.samples.empty() ? 0 : in.samples.front().volume;
    return std::clamp(volume, 0, 64) * mix / 64;
}

pattern_writer pattern_writer::first_rows(int rows) const {
    pattern_writer w = *this;
    w.rows_ = std::clamp(rows, 0, rows_);
    return w;
}

xm_cell* pattern_writer::cell(int row, int channel) {
    if (row < 0 || row >= rows_) return nullptr;
    return &pattern_.at(row, channel);
}

void pattern_writer::note(int row, int channel, int midi, uint8_t instrument, int volume,
                          uint8_t effect, uint8_t parameter) {
    xm_cell* c = cell(row, channel);
    if (!c) return;
    const xm_instrument& in = instruments_[instrument - 1];
    c->note = static_cast<uint8_t>(midi - 11); // MIDI 60 → C-4, XM note 49
    c->instrument = instrument;
    c->volume = xm_set_volume(level(instrument, volume));
    c->effect = effect;
    c->parameter = parameter;
    const uint8_t pan = channel_panning[static_cast<size_t>(channel)];
    if (!effect && !parameter && !in.panning_envelope.on && !in.samples.empty() &&
        in.samples.front().panning != pan) {
        c->effect = fx::panning;
        c->parameter = pan;
    }
}

void pattern_writer::cue(int row, uint8_t instrument, int value) {
    xm_cell* c = cell(row, ch_cue);
    if (!c) return;
    c->note = xm_note(4, 0);
    c->instrument = instrument;
    c->volume = xm_set_volume(value);
}

void pattern_writer::key_off(int row, int channel) {
    xm_cell* c = cell(row, channel);
    if (c && !c->note) c->note = xm_key_off;
}

void pattern_writer::release(int row, int channel, uint8_t instrument) {
    if (instruments_[instrument - 1].volume_envelope.sustain) key_off(row, channel);
}

void pattern_writer::volume(int row, int channel, uint8_t volume_column) {
    xm_cell* c = cell(row, channel);
    if (c && !c->volume) c->volume = volume_column;
}

void pattern_writer::effect(int row, int channel, uint8_t effect, uint8_t parameter) {
    xm_cell* c = cell(row, channel);
    if (c && !c->effect && !c->parameter) {
        c->effect = effect;
        c->parameter = parameter;
    }
}

bool pattern_writer::has_events(int channel) const {
    for (int row = 0; row < rows_; ++row)
        if (!pattern_.at(row, channel).empty()) return true;
    return false;
}

bool pattern_writer::ends_sounding(int channel) const {
    for (int row = rows_ - 1; row >= 0; --row) {
        const xm_cell& c = pattern_.at(row, channel);
        if (c.note == xm_key_off) return false;
        if (c.note) return true;
    }
    return false;
}

} // namespace vilora::kit::music
