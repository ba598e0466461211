// Windows with a window procedure and a message queue, in the manner the
// application window expects: messages are taken one at a time and dispatched
// to the procedure; destroying a window delivers the destroyed message first.
#pragma once

#include <cstdint>

namespace vilora {

struct host_window;
struct native_window;
using window_handle = native_window*;

// Message numbers the window procedure understands.
inline constexpr uint32_t message_destroy = 0x0002;
inline constexpr uint32_t message_close = 0x0010;
inline constexpr uint32_t message_activate_app = 0x001C;
inline constexpr uint32_t message_key_down = 0x0100;

inline constexpr uint32_t window_style_popup = 0x80000000u;
inline constexpr int key_escape = 27;

using window_procedure = intptr_t (*)(window_handle window, uint32_t message, uintptr_t wparam,
                                      intptr_t lparam);

struct window_message {
    window_handle window = nullptr;
    uint32_t message = 0;
    uintptr_t wparam = 0;
    intptr_t lparam = 0;
};

// Creates a window on the host; null when the host cannot show one.
window_handle create_native_window(const char* title, window_procedure procedure, void* user_data,
                                   uint32_t style, int x, int y, int width, int height);
// Delivers the destroyed message to the procedure, then closes the window.
bool destroy_native_window(window_handle window);
// True while the handle names a window that has not been destroyed.
bool is_window(window_handle window);
void* window_user_data(window_handle window);
host_window* host_window_of(window_handle window);

// Takes at most one message for the window without waiting.
bool peek_message(window_handle window, window_message& message);
// Sleeps until a message for the window is waiting or `timeout_ms` have passed.
void wait_message(window_handle window, uint32_t timeout_ms);
intptr_t dispatch_message(const window_message& message);
// What happens to a message the procedure does not handle: a close request
// destroys the window; everything else is ignored.
intptr_t default_window_procedure(window_handle window, uint32_t message, uintptr_t wparam,
                                  intptr_t lparam);

// The screen size the host reports, the mouse cursor and message boxes.
int screen_metric_width();
int screen_metric_height();
void show_cursor(bool visible);
void show_message_box(window_handle owner, const char* text, const char* caption);

} // namespace vilora
