#include "platform/window/app_window.h"

#include "tests/support/test_display.h"

#include <gtest/gtest.h>

namespace vilora {
namespace {

using testing::host_scope;

app_window* escape_window = nullptr;
int escapes = 0;
void destroy_on_escape() {
    ++escapes;
    escape_window->destroy_window();
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        escapes = 0;
        ASSERT_TRUE(window.create_window("vilo ra", app_window::procedure, window_style_popup, 0, 0,
                                         screen_metric_width(), screen_metric_height()));
    }
    void post(host_event::kind what, int key = 0) { scope.host->post_event({what, key}); }

    host_scope scope;
    app_window window;
};

TEST_F(WindowTest, CreationMakesItActive) {
    EXPECT_TRUE(window.active);
    EXPECT_NE(window.handle, nullptr);
    EXPECT_EQ(window.class_name, "vilo ra");
    EXPECT_EQ(scope.host->windows_open, 1);
    EXPECT_TRUE(window.pump()) << "no message waiting is not an error";
}

TEST_F(WindowTest, ActivationMessagesSetAndClearActive) {
    post(host_event::kind::deactivate);
    post(host_event::kind::activate);
    EXPECT_TRUE(window.pump());
    EXPECT_FALSE(window.active);
    EXPECT_TRUE(window.pump());
    EXPECT_TRUE(window.active);
}

TEST_F(WindowTest, PumpHandlesOneMessagePerCall) {
    post(host_event::kind::deactivate);
    post(host_event::kind::activate);
    post(host_event::kind::deactivate);
    window.pump();
    EXPECT_FALSE(window.active);
    window.pump();
    EXPECT_TRUE(window.active);
}

TEST_F(WindowTest, EscapeRunsTheShutdownWhichDestroysTheWindow) {
    escape_window = &window;
    window.escape_handler = destroy_on_escape;
    post(host_event::kind::key_down, 'a');
    EXPECT_TRUE(window.pump());
    EXPECT_EQ(escapes, 0);
    post(host_event::kind::key_down, key_escape);
    EXPECT_TRUE(window.pump());
    EXPECT_EQ(escapes, 1);
    EXPECT_FALSE(window.active);
    EXPECT_EQ(window.handle, nullptr);
    EXPECT_FALSE(window.pump());
    EXPECT_EQ(scope.host->windows_open, 0);
    EXPECT_FALSE(window.destroy_window()) << "after Escape there is no window to destroy";
}

TEST_F(WindowTest, ClosingFromTheHostDestroysTheWindow) {
    post(host_event::kind::close);
    EXPECT_TRUE(window.pump());
    EXPECT_EQ(window.handle, nullptr);
    EXPECT_FALSE(window.active);
    EXPECT_FALSE(window.pump());
}

TEST_F(WindowTest, DestroyWindowAndTheDestructor) {
    EXPECT_TRUE(window.destroy_window());
    EXPECT_FALSE(window.active);
    EXPECT_FALSE(window.pump());
    EXPECT_FALSE(window.destroy_window());
    {
        app_window other;
        ASSERT_TRUE(
            other.create_window("x", app_window::procedure, window_style_popup, 0, 0, 1, 1));
        EXPECT_EQ(scope.host->windows_open, 1);
    }
    EXPECT_EQ(scope.host->windows_open, 0) << "the destructor destroys the window";
}

TEST(MessageBox, ReachesTheHostAndStderr) {
    host_scope scope;
    ::testing::internal::CaptureStderr();
    show_message_box(nullptr, "music couln't be started. the module not found!", "error");
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "error: music couln't be started. the module not found!\n");
    EXPECT_EQ(scope.host->last_caption, "error");
    EXPECT_EQ(scope.host->last_message, "music couln't be started. the module not found!");
}

TEST(Cursor, VisibilityReachesTheHost) {
    host_scope scope;
    show_cursor(false);
    EXPECT_FALSE(scope.host->cursor_visible);
    show_cursor(true);
    EXPECT_TRUE(scope.host->cursor_visible);
}

} // namespace
} // namespace vilora
