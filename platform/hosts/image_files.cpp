#include "platform/hosts/image_files.h"

#include <png.h>
#include <sndfile.h>

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace vilora {

namespace {
// Rows are handed to libpng one at a time, built by `row_of`; the file is made
// in memory, so that writing it is one checked write.
template <typename RowOf>
std::vector<uint8_t> png_rows(int width, int height, int colour_type, int channels, RowOf row_of) {
    if (width <= 0 || height <= 0) return {};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<uint8_t> bytes;
    std::vector<png_byte> row(static_cast<size_t>(width) * static_cast<size_t>(channels));
    if (png && info && setjmp(png_jmpbuf(png)) == 0) {
        png_set_write_fn(
            png, &bytes,
            [](png_structp p, png_bytep data, size_t size) {
                auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
                out->insert(out->end(), data, data + size);
            },
            nullptr);
        png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                     8, colour_type, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < height; ++y) {
            row_of(y, row.data());
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
    } else {
        bytes.clear();
    }
    png_destroy_write_struct(&png, &info);
    return bytes;
}

bool write_bytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string& failure) {
    if (bytes.empty()) {
        failure = path + ": cannot be written: the picture has no pixels";
        return false;
    }
    return write_whole_file(path, bytes.data(), bytes.size(), failure);
}
} // namespace

std::vector<uint8_t> png_file_bytes(const rgb_frame& frame) {
    if (frame.pixels.size() != static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height))
        return {};
    return png_rows(frame.width, frame.height, PNG_COLOR_TYPE_RGB, 3, [&](int y, png_byte* row) {
        const uint32_t* p = &frame.pixels[static_cast<size_t>(y * frame.width)];
        for (int x = 0; x < frame.width; ++x) {
            row[3 * x] = static_cast<png_byte>(p[x] >> 16);
            row[3 * x + 1] = static_cast<png_byte>(p[x] >> 8);
            row[3 * x + 2] = static_cast<png_byte>(p[x]);
        }
    });
}

std::vector<uint8_t> png_file_bytes_rgba(int width, int height,
                                         const std::vector<uint32_t>& pixels) {
    if (pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) return {};
    return png_rows(width, height, PNG_COLOR_TYPE_RGB_ALPHA, 4, [&](int y, png_byte* row) {
        const uint32_t* p = &pixels[static_cast<size_t>(y * width)];
        for (int x = 0; x < width; ++x) {
            row[4 * x] = static_cast<png_byte>(p[x] >> 16);
            row[4 * x + 1] = static_cast<png_byte>(p[x] >> 8);
            row[4 * x + 2] = static_cast<png_byte>(p[x]);
            row[4 * x + 3] = static_cast<png_byte>(p[x] >> 24);
        }
    });
}

bool write_png(const std::string& path, const rgb_frame& frame, std::string& failure) {
    return write_bytes(path, png_file_bytes(frame), failure);
}

bool write_png_rgba(const std::string& path, int width, int height,
                    const std::vector<uint32_t>& pixels, std::string& failure) {
    return write_bytes(path, png_file_bytes_rgba(width, height, pixels), failure);
}

struct wav_writer::sound {
    SNDFILE* handle = nullptr;
    ~sound() {
        if (handle) sf_close(handle);
    }
};

wav_writer::wav_writer(std::unique_ptr<output_file> file, int frequency, uint64_t most_plain_frames)
    : file_(std::move(file)), frequency_(frequency), most_plain_frames_(most_plain_frames) {
    if (!open_sound(SF_FORMAT_WAV)) return;
    // The header lies before the sound; RIFF size = header + data - 8 < 2^32.
    const off_t header = ::lseek(file_->descriptor(), 0, SEEK_CUR);
    const uint64_t room = header > 0 ? 0xFFFFFFFFull + 8 - static_cast<uint64_t>(header) : 0;
    most_plain_frames_ = std::min(most_plain_frames_, room / 4);
}

wav_writer::~wav_writer() = default;

bool wav_writer::open_sound(int format) {
    if (!file_->ok()) return false;
    SF_INFO info{};
    info.samplerate = frequency_;
    info.channels = 2;
    info.format = format | SF_FORMAT_PCM_16;
    sound_ = std::make_unique<sound>();
    errno = 0;
    sound_->handle = sf_open_fd(file_->descriptor(), SFM_WRITE, &info, SF_FALSE);
    return sound_->handle || fail(errno ? system_reason(errno) : sf_strerror(nullptr));
}

bool wav_writer::fail(const std::string& cause) {
    file_->fail(cause);
    return false;
}

bool wav_writer::ok() const {
    return file_->ok() && sound_ && sound_->handle;
}

bool wav_writer::write(const int16_t* frames, size_t count) {
    if (!ok()) return false;
    if (!rf64_ && frames_ + count > most_plain_frames_ && !move_into_rf64()) return false;
    const auto wanted = static_cast<sf_count_t>(count);
    errno = 0;
    if (sf_writef_short(sound_->handle, frames, wanted) != wanted)
        return fail(errno ? system_reason(errno) : sf_strerror(sound_->handle));
    frames_ += count;
    return true;
}

// The plain WAV is completed, read back into a new RF64 temporary beside it
// and dropped: once, at 4 GiB of sound, at the cost of copying it.
bool wav_writer::move_into_rf64() {
    if (sf_close(sound_->handle) != 0) return fail("the WAV header could not be written");
    sound_->handle = nullptr;
    std::unique_ptr<output_file> plain = std::move(file_);
    file_ = plain->replacement();
    if (!open_sound(SF_FORMAT_RF64)) return false;
    rf64_ = true;
    SF_INFO info{};
    const int reading = ::dup(plain->descriptor());
    if (reading < 0 || ::lseek(reading, 0, SEEK_SET) != 0) return fail(system_reason(errno));
    SNDFILE* from = sf_open_fd(reading, SFM_READ, &info, SF_TRUE);
    if (!from) return fail(plain->shown() + " could not be read back: " + sf_strerror(nullptr));
    std::vector<int16_t> block(2 * 65536);
    bool copied = true;
    uint64_t frames_copied = 0;
    for (sf_count_t got; copied && (got = sf_readf_short(from, block.data(), 65536)) > 0;) {
        errno = 0;
        copied = sf_writef_short(sound_->handle, block.data(), got) == got;
        frames_copied += static_cast<uint64_t>(got);
    }
    sf_close(from);
    plain->discard();
    if (!copied) return fail(errno ? system_reason(errno) : sf_strerror(sound_->handle));
    return frames_copied == frames_ || fail(plain->shown() + " could not be read back whole");
}

bool wav_writer::finish() {
    // The sound is closed before the file: the header goes into this file's
    // descriptor, never into one the number is handed to later.
    const bool header_written = sound_ && sound_->handle && sf_close(sound_->handle) == 0;
    if (sound_) sound_->handle = nullptr;
    if (!header_written) fail("the WAV header could not be written");
    if (file_->commit()) return true;
    file_->discard();
    return false;
}

bool wav_writer::discard() {
    if (sound_ && sound_->handle) sf_close(sound_->handle);
    if (sound_) sound_->handle = nullptr;
    return file_->discard();
}

std::string wav_writer::failure() const {
    return file_->failure();
}

} // namespace vilora
