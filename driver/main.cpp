// vilora: the demo.
#include "driver/capture.h"
#include "driver/command_line.h"
#include "driver/record.h"
#include "driver/show.h"
#include "engine/data_files.h"
#include "platform/hosts/headless_host.h"
#include "platform/hosts/screen_host.h"
#include "platform/hosts/standard_streams.h"

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

// Headless runs end on SIGINT, SIGTERM and SIGHUP as a window does on close:
// what they write is complete.
void set_headless_host(std::unique_ptr<headless_host> headless) {
    headless->close_on_signals();
    set_host(std::move(headless));
}

// A headless host whose presented frames go to `sink`, which also watches the
// show. Once the sink fails, the show ends as on a close: nothing more it
// draws could be kept.
template <typename Sink>
void present_into(Sink& sink, show_state& state) {
    auto headless = std::make_unique<headless_host>();
    headless->set_sink(
        [&sink, host = headless.get(), stopping = false](const rgb_frame& frame) mutable {
            sink.frame_presented(frame);
            if (sink.ok() || stopping) return;
            stopping = true;
            host->post_event(host_event{host_event::kind::close});
        });
    set_headless_host(std::move(headless));
    state.observer = &sink;
}

// Each line of `text` on stderr as the program's.
void print_lines(const std::string& text) {
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        std::fprintf(stderr, "vilora: %s\n", text.substr(start, end - start).c_str());
    std::fprintf(stderr, "vilora: %s\n", text.substr(start).c_str());
}

// Sets the host up for the run; 0, or the exit status after the reason on
// stderr when it cannot.
int set_up_host(const command_line& options, show_sinks& sinks, show_state& state) {
    switch (options.show.kind) {
    case run_kind::show: {
        screen_host_options screen;
        screen.fullscreen = options.show.full_screen;
        screen.renderer = options.renderer;
        auto host_of_screen = make_screen_host(screen);
        if (!host_of_screen) return 1;
        set_host(std::move(host_of_screen));
        return 0;
    }
    case run_kind::capture:
        sinks.capture = std::make_unique<capture_writer>(options.capture_directory, options.every,
                                                         options.force);
        if (!sinks.capture->ok()) {
            print_lines(sinks.capture->failure());
            return sinks.capture->refused() ? 2 : 1;
        }
        present_into(*sinks.capture, state);
        return 0;
    case run_kind::record:
        sinks.record = std::make_unique<record_writer>(options.record_file, options.show.scale,
                                                       options.show.width, options.show.height);
        if (!sinks.record->ok()) {
            std::fprintf(stderr, "vilora: cannot record %s: %s\n", options.record_file.c_str(),
                         sinks.record->error().c_str());
            return 1;
        }
        present_into(*sinks.record, state);
        return 0;
    case run_kind::bench:
        set_headless_host(std::make_unique<headless_host>());
        state.observer = &sinks.bench;
        return 0;
    }
    return 1;
}

// What the headless runs say at their end; the exit status.
int finish_sinks(const command_line& options, show_sinks& sinks, int status) {
    if (status == 0 && options.show.kind == run_kind::bench) sinks.bench.report(stdout);
    if (sinks.capture && !sinks.capture->finish(status)) {
        print_lines(sinks.capture->failure());
        return status != 0 ? status : 1;
    }
    if (sinks.record && status != 0 && sinks.record->frames() == 0) {
        sinks.record->discard(); // the show never started: no file of headers only
        return status;
    }
    if (sinks.record) {
        if (!sinks.record->finish()) {
            print_lines(sinks.record->error());
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

// What was printed on stdout (the benchmark's table, --help) arrived, or the
// run fails.
int with_output_checked(int status) {
    return close_standard_output("vilora") || status != 0 ? status : 1;
}

} // namespace

int main(int argc, char** argv) {
    guard_standard_streams();
    command_line options;
    if (auto status = parse_command_line(argc, argv, options)) return with_output_checked(*status);
    set_data_directory(options.data_directory.empty()
                           ? choose_data_directory(executable_path(argv[0]))
                           : options.data_directory);

    show_sinks sinks;
    show_state state;
    state.options = options.show;
    state.roster = &built_in_parts();
    state.window = &the_window;
    if (const int status = set_up_host(options, sinks, state)) return status;

    const int status = run_show(state);
    finish_show(state);
    return with_output_checked(finish_sinks(options, sinks, status));
}
