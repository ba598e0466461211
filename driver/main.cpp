// vilora: the demo.
#include "driver/capture.h"
#include "driver/command_line.h"
#include "driver/show.h"
#include "engine/data_files.h"
#include "platform/hosts/headless_host.h"
#include "platform/hosts/sdl/sdl_host.h"

#include <filesystem>
#include <system_error>

using namespace vilora;

namespace {

// The window exists before the program starts, as the show expects.
app_window the_window;

std::string executable_path(const char* argv0) {
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(argv0) : path.string();
}

} // namespace

int main(int argc, char** argv) {
    command_line options;
    if (auto status = parse_command_line(argc, argv, options)) return *status;
    set_data_directory(options.data_directory.empty()
                           ? choose_data_directory(executable_path(argv[0]))
                           : options.data_directory);

    std::unique_ptr<capture_writer> capture;
    bench_recorder bench;
    show_state state;
    state.options = options.show;
    state.roster = &built_in_parts();
    state.window = &the_window;

    if (options.show.kind == run_kind::show) {
        sdl_host_options sdl;
        sdl.fullscreen = options.show.full_screen;
        auto host_of_screen = make_sdl_host(sdl);
        if (!host_of_screen) return 1; // the reason is on stderr
        set_host(std::move(host_of_screen));
    } else if (options.show.kind == run_kind::capture) {
        capture = std::make_unique<capture_writer>(options.capture_directory, options.every);
        if (!capture->ok()) {
            std::fprintf(stderr, "vilora: cannot write the capture to %s\n",
                         options.capture_directory.c_str());
            return 1;
        }
        auto headless = std::make_unique<headless_host>(
            [&](const rgb_frame& frame) { capture->frame_presented(frame); });
        headless->close_on_signals();
        set_host(std::move(headless));
        state.observer = capture.get();
    } else {
        auto headless = std::make_unique<headless_host>();
        headless->close_on_signals();
        set_host(std::move(headless));
        state.observer = &bench;
    }

    const int status = run_show(state);
    finish_show(state);
    if (status == 0 && options.show.kind == run_kind::bench) bench.report(stdout);
    if (capture && !capture->ok()) {
        std::fputs("vilora: the capture could not be written completely\n", stderr);
        return 1;
    }
    return status;
}
