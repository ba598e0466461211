// The two streams of a video file, each an encoder whose packets go into the
// container. Internal to the video file writer.
#pragma once

#include "platform/hosts/video_file.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <string>

namespace vilora {

std::string av_error_text(int code);

// What both streams share: the encoder, its stream in the container, and
// the packets it hands over.
class encoded_stream {
public:
    encoded_stream() = default;
    ~encoded_stream();
    encoded_stream(const encoded_stream&) = delete;
    encoded_stream& operator=(const encoded_stream&) = delete;

    // Sends a frame (null: the end) and writes every packet the encoder has ready.
    bool encode(AVFormatContext* container, AVFrame* frame, std::string& error);

protected:
    // Finds the encoder and adds its stream; false with the reason otherwise.
    bool prepare(AVFormatContext* container, const char* encoder_name, std::string& error);
    // Opens the encoder with the settings made and copies them to the stream.
    bool start(AVDictionary** options, std::string& error);

    const AVCodec* codec_ = nullptr;
    AVCodecContext* context_ = nullptr;
    AVStream* stream_ = nullptr;
    AVPacket* packet_ = nullptr;
    AVFrame* frame_ = nullptr;
    // Length of a packet the encoder leaves without one, in the encoder's time
    // base; 0 keeps the encoder's own.
    int64_t packet_duration_ = 0;
};

// 0x00RRGGBB frames, converted to the encoder's pixel format where it has no
// RGB one; one frame per tick of the frame rate.
class video_stream : public encoded_stream {
public:
    ~video_stream();
    bool open(AVFormatContext* container, const char* encoder_name, const video_format& format,
              std::string& error);
    bool add(AVFormatContext* container, const rgb_frame& frame, std::string& error);
    bool drain(AVFormatContext* container, std::string& error);

private:
    SwsContext* convert_ = nullptr; // null when the encoder takes the pixels as they are
    int64_t next_pts_ = 0;
};

// Interleaved 16-bit stereo, resampled to what the encoder takes and cut into
// the encoder's frame size.
class audio_stream : public encoded_stream {
public:
    ~audio_stream();
    bool open(AVFormatContext* container, const char* encoder_name, const video_format& format,
              std::string& error);
    bool add(AVFormatContext* container, const int16_t* frames, size_t count, std::string& error);
    bool drain(AVFormatContext* container, std::string& error);

private:
    // Encodes whole frames from the queue; with `all`, the rest as a last one.
    bool encode_queued(AVFormatContext* container, bool all, std::string& error);

    SwrContext* resample_ = nullptr;
    AVAudioFifo* queue_ = nullptr;
    int frame_size_ = 0;
    int64_t next_pts_ = 0; // in samples at the encoder's rate
};

} // namespace vilora
