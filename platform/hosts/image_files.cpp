#include "platform/hosts/image_files.h"

#include <png.h>
#include <sndfile.h>

#include <cstdio>

namespace vilora {

namespace {
// Rows are handed to libpng one at a time, built by `row_of`.
template <typename RowOf>
bool write_png_rows(const std::string& path, int width, int height, int colour_type, int channels,
                    RowOf row_of) {
    if (width <= 0 || height <= 0) return false;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = png && info;
    std::vector<png_byte> row(static_cast<size_t>(width) * static_cast<size_t>(channels));
    if (ok && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, out);
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
        ok = false;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(out) == 0 && ok;
}
} // namespace

bool write_png(const std::string& path, const rgb_frame& frame) {
    if (frame.pixels.size() != static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height))
        return false;
    return write_png_rows(
        path, frame.width, frame.height, PNG_COLOR_TYPE_RGB, 3, [&](int y, png_byte* row) {
            const uint32_t* p = &frame.pixels[static_cast<size_t>(y * frame.width)];
            for (int x = 0; x < frame.width; ++x) {
                row[3 * x] = static_cast<png_byte>(p[x] >> 16);
                row[3 * x + 1] = static_cast<png_byte>(p[x] >> 8);
                row[3 * x + 2] = static_cast<png_byte>(p[x]);
            }
        });
}

bool write_png_rgba(const std::string& path, int width, int height,
                    const std::vector<uint32_t>& pixels) {
    if (pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) return false;
    return write_png_rows(path, width, height, PNG_COLOR_TYPE_RGB_ALPHA, 4,
                          [&](int y, png_byte* row) {
                              const uint32_t* p = &pixels[static_cast<size_t>(y * width)];
                              for (int x = 0; x < width; ++x) {
                                  row[4 * x] = static_cast<png_byte>(p[x] >> 16);
                                  row[4 * x + 1] = static_cast<png_byte>(p[x] >> 8);
                                  row[4 * x + 2] = static_cast<png_byte>(p[x]);
                                  row[4 * x + 3] = static_cast<png_byte>(p[x] >> 24);
                              }
                          });
}

struct wav_writer::file {
    SNDFILE* handle = nullptr;
};

wav_writer::wav_writer(const std::string& path, int frequency) : file_(std::make_unique<file>()) {
    SF_INFO info{};
    info.samplerate = frequency;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    file_->handle = sf_open(path.c_str(), SFM_WRITE, &info);
}

wav_writer::~wav_writer() {
    if (file_->handle) sf_close(file_->handle);
}

bool wav_writer::ok() const {
    return file_->handle != nullptr;
}

bool wav_writer::write(const int16_t* frames, size_t count) {
    if (!file_->handle) return false;
    const auto wanted = static_cast<sf_count_t>(count);
    return sf_writef_short(file_->handle, frames, wanted) == wanted;
}

} // namespace vilora
