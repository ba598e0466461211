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
    // Sleeps until a message is waiting or `timeout_ms` have passed; takes none.
    void wait_for_message(uint32_t timeout_ms);

    // The window procedure to pass to create_window: keeps `active` and the handle
    // up to date, hands Escape to the escape handler, then the default handling.
    static intptr_t procedure(window_handle window, uint32_t message, uintptr_t wparam,
                              intptr_t lparam);

    std::string class_name;
    window_handle handle = nullptr;
    bool active = false;
    // Called on key-down of Escape; the driver's shutdown. It may destroy this window.
    void (*escape_handler)() = nullptr;
};

} // namespace vilora
