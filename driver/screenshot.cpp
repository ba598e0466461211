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

std::string write_screenshot(const std::string& directory, const rgb_frame& frame, int scale,
                             std::string& failure) {
    namespace fs = std::filesystem;
    if (frame.pixels.empty()) {
        failure = "there is no frame on screen yet";
        return {};
    }
    const rgb_frame large = scaled_to_shown_shape(frame, scale);
    const std::string size = "-" + std::to_string(large.width) + "x" + std::to_string(large.height);
    for (int number = 1; number <= most_screenshots; ++number) {
        const fs::path plain = fs::path(directory) / numbered(number, "");
        std::error_code error;
        if (fs::exists(plain, error) || error) continue;
        if (!write_png(plain.string(), frame, failure)) return {};
        const fs::path scaled = fs::path(directory) / numbered(number, size.c_str());
        if (!write_png(scaled.string(), large, failure)) {
            fs::remove(plain, error);
            failure += "; " + plain.string() + " was removed with it";
            return {};
        }
        return plain.string();
    }
    failure = "every name from vilora-0001.png to vilora-9999.png is taken";
    return {};
}

} // namespace vilora
