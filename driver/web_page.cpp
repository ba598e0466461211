// vilora in a browser page. The page (page.js) starts a fresh instance of the
// engine for every show, with the show's data in /data, the face it carries in
// /fonts and its URL's choices as a command line; main starts the show and
// hands the frame loop to the browser, one pass per animation frame. The page
// hears of every frame shown and of the end, with the exit status the desktop
// program would have had.
#include "driver/command_line.h"
#include "driver/show.h"
#include "driver/timeline.h"
#include "engine/data_files.h"
#include "platform/hosts/headless_host.h"
#include "platform/hosts/web/web_host.h"

#include <emscripten.h>

#include <chrono>
#include <cstdio>
#include <memory>

// clang-format off
EM_JS(void, page_frame_shown, (double frame, int order, int row, int variant, double draw_ms,
                               double pass_ms), {
    Module.page.frameShown({frame: frame, order: order, row: row, variant: variant,
                            drawMs: draw_ms, passMs: pass_ms});
});
EM_JS(void, page_show_ended, (int status), {
    Module.page.showEnded(status);
});
// clang-format on

using namespace vilora;

namespace {

// The window exists before the program starts, as the show expects.
app_window the_window;

// What the page hears of each frame: where the music was, and how long the
// parts took to draw it.
class frame_reporter : public show_observer {
public:
    void part_ran(const part_call&, std::chrono::nanoseconds time) override { drawing_ += time; }
    void frame_done(const frame_record& record) override {
        shown_ = record;
        shown_drawing_ = drawing_;
        drawing_ = {};
        presented_ = true;
    }
    // After a pass: the frame it presented, if any, with the time the pass took.
    void report(double pass_ms) {
        if (!presented_) return;
        presented_ = false;
        page_frame_shown(
            static_cast<double>(shown_.frame), shown_.order, shown_.row, shown_.variant,
            std::chrono::duration<double, std::milli>(shown_drawing_).count(), pass_ms);
    }

private:
    frame_record shown_;
    std::chrono::nanoseconds drawing_{};
    std::chrono::nanoseconds shown_drawing_{};
    bool presented_ = false;
};

struct page_show {
    show_state state;
    frame_reporter reporter;
    std::unique_ptr<timeline_loop> loop;
};

std::unique_ptr<page_show>& running() {
    static std::unique_ptr<page_show> show;
    return show;
}

// The show is over: what it holds goes, the browser's callbacks with the host,
// and the page hears how it ended.
void end_show(int status) {
    if (running()) {
        finish_show(running()->state);
        running().reset();
    }
    set_host(std::make_unique<headless_host>());
    page_show_ended(status);
}

// One pass of the frame loop per animation frame.
void run_pass(void*) {
    page_show& show = *running();
    const double started = emscripten_get_now();
    const timeline_loop::pass_result result = show.loop->pass(false);
    show.reporter.report(emscripten_get_now() - started);
    if (result == timeline_loop::pass_result::ended) {
        emscripten_cancel_main_loop();
        end_show(0);
    } else if (result == timeline_loop::pass_result::no_frame) {
        emscripten_cancel_main_loop();
        end_show(fail_without_a_frame(show.state));
    }
}

} // namespace

int main(int argc, char** argv) {
    command_line options;
    if (auto status = parse_command_line(argc, argv, options)) {
        end_show(*status);
        return *status;
    }
    if (options.show.kind != run_kind::show) {
        std::fputs("vilora: the page shows the show; --capture, --record and --bench run in the "
                   "node build\n",
                   stderr);
        end_show(2);
        return 2;
    }
    set_data_directory(options.data_directory.empty() ? "/data" : options.data_directory);
    set_host(make_web_host());

    running() = std::make_unique<page_show>();
    show_state& state = running()->state;
    state.options = options.show;
    state.roster = &built_in_parts();
    state.window = &the_window;
    state.observer = &running()->reporter;
    if (const std::optional<int> status = start_show(state)) {
        end_show(*status);
        return *status;
    }
    running()->loop = std::make_unique<timeline_loop>(state);
    emscripten_set_main_loop_arg(run_pass, nullptr, 0, 0);
    return 0;
}
