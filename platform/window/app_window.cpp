#include "platform/window/app_window.h"

namespace vilora {

app_window::~app_window() {
    destroy_window();
}

bool app_window::create_window(const char* name, window_procedure window_proc, uint32_t style,
                               int x, int y, int width, int height) {
    class_name = name ? name : "";
    handle =
        create_native_window(class_name.c_str(), window_proc, this, style, x, y, width, height);
    if (!handle) return false;
    active = true;
    return true;
}

bool app_window::destroy_window() {
    if (!handle) return false;
    destroy_native_window(handle);
    handle = nullptr;
    active = false;
    return true;
}

bool app_window::pump() {
    if (!is_window(handle)) return false;
    window_message message;
    if (peek_message(handle, message)) dispatch_message(message);
    return true;
}

void app_window::wait_for_message(uint32_t timeout_ms) {
    wait_message(handle, timeout_ms);
}

intptr_t app_window::procedure(window_handle window, uint32_t message, uintptr_t wparam,
                               intptr_t lparam) {
    auto* self = static_cast<app_window*>(window_user_data(window));
    if (self) {
        if (message == message_destroy) {
            self->active = false;
            self->handle = nullptr;
        } else if (message == message_activate_app) {
            self->active = wparam == 1;
        }
        if (message == message_key_down && wparam == key_escape && self->escape_handler)
            self->escape_handler();
    }
    return default_window_procedure(window, message, wparam, lparam);
}

} // namespace vilora
