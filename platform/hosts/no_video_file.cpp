// video_file of a build without FFmpeg (the WebAssembly engine): no video file
// can be made, and create says so; the desktop build writes them.
#include "platform/hosts/video_file.h"

namespace vilora {

struct video_file::encoding {
    std::string error;
};

const char* video_file_extensions() {
    return ".mkv, .mp4 or .webm";
}

video_file::video_file(std::unique_ptr<encoding> state) : state_(std::move(state)) {}

video_file::~video_file() = default;

std::unique_ptr<video_file> video_file::create(const std::string&, const video_format&,
                                               std::string& error) {
    error = "this build writes no video files (the desktop build does)";
    return nullptr;
}

bool video_file::add_frame(const rgb_frame&) {
    return false;
}

bool video_file::add_audio(const int16_t*, size_t) {
    return false;
}

bool video_file::finish() {
    return false;
}

void video_file::discard() {}

const std::string& video_file::error() const {
    return state_->error;
}

} // namespace vilora
