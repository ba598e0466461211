// The demo's one window: a borderless popup covering the screen. It owns the
// window's lifetime, pumps its messages one at a time for the timeline and keeps
// the `active` flag that tells the timeline whether to draw.
#pragma once

#include "platform/window/window_system.h"

#include <string>

namespace vilora {

class app_window {
public:
    app_window() = default;
    virtual ~app_window();
    app_window(const app_window&) = delete;
    app_window& operator=(const app_window&) = delete;

    bool create_window(const char* class_name, window_procedure procedure, uint32_t style, int x,
                       int y, int width, int height);
    bool destroy_window();
    // Dispatches at most one waiting message; false once the window is gone.
    bool pump();
    // The same, but sleeps until a message comes or `milliseconds` have passed.
    bool pump_waiting(int milliseconds);

    // The window procedure to pass to create_window: keeps `active` and the handle
    // up to date, hands Escape to the escape handler, then the default handling.
    static intptr_t procedure(window_handle window, uint32_t message, uintptr_t wparam,
                              intptr_t lparam);

    std::string class_name;
    window_handle handle = nullptr;
    bool active = false;
    // Called on key-down of Escape; the driver's shutdown. It may destroy this window.
    void (*escape_handler)() = nullptr;
    // Called on key-down of any other key, with its virtual key code.
    void (*key_handler)(int key) = nullptr;
};

} // namespace vilora
