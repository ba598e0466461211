#include "driver/screenshot.h"

#include "platform/hosts/frame_scaling.h"
#include "platform/hosts/image_files.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace vilora {

namespace {
constexpr int most_screenshots = 9999;

std::string numbered(int number, const char* suffix) {
    char name[48];
    std::snprintf(name, sizeof name, "vilora-%04d%s.png", number, suffix);
    return name;
}
} // namespace

std::string write_screenshot(const std::string& directory, const rgb_frame& frame, int scale) {
    namespace fs = std::filesystem;
    if (frame.pixels.empty()) return {};
    const rgb_frame large = scaled_to_shown_shape(frame, scale);
    const std::string size = "-" + std::to_string(large.width) + "x" + std::to_string(large.height);
    for (int number = 1; number <= most_screenshots; ++number) {
        const fs::path plain = fs::path(directory) / numbered(number, "");
        std::error_code error;
        if (fs::exists(plain, error) || error) continue;
        if (!write_png(plain.string(), frame)) return {};
        const fs::path scaled = fs::path(directory) / numbered(number, size.c_str());
        if (!large.pixels.empty() && !write_png(scaled.string(), large)) return {};
        return plain.string();
    }
    return {};
}

} // namespace vilora
