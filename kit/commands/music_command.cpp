// vilora-kit make-music: writes the demo's module and, on request, its
// rendering through libxmp as a WAV file and its levels per order.
#include "kit/commands/command_support.h"
#include "kit/commands/commands.h"
#include "kit/content/music/music_module.h"
#include "kit/synth/render.h"
#include "platform/hosts/image_files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace vilora::kit {
namespace {

int report(const std::string& message) {
    return report_failure("vilora-kit make-music", message);
}

bool write_wav(const std::string& file, const music::rendering& r, std::string& failure) {
    wav_writer out(std::make_unique<output_file>(file), music::render_rate);
    if (out.write(r.samples.data(), r.frames()) && out.finish()) return true;
    out.discard();
    failure = out.failure();
    return false;
}

double decibels(double level) {
    return level > 0 ? 20 * std::log10(level) : -120;
}

// The show's stretches: the orders each of its parts (or the finale) runs in.
struct stretch {
    const char* name;
    int first_order, last_order;
};
constexpr stretch show_stretches[] = {
    {"title", 0, 8},     {"obw", 9, 16},        {"oneco4", 17, 19},  {"obw", 20, 22},
    {"credits", 23, 25}, {"greetings", 26, 28}, {"oneco3", 29, 36},  {"odistort", 37, 40},
    {"oneco0", 41, 46},  {"houp", 47, 50},      {"pinkous", 51, 54}, {"oland", 55, 61},
    {"finale", 62, 66}};

// One line per order: start time, peak and RMS in dBFS; then per stretch of
// the show, and the last second the show plays before it ends.
void print_levels(const music::rendering& r) {
    std::printf("order  start    peak dB  rms dB\n");
    for (size_t i = 0; i < r.orders.size(); ++i) {
        const size_t end = i + 1 < r.orders.size() ? r.orders[i + 1].frame : r.frames();
        const music::levels l = music::measure(r, r.orders[i].frame, end);
        std::printf("%5d  %6.1fs  %7.1f  %6.1f\n", r.orders[i].order,
                    static_cast<double>(r.orders[i].frame) / music::render_rate, decibels(l.peak),
                    decibels(l.rms));
    }
    const music::levels all = music::measure(r, 0, r.frames());
    std::printf("whole  %6.1fs  %7.1f  %6.1f\n\n",
                static_cast<double>(r.frames()) / music::render_rate, decibels(all.peak),
                decibels(all.rms));

    std::printf("stretch    orders  peak dB  rms dB\n");
    for (const stretch& s : show_stretches) {
        const music::levels l = music::measure_orders(r, s.first_order, s.last_order);
        std::printf("%-9s  %2d-%-2d   %7.1f  %6.1f\n", s.name, s.first_order, s.last_order,
                    decibels(l.peak), decibels(l.rms));
    }
    const size_t end = music::order_start(r, music::music_end_order);
    const size_t second = static_cast<size_t>(music::render_rate);
    const music::levels last = music::measure(r, end > second ? end - second : 0, end);
    std::printf("last second before order %d  %7.1f  %6.1f\n", music::music_end_order,
                decibels(last.peak), decibels(last.rms));
}

} // namespace

int music_command(int argc, char** argv) {
    CLI::App app{"Write the demo's music module, muska.xm.", "vilora-kit make-music"};
    std::string module_file, wav_file;
    bool levels = false;
    app.add_option("module", module_file, "the XM file to write")->required();
    app.add_option("--wav", wav_file, "also render it at 44100 Hz, stereo, 16-bit, to this WAV");
    app.add_flag("--levels", levels, "print the rendering's peak and RMS per order");
    if (const auto done = parse_arguments(app, argc, argv)) return *done;

    const std::vector<uint8_t> bytes = music::make_music_module();
    if (bytes.empty()) return report("the module does not form a valid XM file");
    std::string failure;
    if (!write_whole_file(module_file, bytes.data(), bytes.size(), failure)) return report(failure);
    if (wav_file.empty() && !levels) return 0;
    const music::rendering r = music::render_module(bytes);
    if (!r.ok) return report("libxmp cannot play the module");
    if (!wav_file.empty() && !write_wav(wav_file, r, failure)) return report(failure);
    if (levels) print_levels(r);
    return 0;
}

} // namespace vilora::kit
