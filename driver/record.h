// Recording the show headless into one video file: every frame as presented,
// scaled to 4:3 by whole pixels, and the music of each frame beside it.
#pragma once

#include "driver/capture.h"
#include "driver/show.h"
#include "platform/hosts/video_file.h"

#include <memory>
#include <string>

namespace vilora {

class record_writer : public show_observer {
public:
    // Frames of width x height, recorded at `scale` times the 4:3 shape.
    record_writer(const std::string& path, int scale, int width, int height);

    // False once anything failed; error() says what.
    bool ok() const { return video_ && error_.empty(); }
    const std::string& error() const { return error_; }
    uint64_t frames() const { return frames_; }

    void frame_presented(const rgb_frame& frame);
    void audio_played(const std::vector<int16_t>& audio) override;
    void frame_done(const frame_record& record) override;
    // Closes the file; false when it could not be written completely.
    bool finish();
    // Closes the file and removes it: a run that never started leaves none.
    void discard();

private:
    void fail(const std::string& what);

    std::unique_ptr<video_file> video_;
    int scale_;
    uint64_t frames_ = 0;
    std::string error_;
    progress_line progress_;
};

} // namespace vilora
