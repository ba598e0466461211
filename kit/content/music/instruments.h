// The module's instruments, synthesised in code. Numbers are the 1-based
// instrument numbers the patterns use; 64 is the inaudible cue track.
#pragma once

#include "kit/formats/xm_writer.h"
#include "kit/synth/synth.h"

#include <cstdint>
#include <vector>

namespace vilora::kit::music {

enum instrument_id : uint8_t {
    kick = 1,
    snare,
    clap,
    closed_hat,
    open_hat,
    crash,
    tom,
    bass,
    acid,
    chip_bass,
    saw_pad,
    soft_pad,
    saw_lead,
    square_lead,
    pluck,
    bell,
    chip_arp,
    riser,
    zap,
    reverse_cymbal,
    noise_drum,
    stab,
    cue = 64,
};

// All 64 instruments; the unused numbers between the last musical one and
// the cue are empty.
std::vector<xm_instrument> make_instruments();

// The drums and effects, and the tonal instruments, in instrument order.
std::vector<xm_instrument> make_drum_instruments();   // kick .. tom
std::vector<xm_instrument> make_tonal_instruments();  // bass .. chip_arp
std::vector<xm_instrument> make_effect_instruments(); // riser .. stab

// The crash cymbal's sound, which the reverse cymbal plays backwards.
signal make_crash_signal();

// An instrument playing `sample` on every note.
xm_instrument single_sample_instrument(const char* name, xm_sample sample);
// An instrument playing `s` once on every note (see to_sample), at the given
// default volume and panning.
xm_instrument one_shot(const char* name, const signal& s, bool sixteen_bit, int native_midi,
                       uint8_t volume, uint8_t panning);

} // namespace vilora::kit::music
