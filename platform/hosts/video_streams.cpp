#include "platform/hosts/internal/video_streams.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <cstring>

namespace vilora {

std::string av_error_text(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

encoded_stream::~encoded_stream() {
    avcodec_free_context(&context_);
    av_packet_free(&packet_);
    av_frame_free(&frame_);
}

bool encoded_stream::prepare(AVFormatContext* container, const char* encoder_name,
                             std::string& error) {
    codec_ = avcodec_find_encoder_by_name(encoder_name);
    if (!codec_) {
        error = std::string("this FFmpeg has no ") + encoder_name + " encoder";
        return false;
    }
    context_ = avcodec_alloc_context3(codec_);
    stream_ = avformat_new_stream(container, nullptr);
    packet_ = av_packet_alloc();
    frame_ = av_frame_alloc();
    if (!context_ || !stream_ || !packet_ || !frame_) {
        error = "out of memory";
        return false;
    }
    if (container->oformat->flags & AVFMT_GLOBALHEADER)
        context_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    context_->thread_count = 0; // as many as the machine has
    return true;
}

bool encoded_stream::start(AVDictionary** options, std::string& error) {
    int code = avcodec_open2(context_, codec_, options);
    if (code >= 0) code = avcodec_parameters_from_context(stream_->codecpar, context_);
    if (code < 0) {
        error =
            std::string("cannot start the ") + codec_->name + " encoder: " + av_error_text(code);
        return false;
    }
    stream_->time_base = context_->time_base;
    return true;
}

bool encoded_stream::encode(AVFormatContext* container, AVFrame* frame, std::string& error) {
    int code = avcodec_send_frame(context_, frame);
    while (code >= 0) {
        code = avcodec_receive_packet(context_, packet_);
        if (code == AVERROR(EAGAIN) || code == AVERROR_EOF) return true;
        if (code < 0) break;
        if (packet_->duration == 0) packet_->duration = packet_duration_;
        av_packet_rescale_ts(packet_, context_->time_base, stream_->time_base);
        packet_->stream_index = stream_->index;
        code = av_interleaved_write_frame(container, packet_);
    }
    error = std::string("the ") + codec_->name + " encoder failed: " + av_error_text(code);
    return false;
}

namespace {

// The encoder's settings: lossless and quick for the archive copy; for the
// others a quality that keeps the hard pixel edges of the show.
void video_options(const char* encoder, AVDictionary** options) {
    if (std::strcmp(encoder, "ffv1") == 0) {
        av_dict_set(options, "level", "3", 0); // slices, which encode in parallel
        av_dict_set(options, "slices", "4", 0);
    } else if (std::strcmp(encoder, "libx264") == 0) {
        av_dict_set(options, "preset", "veryfast", 0);
        av_dict_set(options, "crf", "18", 0);
    } else if (std::strcmp(encoder, "libvpx-vp9") == 0) {
        // The quickest settings: the other ones take several times the show's length.
        av_dict_set(options, "deadline", "realtime", 0);
        av_dict_set(options, "cpu-used", "8", 0);
        av_dict_set(options, "row-mt", "1", 0);
        av_dict_set(options, "crf", "30", 0);
        av_dict_set(options, "b", "0", 0);
    }
}

bool takes_pixel_format(const AVCodec* codec, AVPixelFormat format) {
    for (const AVPixelFormat* f = codec->pix_fmts; f && *f != AV_PIX_FMT_NONE; ++f)
        if (*f == format) return true;
    return false;
}

// 0x00RRGGBB in memory, little-endian: B, G, R, 0.
constexpr AVPixelFormat frame_pixel_format = AV_PIX_FMT_BGR0;

} // namespace

video_stream::~video_stream() {
    sws_freeContext(convert_);
}

bool video_stream::open(AVFormatContext* container, const char* encoder_name,
                        const video_format& format, std::string& error) {
    if (!prepare(container, encoder_name, error)) return false;
    context_->width = format.width;
    context_->height = format.height;
    // One tick of the time base per frame: 3/50 s for the show.
    context_->time_base = {format.frames_per_second_denominator,
                           format.frames_per_second_numerator};
    context_->framerate = {format.frames_per_second_numerator,
                           format.frames_per_second_denominator};
    packet_duration_ = 1; // so that the last frame is shown for its 60 ms too
    const bool rgb = takes_pixel_format(codec_, frame_pixel_format);
    context_->pix_fmt = rgb ? frame_pixel_format : AV_PIX_FMT_YUV420P;
    context_->gop_size = rgb ? 1 : 50; // a key frame every 3 s where frames depend on others
    if (!rgb) {
        context_->colorspace = AVCOL_SPC_SMPTE170M; // what the converter's default matrix is
        context_->color_range = AVCOL_RANGE_MPEG;
        convert_ = sws_getContext(format.width, format.height, frame_pixel_format, format.width,
                                  format.height, AV_PIX_FMT_YUV420P,
                                  SWS_BILINEAR | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
        if (!convert_) {
            error = "cannot convert the frames for the video encoder";
            return false;
        }
    }
    AVDictionary* options = nullptr;
    video_options(encoder_name, &options);
    const bool started = start(&options, error);
    av_dict_free(&options);
    if (!started) return false;
    frame_->format = context_->pix_fmt;
    frame_->width = format.width;
    frame_->height = format.height;
    if (av_frame_get_buffer(frame_, 0) < 0) {
        error = "out of memory";
        return false;
    }
    return true;
}

bool video_stream::add(AVFormatContext* container, const rgb_frame& frame, std::string& error) {
    if (frame.width != context_->width || frame.height != context_->height ||
        frame.pixels.size() != static_cast<size_t>(frame.width) * frame.height) {
        error = "a frame of the wrong size";
        return false;
    }
    if (av_frame_make_writable(frame_) < 0) {
        error = "out of memory";
        return false;
    }
    const auto* pixels = reinterpret_cast<const uint8_t*>(frame.pixels.data());
    const int pitch = frame.width * 4;
    if (convert_) {
        sws_scale(convert_, &pixels, &pitch, 0, frame.height, frame_->data, frame_->linesize);
    } else {
        for (int y = 0; y < frame.height; ++y)
            std::memcpy(frame_->data[0] + static_cast<ptrdiff_t>(y) * frame_->linesize[0],
                        pixels + static_cast<ptrdiff_t>(y) * pitch, static_cast<size_t>(pitch));
    }
    frame_->pts = next_pts_++;
    return encode(container, frame_, error);
}

bool video_stream::drain(AVFormatContext* container, std::string& error) {
    return encode(container, nullptr, error);
}

namespace {

bool takes_sample_rate(const AVCodec* codec, int rate) {
    if (!codec->supported_samplerates) return true;
    for (const int* r = codec->supported_samplerates; *r; ++r)
        if (*r == rate) return true;
    return false;
}

AVSampleFormat sample_format_for(const AVCodec* codec) {
    if (!codec->sample_fmts) return AV_SAMPLE_FMT_S16;
    for (const AVSampleFormat* f = codec->sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f)
        if (*f == AV_SAMPLE_FMT_S16) return *f;
    return codec->sample_fmts[0];
}

constexpr int opus_rate = 48000; // the one rate every Opus encoder takes

} // namespace

audio_stream::~audio_stream() {
    swr_free(&resample_);
    if (queue_) av_audio_fifo_free(queue_);
}

bool audio_stream::open(AVFormatContext* container, const char* encoder_name,
                        const video_format& format, std::string& error) {
    if (!prepare(container, encoder_name, error)) return false;
    const int rate = takes_sample_rate(codec_, format.sample_rate) ? format.sample_rate : opus_rate;
    context_->sample_rate = rate;
    context_->sample_fmt = sample_format_for(codec_);
    av_channel_layout_default(&context_->ch_layout, 2);
    context_->time_base = {1, rate};
    if (context_->sample_fmt != AV_SAMPLE_FMT_S16) context_->bit_rate = 192000;
    if (!start(nullptr, error)) return false;

    const bool any_size =
        (codec_->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE) || context_->frame_size <= 0;
    frame_size_ = any_size ? 4096 : context_->frame_size;
    AVChannelLayout stereo;
    av_channel_layout_default(&stereo, 2);
    const int code =
        swr_alloc_set_opts2(&resample_, &context_->ch_layout, context_->sample_fmt, rate, &stereo,
                            AV_SAMPLE_FMT_S16, format.sample_rate, 0, nullptr);
    if (code < 0 || swr_init(resample_) < 0) {
        error = "cannot convert the sound for the audio encoder";
        return false;
    }
    queue_ = av_audio_fifo_alloc(context_->sample_fmt, 2, frame_size_ * 2);
    if (!queue_) {
        error = "out of memory";
        return false;
    }
    return true;
}

bool audio_stream::add(AVFormatContext* container, const int16_t* frames, size_t count,
                       std::string& error) {
    const int in_count = static_cast<int>(count);
    const int room = swr_get_out_samples(resample_, in_count);
    uint8_t** converted = nullptr;
    if (room < 0 || av_samples_alloc_array_and_samples(&converted, nullptr, 2, std::max(room, 1),
                                                       context_->sample_fmt, 0) < 0) {
        error = "out of memory";
        return false;
    }
    const auto* in = reinterpret_cast<const uint8_t*>(frames);
    const int made = swr_convert(resample_, converted, room, frames ? &in : nullptr, in_count);
    const bool queued =
        made >= 0 && av_audio_fifo_write(queue_, reinterpret_cast<void**>(converted), made) == made;
    av_freep(&converted[0]);
    av_freep(&converted);
    if (!queued) {
        error = "cannot convert the sound";
        return false;
    }
    return encode_queued(container, false, error);
}

bool audio_stream::encode_queued(AVFormatContext* container, bool all, std::string& error) {
    const bool small_last =
        codec_->capabilities & (AV_CODEC_CAP_SMALL_LAST_FRAME | AV_CODEC_CAP_VARIABLE_FRAME_SIZE);
    while (av_audio_fifo_size(queue_) >= frame_size_ || (all && av_audio_fifo_size(queue_) > 0)) {
        const int take = std::min(av_audio_fifo_size(queue_), frame_size_);
        av_frame_unref(frame_);
        // An encoder that wants whole frames gets the last one filled up with silence.
        frame_->nb_samples = take < frame_size_ && !small_last ? frame_size_ : take;
        frame_->format = context_->sample_fmt;
        frame_->sample_rate = context_->sample_rate;
        if (av_channel_layout_copy(&frame_->ch_layout, &context_->ch_layout) < 0 ||
            av_frame_get_buffer(frame_, 0) < 0) {
            error = "out of memory";
            return false;
        }
        av_samples_set_silence(frame_->data, 0, frame_->nb_samples, 2, context_->sample_fmt);
        av_audio_fifo_read(queue_, reinterpret_cast<void**>(frame_->data), take);
        frame_->pts = next_pts_;
        next_pts_ += frame_->nb_samples;
        if (!encode(container, frame_, error)) return false;
    }
    return true;
}

bool audio_stream::drain(AVFormatContext* container, std::string& error) {
    // What the resampler still holds, then the rest of the queue, then the encoder's delay.
    if (!add(container, nullptr, 0, error)) return false;
    if (!encode_queued(container, true, error)) return false;
    return encode(container, nullptr, error);
}

} // namespace vilora
