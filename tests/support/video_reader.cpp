#include "tests/support/video_reader.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <cstring>
#include <memory>

namespace vilora::testing {

namespace {

struct decoder {
    AVCodecContext* context = nullptr;
    int stream = -1;
    ~decoder() { avcodec_free_context(&context); }
    bool open(AVFormatContext* file, AVMediaType type) {
        const AVCodec* codec = nullptr;
        stream = av_find_best_stream(file, type, -1, -1, &codec, 0);
        if (stream < 0 || !codec) return false;
        context = avcodec_alloc_context3(codec);
        return avcodec_parameters_to_context(context, file->streams[stream]->codecpar) >= 0 &&
               avcodec_open2(context, codec, nullptr) >= 0;
    }
};

rgb_frame to_rgb(const AVFrame* frame) {
    rgb_frame out;
    out.width = frame->width;
    out.height = frame->height;
    out.pixels.resize(static_cast<size_t>(out.width) * out.height);
    SwsContext* convert = sws_getContext(
        frame->width, frame->height, static_cast<AVPixelFormat>(frame->format), frame->width,
        frame->height, AV_PIX_FMT_BGR0, SWS_POINT, nullptr, nullptr, nullptr);
    uint8_t* target = reinterpret_cast<uint8_t*>(out.pixels.data());
    const int pitch = out.width * 4;
    sws_scale(convert, frame->data, frame->linesize, 0, frame->height, &target, &pitch);
    sws_freeContext(convert);
    for (uint32_t& p : out.pixels) p &= 0xFFFFFF;
    return out;
}

void take_audio(const AVFrame* frame, decoded_video& out) {
    out.audio_frames += frame->nb_samples;
    if (frame->format != AV_SAMPLE_FMT_S16) return;
    const auto* samples = reinterpret_cast<const int16_t*>(frame->data[0]);
    out.audio.insert(out.audio.end(), samples, samples + frame->nb_samples * 2);
}

} // namespace

decoded_video read_video(const std::string& path, size_t frames_to_keep) {
    decoded_video out;
    AVFormatContext* file = nullptr;
    if (avformat_open_input(&file, path.c_str(), nullptr, nullptr) < 0) return out;
    std::unique_ptr<AVFormatContext*, void (*)(AVFormatContext**)> closer(&file,
                                                                          avformat_close_input);
    decoder video, audio;
    if (avformat_find_stream_info(file, nullptr) < 0 || !video.open(file, AVMEDIA_TYPE_VIDEO) ||
        !audio.open(file, AVMEDIA_TYPE_AUDIO))
        return out;
    out.video_codec = video.context->codec->name;
    out.audio_codec = audio.context->codec->name;
    out.width = video.context->width;
    out.height = video.context->height;
    out.sample_rate = audio.context->sample_rate;
    out.duration = static_cast<double>(file->duration) / AV_TIME_BASE;
    const AVRational video_base = file->streams[video.stream]->time_base;

    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    auto drain = [&](decoder& d) {
        while (avcodec_receive_frame(d.context, frame) >= 0) {
            if (&d == &video) {
                ++out.frame_count;
                out.frame_times.push_back(static_cast<double>(frame->best_effort_timestamp) *
                                          av_q2d(video_base));
                if (out.first_frames.size() < frames_to_keep)
                    out.first_frames.push_back(to_rgb(frame));
            } else {
                take_audio(frame, out);
            }
        }
    };
    while (av_read_frame(file, packet) >= 0) {
        decoder* d = packet->stream_index == video.stream   ? &video
                     : packet->stream_index == audio.stream ? &audio
                                                            : nullptr;
        if (d && avcodec_send_packet(d->context, packet) >= 0) drain(*d);
        av_packet_unref(packet);
    }
    for (decoder* d : {&video, &audio}) {
        avcodec_send_packet(d->context, nullptr);
        drain(*d);
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    out.ok = true;
    return out;
}

} // namespace vilora::testing
