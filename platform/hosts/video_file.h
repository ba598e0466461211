// The show as one video file with its sound, through FFmpeg's libraries. The
// file name's extension picks the container and codecs:
//   .mkv   Matroska, FFV1 (lossless RGB) and FLAC: the frames come back exactly
//   .mp4   MP4, H.264 and AAC, where the encoders exist
//   .webm  WebM, VP9 and Opus
// Frames arrive at one rate given as a fraction (the show's 50/3 per second),
// sound as interleaved 16-bit stereo at its own rate.
#pragma once

#include "platform/hosts/host.h"

#include <cstdint>
#include <memory>
#include <string>

namespace vilora {

struct video_format {
    int width = 0; // pixels of every frame; even numbers
    int height = 0;
    int frames_per_second_numerator = 50;
    int frames_per_second_denominator = 3;
    int sample_rate = 44100;
};

class video_file {
public:
    // Null, with the reason in `error` (one line), when the file cannot be made:
    // an extension without codecs, an encoder missing, a folder not writable.
    // The file is written to a temporary name beside `path` until finish().
    static std::unique_ptr<video_file> create(const std::string& path, const video_format& format,
                                              std::string& error);
    ~video_file();
    video_file(const video_file&) = delete;
    video_file& operator=(const video_file&) = delete;

    // A frame of the format's size; the next one in time.
    bool add_frame(const rgb_frame& frame);
    // `count` stereo frames of sound, following the sound added before.
    bool add_audio(const int16_t* frames, size_t count);
    // Drains the encoders, closes the file and puts it in place under its
    // name; false when anything on the way failed, and then nothing is left
    // under that name. Nothing can be added after it.
    bool finish();
    // Drops what was written: nothing is left under the file's name.
    void discard();
    // The reason of the first failure; empty while all went well. After a
    // failed finish(): the file, the cause and what became of the file.
    const std::string& error() const;

    struct encoding;

private:
    explicit video_file(std::unique_ptr<encoding> state);
    std::unique_ptr<encoding> state_;
};

// The extensions create() accepts, for messages: ".mkv, .mp4 or .webm".
const char* video_file_extensions();

} // namespace vilora
