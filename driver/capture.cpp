#include "driver/capture.h"

#include <algorithm>
#include <cinttypes>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace vilora {

void progress_line::update(const frame_record& r) {
    if (r.frame % 25 != 0) return;
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    const double done = std::clamp(r.done, 0.0, 1.0);
    const int left = done > 0.01 ? static_cast<int>(elapsed * (1.0 - done) / done) : 0;
    const double speed = elapsed > 0 ? static_cast<double>(r.frame) * 0.06 / elapsed : 0.0;
    std::fprintf(stderr, "\r%3d%%  frame %6" PRIu64 "  %5.2fx real time  about %d:%02d left ",
                 static_cast<int>(done * 100), r.frame, speed, left / 60, left % 60);
    shown_ = true;
}

void progress_line::finish() {
    if (shown_) std::fputc('\n', stderr);
    shown_ = false;
}

std::string timeline_line(const frame_record& r) {
    std::string line = std::to_string(r.frame) + '\t' + std::to_string(r.order) + '\t' +
                       std::to_string(r.row) + '\t' + std::to_string(r.variant) + '\t';
    for (size_t i = 0; i < r.calls.size(); ++i) {
        if (i) line += ' ';
        line += std::string(part_name(r.calls[i].part)) + ':' + std::to_string(r.calls[i].mode);
    }
    return line + '\n';
}

capture_writer::capture_writer(const std::string& directory, int every)
    : directory_(directory), every_(std::max(every, 1)) {
    std::error_code error;
    made_directory_ = std::filesystem::create_directories(directory, error);
    ok_ = std::filesystem::is_directory(directory, error) &&
          ::access(directory.c_str(), W_OK | X_OK) == 0;
}

capture_writer::~capture_writer() {
    progress_.finish();
    if (timeline_) std::fclose(timeline_);
    std::error_code error;
    if (!opened_ && made_directory_) std::filesystem::remove(directory_, error);
}

bool capture_writer::open_files() {
    if (opened_) return audio_ && audio_->ok() && timeline_;
    opened_ = true;
    audio_ = std::make_unique<wav_writer>(directory_ + "/audio.wav", sound_frequency);
    timeline_ = std::fopen((directory_ + "/timeline.tsv").c_str(), "w");
    if (timeline_) std::fputs("frame\torder\trow\tsync_variant\truns\n", timeline_);
    if (!audio_->ok() || !timeline_) ok_ = false;
    return ok_;
}

void capture_writer::frame_presented(const rgb_frame& frame) {
    if (!open_files()) return;
    const uint64_t number = frames_presented_++;
    if (number % static_cast<uint64_t>(every_) != 0) return;
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%05" PRIu64 ".png", number);
    if (!write_png(directory_ + name, frame)) ok_ = false;
}

void capture_writer::audio_played(const std::vector<int16_t>& audio) {
    if (!open_files()) return;
    if (!audio_->write(audio.data(), audio.size() / 2)) ok_ = false;
}

void capture_writer::frame_done(const frame_record& record) {
    if (!open_files()) return;
    if (timeline_) std::fputs(timeline_line(record).c_str(), timeline_);
    progress_.update(record);
}

void bench_recorder::part_ran(const part_call& call, std::chrono::nanoseconds time) {
    times_[call.part].push_back(std::chrono::duration<double, std::micro>(time).count());
}

void bench_recorder::frame_done(const frame_record& record) {
    ++frames_;
    progress_.update(record);
}

void bench_recorder::report(std::FILE* out) {
    progress_.finish();
    std::fprintf(out, "%-10s %8s %12s %12s %12s\n", "part", "frames", "median us", "p99 us",
                 "max us");
    for (const auto& [part, recorded] : times_) {
        std::vector<double> t = recorded;
        std::sort(t.begin(), t.end());
        auto at = [&](double q) {
            return t[static_cast<size_t>(q * static_cast<double>(t.size() - 1))];
        };
        std::fprintf(out, "%-10s %8zu %12.1f %12.1f %12.1f\n", part_name(part), t.size(), at(0.5),
                     at(0.99), t.back());
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    const double show_seconds = static_cast<double>(frames_) * 0.06;
    std::fprintf(out, "show: %" PRIu64 " frames in %.2f s: %.1f frames/s, %.1fx real time\n",
                 frames_, seconds, seconds > 0 ? static_cast<double>(frames_) / seconds : 0.0,
                 seconds > 0 ? show_seconds / seconds : 0.0);
}

} // namespace vilora
