// Pictures and sound as files for people to look at and listen to: PNG frames
// (the capture, screenshots, the kit's pictures and previews) and 16-bit
// stereo WAV, each written whole or not at all (output_file.h).
#pragma once

#include "platform/hosts/host.h"
#include "platform/hosts/output_file.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vilora {

// 0x00RRGGBB pixels as the bytes of an 8-bit RGB PNG file; empty for a frame
// whose pixels do not fill it.
std::vector<uint8_t> png_file_bytes(const rgb_frame& frame);
// 0xAARRGGBB pixels as an 8-bit RGBA PNG file.
std::vector<uint8_t> png_file_bytes_rgba(int width, int height,
                                         const std::vector<uint32_t>& pixels);

// Writes the PNG; false with the file and the cause in `failure`.
bool write_png(const std::string& path, const rgb_frame& frame, std::string& failure);
bool write_png_rgba(const std::string& path, int width, int height,
                    const std::vector<uint32_t>& pixels, std::string& failure);

// A WAV file written as the audio comes: a plain WAV while it fits, whose
// RIFF size field (the file less 8 bytes) is 32 bits wide. Once the sound
// would outgrow it, or `most_plain_frames` (for tests), what was written moves
// into an RF64 file, the 64-bit-sized form of WAV, and the rest follows there.
class wav_writer {
public:
    wav_writer(std::unique_ptr<output_file> file, int frequency,
               uint64_t most_plain_frames = UINT64_MAX);
    ~wav_writer();
    wav_writer(const wav_writer&) = delete;
    wav_writer& operator=(const wav_writer&) = delete;

    bool ok() const;
    // Appends interleaved 16-bit stereo frames.
    bool write(const int16_t* frames, size_t count);
    // Completes the header and puts the file in place; false when it cannot.
    bool finish();
    // Drops what was written; true when there was a file to remove.
    bool discard();
    // What failed: the file, the cause and what became of it.
    std::string failure() const;

private:
    bool open_sound(int format);
    bool move_into_rf64();
    bool fail(const std::string& cause);

    std::unique_ptr<output_file> file_;
    int frequency_;
    uint64_t most_plain_frames_;
    uint64_t frames_ = 0;
    bool rf64_ = false;
    struct sound;
    std::unique_ptr<sound> sound_;
};

} // namespace vilora
