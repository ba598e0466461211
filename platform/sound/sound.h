// Music playback as the driver uses it: a device, a module loaded from memory
// and played, its position as pattern order and row, and a callback for every
// note of a watched instrument. Positions and callbacks follow what is heard:
// audio queued but not yet played is taken into account.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vilora {

using music_handle = uint32_t; // 0: no music
using sync_handle = uint32_t;
// Called on the audio thread (on the caller's thread when playing offline, and
// in music_set_sync and music_seek for what is due at once).
using sync_procedure = void (*)(sync_handle sync, music_handle music, uint32_t data, void* user);

inline constexpr int sound_default_device = -1; // the system's sound device
inline constexpr int sound_silent_device = -2;  // no sound, but the module plays in real time
inline constexpr int sound_offline_device = -3; // the module moves only by music_advance

inline constexpr int sound_frequency = 44100;

// Sync type: a note played with an instrument. Parameter: instrument (1-based) in
// bits 0..15, note in bits 16..31 (0xFFFF: any note). The callback's data word
// carries the note in bits 0..15 and its volume (0..64) in bits 16..31.
inline constexpr uint32_t sync_instrument = 1;

bool sound_init(int device, int frequency);
bool sound_start();
bool sound_stop();
// A module from its bytes, which the caller keeps or frees as it likes (the
// player copies what it needs); 0 when the player cannot read them. Files are
// read by the caller, through the one checked path every data file takes.
music_handle music_load(const uint8_t* bytes, size_t size);
// Starts the music, or resumes it after music_pause.
bool music_play(music_handle music);
// Holds the music where it is heard now; music_play goes on from there. The
// offline device holds by itself between music_advance calls.
bool music_pause(music_handle music);
bool music_free(music_handle music);
// Pattern order in bits 0..15, row in bits 16..31, of what is heard now;
// 0xFFFFFFFF for a handle that is not loaded.
uint32_t music_position(music_handle music);
sync_handle music_set_sync(music_handle music, uint32_t type, uint32_t parameter,
                           sync_procedure procedure, void* user);
// True once the module has played to its end (it does not start over).
bool music_ended(music_handle music);
// Moves playback to the start of (order, row): what is heard next is that row,
// music_position reports it at once, and every sync gets the last note it
// watches that was played up to and including that row, as the module played
// from its start would have left it. False for a position the module does not
// have; nothing changes then.
bool music_seek(music_handle music, uint16_t order, uint16_t row);
// Orders of the module; 0 for a handle that is not loaded.
int music_order_count(music_handle music);
// Rows of the pattern an order plays; -1 for an order the module does not have.
int music_rows_in_order(music_handle music, int order);
// Channels of the module; 0 for a handle that is not loaded.
int music_channel_count(music_handle music);
// Milliseconds of music from the module's start to the start of `order`, with
// its speed, tempo and pattern delays; for music_order_count, the module's
// end. -1 for any other order or a handle that is not loaded.
double music_order_time(music_handle music, int order);
// How loud what is heard now is: the loudest sample of the current tick, 0..1.
double music_level(music_handle music);
// Offline device only: plays the next `frames` stereo frames into `out`
// (interleaved 16-bit), then delivers the cues heard by then.
bool music_advance(music_handle music, size_t frames, std::vector<int16_t>& out);
// Releases the device and every music; the state is as before sound_init.
void sound_shutdown();

} // namespace vilora
