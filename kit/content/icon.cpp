#include "kit/content/icon.h"

#include "kit/content/data_set.h"
#include "pictures/picture_decoders.h"
#include "platform/display/frame_conversion.h"
#include "platform/display/surface.h"
#include "platform/hosts/image_files.h"

#include <algorithm>
#include <array>
#include <filesystem>

namespace vilora::kit::data {
namespace {

// For one icon column (or row) `i` of `size`: the source pixels it covers
// within [first, first + side) and the weight of each, summing to 1. Icon
// pixel i spans source [first + i * side / size, first + (i + 1) * side / size).
struct span {
    int from = 0;
    std::vector<double> weights;
};

span covered(int i, int size, int first, int side) {
    const double scale = static_cast<double>(side) / size;
    const double begin = i * scale, end = (i + 1) * scale;
    span out;
    out.from = first + static_cast<int>(begin); // truncation: begin >= 0
    for (int p = static_cast<int>(begin); p < end && p < side; ++p) {
        const double overlap = std::min<double>(p + 1, end) - std::max<double>(p, begin);
        out.weights.push_back(overlap / scale);
    }
    return out;
}

uint32_t channel(uint32_t rgb, int shift) {
    return rgb >> shift & 0xFF;
}

} // namespace

rgb_frame square_icon(const rgb_frame& picture, int size) {
    const int side = std::min(picture.width, picture.height);
    const int left = (picture.width - side) / 2, top = (picture.height - side) / 2;
    std::vector<span> columns, rows;
    for (int i = 0; i < size; ++i) {
        columns.push_back(covered(i, size, left, side));
        rows.push_back(covered(i, size, top, side));
    }
    rgb_frame icon{size, size, std::vector<uint32_t>(static_cast<size_t>(size) * size)};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            std::array<double, 3> sum{};
            for (size_t j = 0; j < rows[y].weights.size(); ++j)
                for (size_t i = 0; i < columns[x].weights.size(); ++i) {
                    const double w = rows[y].weights[j] * columns[x].weights[i];
                    const uint32_t rgb =
                        picture.pixels[static_cast<size_t>(rows[y].from + static_cast<int>(j)) *
                                           picture.width +
                                       columns[x].from + static_cast<int>(i)];
                    for (int c = 0; c < 3; ++c) sum[c] += w * channel(rgb, 16 - 8 * c);
                }
            uint32_t out = 0;
            for (int c = 0; c < 3; ++c)
                out |= static_cast<uint32_t>(std::clamp(sum[c] + 0.5, 0.0, 255.0)) << (16 - 8 * c);
            icon.pixels[static_cast<size_t>(y) * size + x] = out;
        }
    return icon;
}

bool write_icons(const std::string& directory, const art::lettering& letters,
                 std::string& failure) {
    const auto& parts = part_uses();
    const auto title_part = std::find_if(parts.begin(), parts.end(),
                                         [](const part_use& p) { return p.part == "otitulek"; });
    const picture_use& title = title_part->pictures.front(); // top0.bmp in dtroid.782
    std::vector<uint8_t> bytes;
    for (named_bytes& p : dtroid_pictures(letters))
        if (p.name == title.name) bytes = std::move(p.bytes);
    surface picture;
    if (bytes.empty() ||
        decode_bmp(picture, &letters.display(), picture_surface_kind, bytes, 0) != decode_ok) {
        failure = "the title picture " + title.name + " does not decode";
        return false;
    }
    const rgb_frame frame = frame_from_surface(*picture.platform);
    for (int size : icon_sizes) {
        const std::string sized = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path folder = std::filesystem::path(directory) / sized / "apps";
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) {
            failure = folder.string() + ": cannot be made: " + error.message();
            return false;
        }
        if (!write_png((folder / "vilora.png").string(), square_icon(frame, size), failure))
            return false;
    }
    return true;
}

} // namespace vilora::kit::data
