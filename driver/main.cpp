// vilora: the demo.
#include "driver/capture.h"
#include "driver/command_line.h"
#include "driver/record.h"
#include "driver/show.h"
#include "engine/data_files.h"
#include "platform/hosts/headless_host.h"
#include "platform/hosts/screen_host.h"

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

// Where the frames of the show go, by its kind.
struct show_sinks {
    std::unique_ptr<capture_writer> capture;
    std::unique_ptr<record_writer> record;
    bench_recorder bench;
};

// Headless runs end on SIGINT and SIGTERM as a window does on close: what
// they write is complete.
void set_headless_host(std::unique_ptr<headless_host> headless) {
    headless->close_on_signals();
    set_host(std::move(headless));
}

// A headless host whose presented frames go to `sink`, which also watches the show.
template <typename Sink>
void present_into(Sink& sink, show_state& state) {
    set_headless_host(std::make_unique<headless_host>(
        [&sink](const rgb_frame& frame) { sink.frame_presented(frame); }));
    state.observer = &sink;
}

// Sets the host up for the run; false (with the reason on stderr) when it cannot.
bool set_up_host(const command_line& options, show_sinks& sinks, show_state& state) {
    switch (options.show.kind) {
    case run_kind::show: {
        screen_host_options screen;
        screen.fullscreen = options.show.full_screen;
        screen.renderer = options.renderer;
        auto host_of_screen = make_screen_host(screen);
        if (!host_of_screen) return false;
        set_host(std::move(host_of_screen));
        return true;
    }
    case run_kind::capture:
        sinks.capture = std::make_unique<capture_writer>(options.capture_directory, options.every);
        if (!sinks.capture->ok()) {
            std::fprintf(stderr, "vilora: cannot write the capture to %s\n",
                         options.capture_directory.c_str());
            return false;
        }
        present_into(*sinks.capture, state);
        return true;
    case run_kind::record:
        sinks.record = std::make_unique<record_writer>(options.record_file, options.show.scale,
                                                       options.show.width, options.show.height);
        if (!sinks.record->ok()) {
            std::fprintf(stderr, "vilora: cannot record %s: %s\n", options.record_file.c_str(),
                         sinks.record->error().c_str());
            return false;
        }
        present_into(*sinks.record, state);
        return true;
    case run_kind::bench:
        set_headless_host(std::make_unique<headless_host>());
        state.observer = &sinks.bench;
        return true;
    }
    return false;
}

// What the headless runs say at their end; the exit status.
int finish_sinks(const command_line& options, show_sinks& sinks, int status) {
    if (status == 0 && options.show.kind == run_kind::bench) sinks.bench.report(stdout);
    if (sinks.capture && !sinks.capture->ok()) {
        std::fputs("vilora: the capture could not be written completely\n", stderr);
        return 1;
    }
    if (sinks.record && status != 0 && sinks.record->frames() == 0) {
        sinks.record->discard(); // the show never started: no file of headers only
        return status;
    }
    if (sinks.record) {
        if (!sinks.record->finish()) {
            std::fprintf(stderr, "vilora: %s could not be written completely: %s\n",
                         options.record_file.c_str(), sinks.record->error().c_str());
            return 1;
        }
        const uint64_t seconds = sinks.record->frames() * 60 / 1000;
        if (status == 0)
            std::fprintf(stderr, "vilora: recorded %s: %llu frames, %llu:%02llu\n",
                         options.record_file.c_str(),
                         static_cast<unsigned long long>(sinks.record->frames()),
                         static_cast<unsigned long long>(seconds / 60),
                         static_cast<unsigned long long>(seconds % 60));
    }
    return status;
}

} // namespace

int main(int argc, char** argv) {
    command_line options;
    if (auto status = parse_command_line(argc, argv, options)) return *status;
    set_data_directory(options.data_directory.empty()
                           ? choose_data_directory(executable_path(argv[0]))
                           : options.data_directory);

    show_sinks sinks;
    show_state state;
    state.options = options.show;
    state.roster = &built_in_parts();
    state.window = &the_window;
    if (!set_up_host(options, sinks, state)) return 1;

    const int status = run_show(state);
    finish_show(state);
    return finish_sinks(options, sinks, status);
}
