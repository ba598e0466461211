#include "driver/capture.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
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

namespace {

constexpr const char* audio_name = "audio.wav";
constexpr const char* timeline_name = "timeline.tsv";

bool all_digits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// frame-NNNNN.png, five digits or more.
bool is_frame_name(std::string_view name) {
    return name.size() >= 15 && name.starts_with("frame-") && name.ends_with(".png") &&
           all_digits(name.substr(6, name.size() - 10));
}

// "5 frames", "1 frame"
std::string frames_text(uint64_t count) {
    return std::to_string(count) + (count == 1 ? " frame" : " frames");
}

// "a", "a and b", "a, b and c"
std::string listed(const std::vector<std::string>& items) {
    std::string text;
    for (size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
    return text;
}

} // namespace

bool is_capture_file(const std::string& name) {
    std::string_view base = name;
    // A temporary beside the file: NAME.PID-COUNT.part
    if (base.ends_with(".part")) {
        base.remove_suffix(5);
        const size_t dot = base.rfind('.');
        const size_t dash = base.rfind('-');
        if (dot == std::string_view::npos || dash == std::string_view::npos || dash < dot ||
            !all_digits(base.substr(dot + 1, dash - dot - 1)) || !all_digits(base.substr(dash + 1)))
            return false;
        base = base.substr(0, dot);
    }
    return base == audio_name || base == timeline_name || is_frame_name(base);
}

capture_writer::capture_writer(const std::string& directory, int every, bool force)
    : directory_name_(directory), every_(std::max(every, 1)), force_(force) {
    claim();
}

capture_writer::~capture_writer() {
    progress_.finish();
    discard_files();
    if (!opened_) directory_.remove_if_made_and_empty();
}

void capture_writer::claim() {
    if (!directory_.open(directory_name_)) {
        failure_ = directory_.failure();
        return;
    }
    if (!directory_.lock()) {
        failure_ = directory_.failure();
        refused_ = true;
        return;
    }
    const std::vector<std::string> entries = directory_.entries();
    if (force_ || entries.empty()) return;
    refused_ = true;
    std::vector<std::string> found;
    uint64_t frames = 0;
    for (const std::string& name : entries) {
        if (is_frame_name(name))
            ++frames;
        else if (name == audio_name || name == timeline_name)
            found.push_back(name);
    }
    if (frames) found.push_back(frames_text(frames));
    if (found.empty())
        failure_ = directory_.path() +
                   " is not empty: a capture goes into an empty or new directory (--force "
                   "writes into it all the same)";
    else
        failure_ = directory_.path() + " already holds a capture (" + listed(found) +
                   "): give --force to replace it";
}

std::string capture_writer::shown(const std::string& name) const {
    return (std::filesystem::path(directory_.path()) / name).string();
}

bool capture_writer::clear_earlier_capture() {
    for (const std::string& name : directory_.entries()) {
        struct stat status {};
        if (!is_capture_file(name) ||
            ::fstatat(directory_.descriptor(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0 ||
            S_ISDIR(status.st_mode))
            continue;
        if (::unlinkat(directory_.descriptor(), name.c_str(), 0) != 0) {
            fail(shown(name) + ": cannot be removed: " + system_reason(errno));
            return false;
        }
    }
    return true;
}

bool capture_writer::open_files() {
    if (opened_) return ok();
    opened_ = true;
    if (!ok() || (force_ && !clear_earlier_capture())) return false;
    const int directory = directory_.descriptor();
    audio_ = std::make_unique<wav_writer>(
        std::make_unique<output_file>(directory, audio_name, shown(audio_name)), sound_frequency);
    if (!audio_->ok()) {
        audio_->discard();
        fail(audio_->failure());
        return false;
    }
    timeline_ = std::make_unique<output_file>(directory, timeline_name, shown(timeline_name));
    std::FILE* timeline = timeline_->stream();
    if (timeline) std::fputs("frame\torder\trow\tsync_variant\truns\n", timeline);
    return timeline || timeline_failed();
}

bool capture_writer::timeline_failed() {
    timeline_->discard();
    fail(timeline_->failure());
    return false;
}

std::string capture_writer::discard_files() {
    std::vector<std::string> removed;
    if (audio_ && audio_->discard()) removed.push_back(audio_name);
    if (timeline_ && timeline_->discard()) removed.push_back(timeline_name);
    return listed(removed);
}

void capture_writer::fail(const std::string& what) {
    if (!ok()) return;
    const std::string removed = discard_files();
    failure_ = what + "\nthe capture in " + directory_.path() + " stopped at frame " +
               std::to_string(frames_presented_) + ": ";
    if (!removed.empty()) failure_ += "the unfinished " + removed + " removed, ";
    failure_ += frames_text(frames_kept_) + " kept";
}

void capture_writer::frame_presented(const rgb_frame& frame) {
    if (!open_files()) return;
    const uint64_t number = frames_presented_++;
    if (number % static_cast<uint64_t>(every_) != 0) return;
    char name[32];
    std::snprintf(name, sizeof name, "frame-%05" PRIu64 ".png", number);
    // Frames are many and small: each is whole, but not synced on its own.
    output_file file(directory_.descriptor(), name, shown(name), false);
    const std::vector<uint8_t> png = png_file_bytes(frame);
    if (png.empty()) file.fail("the frame has no pixels");
    if (!file.write(png.data(), png.size()) || !file.commit()) {
        file.discard();
        --frames_presented_;
        fail(file.failure());
        return;
    }
    ++frames_kept_;
}

void capture_writer::audio_played(const std::vector<int16_t>& audio) {
    if (!open_files()) return;
    if (audio_->write(audio.data(), audio.size() / 2)) return;
    audio_->discard();
    fail(audio_->failure());
}

void capture_writer::frame_done(const frame_record& record) {
    if (!open_files()) return;
    std::FILE* timeline = timeline_->stream();
    errno = 0;
    if (std::fputs(timeline_line(record).c_str(), timeline) < 0 || std::ferror(timeline)) {
        timeline_->fail(system_reason(errno ? errno : EIO));
        timeline_failed();
        return;
    }
    progress_.update(record);
}

bool capture_writer::finish(int status) {
    progress_.finish();
    if (!opened_ || !ok()) return ok();
    if (status != 0) {
        const std::string removed = discard_files();
        failure_ = "the capture in " + directory_.path() + " is incomplete" +
                   (removed.empty() ? "" : ": the unfinished " + removed + " removed");
        return false;
    }
    // The timeline's last lines leave its buffer here: this flush decides too.
    if (!timeline_->commit()) return timeline_failed();
    if (!audio_->finish()) {
        fail(audio_->failure());
        return false;
    }
    return true;
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
