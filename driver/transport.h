// The keys that move around the show in the window, and what they do between
// frames. Space pauses and resumes music and picture together (the frame on
// screen stays); Right and Left jump to the next and previous order, Page
// Down and Page Up four orders; "." steps one frame while paused (and pauses
// while playing); Tab shows and hides the overlay; F12 writes a screenshot.
// Without a key pressed none of this changes a thing.
#pragma once

#include "driver/show.h"

namespace vilora {

// One key of the window, on the main thread inside the message pump.
void transport_key(show_state& s, int key);

// Between frames: carries out a jump, and says whether a frame runs now. While
// the show stands still it sleeps until a message comes, shows the overlay
// again where it changed, and returns false.
bool transport_before_frame(show_state& s);

// Before the frame is presented: its drawing time, and the overlay for it.
void transport_frame_drawn(show_state& s, const frame_record& record, double milliseconds);

// After the frame was presented: a step holds the music again.
void transport_after_frame(show_state& s);

} // namespace vilora
