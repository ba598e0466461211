// A video file read back through FFmpeg's decoders, as an independent check
// of what the recorder wrote.
#pragma once

#include "platform/hosts/host.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vilora::testing {

struct decoded_video {
    bool ok = false;
    std::string video_codec;
    std::string audio_codec;
    int width = 0;
    int height = 0;
    double duration = 0; // seconds, as the container says
    int sample_rate = 0;
    int64_t frame_count = 0;
    std::vector<rgb_frame> first_frames; // 0x00RRGGBB, as many as asked for
    std::vector<int16_t> audio;          // interleaved stereo, when the decoder gives 16-bit
    int64_t audio_frames = 0;            // stereo frames decoded
    std::vector<double> frame_times;     // seconds, of every frame
};

decoded_video read_video(const std::string& path, size_t frames_to_keep);

} // namespace vilora::testing
