// Watching the show headless: the capture writes every Nth frame as PNG, the
// whole audio as WAV and one timeline line per frame; the benchmark times
// every part's frames.
#pragma once

#include "driver/show.h"
#include "platform/hosts/image_files.h"
#include "platform/hosts/output_directory.h"
#include "platform/hosts/output_file.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace vilora {

// The progress line on stderr: how far the show has got, the frame, the speed
// against real time and an estimate of the time left.
class progress_line {
public:
    void update(const frame_record& record);
    void finish();

private:
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
    bool shown_ = false;
};

// A capture goes into an empty or new directory, locked while it runs. Nothing
// is written until the show's first frame or sound: a start-up that fails
// leaves the directory as it was (and removes it again if the capture made
// it). audio.wav and timeline.tsv are whole or absent; the first write that
// fails stops the capture.
class capture_writer : public show_observer {
public:
    // `every`: keep frames 0, N, 2N, ... as PNG. The directory is made, locked
    // and checked at once. `force`: a directory that is not empty is taken all
    // the same, and an earlier capture's files in it are removed first.
    capture_writer(const std::string& directory, int every, bool force);
    ~capture_writer() override;

    // False once anything failed; failure() says what.
    bool ok() const { return failure_.empty(); }
    // Whether the directory was refused (exit status 2) rather than unusable.
    bool refused() const { return refused_; }
    // The line or lines that say what failed and what became of the capture.
    const std::string& failure() const { return failure_; }
    // The frame as presented; written when its number is kept.
    void frame_presented(const rgb_frame& frame);

    void audio_played(const std::vector<int16_t>& audio) override;
    void frame_done(const frame_record& record) override;
    // Puts audio.wav and timeline.tsv in place when the show ran (`status` 0)
    // and all went well; removes them otherwise. False when anything failed.
    bool finish(int status);

private:
    // Refuses a directory in use or not empty (unless forced).
    void claim();
    // Opens audio.wav and timeline.tsv on the first call; false when they cannot be.
    bool open_files();
    // Removes the files of an earlier capture, before the first of this one's.
    bool clear_earlier_capture();
    // Notes the first failure (`what`: the file and its cause) and stops
    // keeping anything more; the unfinished files are removed.
    void fail(const std::string& what);
    // Drops the timeline after a failure of it; false.
    bool timeline_failed();
    // Drops audio.wav and timeline.tsv; the names of those removed.
    std::string discard_files();
    // The path of `name` in the directory, for messages.
    std::string shown(const std::string& name) const;

    std::string directory_name_;
    output_directory directory_;
    int every_;
    bool force_;
    bool refused_ = false;
    bool opened_ = false;
    uint64_t frames_presented_ = 0;
    uint64_t frames_kept_ = 0;
    std::unique_ptr<wav_writer> audio_;
    std::unique_ptr<output_file> timeline_;
    std::string failure_;
    progress_line progress_;
};

// Whether `name` is one of the files a capture writes (frame-NNNNN.png,
// audio.wav, timeline.tsv) or the temporary of one.
bool is_capture_file(const std::string& name);

// One line of timeline.tsv: frame, order, row, variant and the run calls as name:mode.
std::string timeline_line(const frame_record& record);

class bench_recorder : public show_observer {
public:
    void part_ran(const part_call& call, std::chrono::nanoseconds time) override;
    void frame_done(const frame_record& record) override;
    // Per part: frames, median, 99th percentile and maximum of its run in
    // microseconds; then the show's frames per second and its speed against real time.
    void report(std::FILE* out);

private:
    std::map<part_id, std::vector<double>> times_; // microseconds
    uint64_t frames_ = 0;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
    progress_line progress_;
};

} // namespace vilora
