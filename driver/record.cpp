#include "driver/record.h"

#include "platform/hosts/frame_scaling.h"
#include "platform/sound/sound.h"

namespace vilora {

record_writer::record_writer(const std::string& path, int scale, int width, int height)
    : scale_(scale) {
    const screen_size shape = shown_shape(width, height);
    video_format format;
    format.width = shape.width * scale;
    format.height = shape.height * scale;
    // One frame per 60 ms, as the show runs: 50/3 frames a second.
    format.frames_per_second_numerator = 50;
    format.frames_per_second_denominator = 3;
    format.sample_rate = sound_frequency;
    video_ = video_file::create(path, format, error_);
}

void record_writer::fail(const std::string& what) {
    if (error_.empty()) error_ = what;
}

void record_writer::frame_presented(const rgb_frame& frame) {
    if (!ok()) return;
    if (!video_->add_frame(scaled_to_shown_shape(frame, scale_))) fail(video_->error());
    ++frames_;
}

void record_writer::audio_played(const std::vector<int16_t>& audio) {
    if (ok() && !video_->add_audio(audio.data(), audio.size() / 2)) fail(video_->error());
}

void record_writer::frame_done(const frame_record& record) {
    progress_.update(record);
}

bool record_writer::finish() {
    progress_.finish();
    if (!video_) return false;
    if (video_->finish()) return error_.empty();
    error_ = video_->error(); // now with the file and what became of it
    return false;
}

void record_writer::discard() {
    progress_.finish();
    if (video_) video_->discard();
    video_.reset();
}

} // namespace vilora
