// Watching the show headless: the capture writes every Nth frame as PNG, the
// whole audio as WAV and one timeline line per frame; the benchmark times
// every part's frames.
#pragma once

#include "driver/show.h"
#include "platform/hosts/image_files.h"

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

// Nothing is written until the show's first frame or sound: a start-up that
// fails leaves the directory as it was (and removes it again if the capture
// made it).
class capture_writer : public show_observer {
public:
    // `every`: keep frames 0, N, 2N, ... as PNG. The directory is made, and
    // checked to be writable, at once.
    capture_writer(const std::string& directory, int every);
    ~capture_writer() override;

    bool ok() const { return ok_; }
    // The frame as presented; written when its number is kept.
    void frame_presented(const rgb_frame& frame);

    void audio_played(const std::vector<int16_t>& audio) override;
    void frame_done(const frame_record& record) override;

private:
    // Opens audio.wav and timeline.tsv on the first call; false when they cannot be.
    bool open_files();

    std::string directory_;
    int every_;
    bool ok_ = false;
    bool made_directory_ = false;
    bool opened_ = false;
    uint64_t frames_presented_ = 0;
    std::unique_ptr<wav_writer> audio_;
    std::FILE* timeline_ = nullptr;
    progress_line progress_;
};

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
