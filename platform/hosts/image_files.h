// Pictures and sound as files for people to look at and listen to: PNG frames
// (the capture, the kit's previews) and 16-bit stereo WAV.
#pragma once

#include "platform/hosts/host.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vilora {

// Writes 0x00RRGGBB pixels as an 8-bit RGB PNG; false on any failure.
bool write_png(const std::string& path, const rgb_frame& frame);
// Writes 0xAARRGGBB pixels as an 8-bit RGBA PNG.
bool write_png_rgba(const std::string& path, int width, int height,
                    const std::vector<uint32_t>& pixels);

// A WAV file written as the audio comes.
class wav_writer {
public:
    wav_writer(const std::string& path, int frequency);
    ~wav_writer();
    wav_writer(const wav_writer&) = delete;
    wav_writer& operator=(const wav_writer&) = delete;

    bool ok() const;
    // Appends interleaved 16-bit stereo frames.
    bool write(const int16_t* frames, size_t count);

private:
    struct file;
    std::unique_ptr<file> file_;
};

} // namespace vilora
