#include "platform/hosts/video_file.h"

#include "platform/hosts/internal/video_streams.h"
#include "platform/hosts/output_file.h"

#include <cstring>

namespace vilora {

namespace {

struct codec_choice {
    const char* extension;
    const char* video_encoder;
    const char* audio_encoder;
};
constexpr codec_choice choices[] = {
    {".mkv", "ffv1", "flac"},
    {".mp4", "libx264", "aac"},
    {".webm", "libvpx-vp9", "libopus"},
};

const codec_choice* choice_for(const std::string& path) {
    for (const codec_choice& c : choices) {
        const size_t n = std::strlen(c.extension);
        if (path.size() > n && path.compare(path.size() - n, n, c.extension) == 0) return &c;
    }
    return nullptr;
}

} // namespace

struct video_file::encoding {
    std::unique_ptr<output_file> file; // the container is written to its temporary
    AVFormatContext* container = nullptr;
    video_stream video;
    audio_stream audio;
    bool header_written = false;
    bool finished = false;
    std::string error;

    ~encoding() {
        if (container) {
            if (container->pb) avio_closep(&container->pb);
            avformat_free_context(container);
        }
    }
    bool fail(const std::string& what, int code = 0) {
        if (error.empty()) error = code ? what + ": " + av_error_text(code) : what;
        return false;
    }
};

const char* video_file_extensions() {
    return ".mkv, .mp4 or .webm";
}

video_file::video_file(std::unique_ptr<encoding> state) : state_(std::move(state)) {}

video_file::~video_file() = default;

std::unique_ptr<video_file> video_file::create(const std::string& path, const video_format& format,
                                               std::string& error) {
    const codec_choice* choice = choice_for(path);
    if (!choice) {
        error = std::string("a video file name ends in ") + video_file_extensions();
        return nullptr;
    }
    if (format.width <= 0 || format.height <= 0 || format.width % 2 || format.height % 2) {
        error = "the frame size must be positive and even";
        return nullptr;
    }
    // The encoders' own statistics and notes are not for the user; errors come back as codes.
    av_log_set_level(AV_LOG_ERROR);
    auto state = std::make_unique<encoding>();
    int code = avformat_alloc_output_context2(&state->container, nullptr, nullptr, path.c_str());
    if (code < 0 || !state->container) {
        error = "no container for " + path + ": " + av_error_text(code);
        return nullptr;
    }
    if (!state->video.open(state->container, choice->video_encoder, format, error) ||
        !state->audio.open(state->container, choice->audio_encoder, format, error))
        return nullptr;
    state->file = std::make_unique<output_file>(path);
    if (!state->file->ok()) {
        error = state->file->cause();
        return nullptr;
    }
    // The container was chosen by the target's name; the muxer writes, and for
    // MP4 reads back, its temporary.
    av_freep(&state->container->url);
    state->container->url = av_strdup(state->file->temporary_path().c_str());
    if ((code = avio_open(&state->container->pb, state->file->temporary_path().c_str(),
                          AVIO_FLAG_WRITE)) < 0) {
        error = av_error_text(code);
        return nullptr;
    }
    // MP4 players start sooner with the index in front.
    AVDictionary* options = nullptr;
    if (std::strcmp(choice->extension, ".mp4") == 0)
        av_dict_set(&options, "movflags", "+faststart", 0);
    code = avformat_write_header(state->container, &options);
    av_dict_free(&options);
    if (code < 0) {
        error = "its header cannot be written: " + av_error_text(code);
        return nullptr;
    }
    state->header_written = true;
    return std::unique_ptr<video_file>(new video_file(std::move(state)));
}

bool video_file::add_frame(const rgb_frame& frame) {
    encoding& s = *state_;
    if (s.finished || !s.error.empty()) return false;
    std::string error;
    if (!s.video.add(s.container, frame, error)) return s.fail(error);
    return true;
}

bool video_file::add_audio(const int16_t* frames, size_t count) {
    encoding& s = *state_;
    if (s.finished || !s.error.empty()) return false;
    std::string error;
    if (!s.audio.add(s.container, frames, count, error)) return s.fail(error);
    return true;
}

bool video_file::finish() {
    encoding& s = *state_;
    if (s.finished) return s.error.empty();
    s.finished = true;
    std::string error;
    if (s.error.empty() && !s.video.drain(s.container, error)) s.fail(error);
    if (s.error.empty() && !s.audio.drain(s.container, error)) s.fail(error);
    if (s.header_written) {
        const int code = av_write_trailer(s.container);
        if (code < 0) s.fail("cannot close the video file", code);
    }
    const int code = avio_closep(&s.container->pb);
    if (code < 0) s.fail("cannot close the video file", code);
    if (!s.error.empty()) s.file->fail(s.error);
    if (s.file->commit()) return true;
    s.file->discard();
    s.error = s.file->failure();
    return false;
}

void video_file::discard() {
    encoding& s = *state_;
    if (s.container->pb) avio_closep(&s.container->pb);
    s.finished = true;
    s.file->discard();
}

const std::string& video_file::error() const {
    return state_->error;
}

} // namespace vilora
