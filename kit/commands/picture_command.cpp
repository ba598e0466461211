// vilora-kit picture: decodes a BMP or PSD file through the engine's own
// decoders into a surface of a chosen screen format and writes it as PNG, the
// PSD alpha map as the PNG's alpha channel. Optionally draws a line of text on
// it first, as the effect parts draw their captions.
#include "kit/commands/command_support.h"
#include "kit/commands/commands.h"
#include "library/file_problems.h"
#include "pictures/picture_decoders.h"
#include "platform/display/display_device.h"
#include "platform/display/frame_conversion.h"
#include "platform/hosts/image_files.h"
#include "platform/text/text.h"
#include "platform/window/app_window.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vilora::kit {
namespace {

struct screen_format {
    int depth;
    high_colour_layout layout;
};

const std::map<std::string, screen_format> screen_formats = {
    {"565", {16, high_colour_layout::rgb565}},  {"555", {16, high_colour_layout::rgb555}},
    {"8888", {32, high_colour_layout::rgb565}}, {"888", {24, high_colour_layout::rgb565}},
    {"8", {8, high_colour_layout::rgb565}},
};

struct text_request {
    std::string text;
    std::string face = "MS SANS SERIFF";
    std::vector<int32_t> at = {0, 0};
    std::vector<int32_t> cell = {12, 12};
    uint32_t colour = 0xFFFFFF;
};

int report(const std::string& message) {
    return report_failure("vilora-kit picture", message);
}

// The display the decoders convert for: headless, in the requested format.
struct kit_display {
    app_window window;
    display_device display;
    int result = -1;

    explicit kit_display(const screen_format& format) {
        set_high_colour_layout(format.layout);
        window.create_window("vilora-kit", app_window::procedure, window_style_popup, 0, 0, 320,
                             240);
        display.create_interface();
        result = display.set_mode(0, window.handle, 320, 240, format.depth);
    }
};

void warn(const std::string& message) {
    std::fprintf(stderr, "vilora-kit picture: warning: %s\n", message.c_str());
}

bool has_psd_signature(const std::vector<uint8_t>& bytes) {
    return bytes.size() >= 4 && bytes[0] == '8' && bytes[1] == 'B' && bytes[2] == 'P' &&
           bytes[3] == 'S';
}

// A file named .psd is a PSD even when its signature is damaged, so that its
// refusal says what is wrong with it as one.
bool named_psd(const std::string& name) {
    if (name.size() < 4) return false;
    std::string extension = name.substr(name.size() - 4);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".psd";
}

// The decoder takes RGB pictures of fewer than three channels (the missing
// ones are 0), as the demo does; that is rarely what the file meant.
void warn_about_psd_channels(const std::string& name, const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 14) return;
    const int channels = bytes[12] << 8 | bytes[13];
    if (channels < 3)
        warn(name + ": an RGB picture of " + std::to_string(channels) +
             " channel(s); the missing colours are taken as 0");
}

// 0, or the decoder's code with a reason more precise than its text, if any.
int decode(surface& picture, display_device& display, const std::string& name,
           const std::vector<uint8_t>& bytes, bool keyed, std::string& reason) {
    if (!has_psd_signature(bytes) && !named_psd(name))
        return decode_bmp(picture, &display, picture_surface_kind, bytes, keyed ? 1 : 0);
    const int code = decode_psd(picture, &display, picture_surface_kind, bytes, 1);
    if (code != decode_ok && !has_psd_signature(bytes))
        reason = "not a PSD file (it does not start with 8BPS)";
    if (code == decode_ok) warn_about_psd_channels(name, bytes);
    return code;
}

int draw_caption(surface& picture, const text_request& request) {
    font* caption_font = create_font(request.face.c_str(), request.cell[0], request.cell[1]);
    if (!caption_font) return report("no font to draw the text with");
    draw_text(&picture, request.at[0], request.at[1], request.colour, caption_font, "%s",
              request.text.c_str());
    return 0;
}

// The colours as the screen shows them, alpha from the alpha map.
bool write_picture_png(const std::string& file_name, const surface& picture, std::string& failure) {
    const rgb_frame frame = frame_from_surface(*picture.platform);
    std::vector<uint32_t> argb(frame.pixels.size());
    for (size_t i = 0; i < frame.pixels.size(); ++i) {
        const uint32_t alpha = picture.alpha_map ? picture.alpha_map[i] : 255;
        argb[i] = alpha << 24 | frame.pixels[i];
    }
    return write_png_rgba(file_name, frame.width, frame.height, argb, failure);
}

} // namespace

int picture_command(int argc, char** argv) {
    CLI::App app{"Decode a BMP or PSD picture as the demo does and write it as PNG.",
                 "vilora-kit picture"};
    std::string input, output, format_name = "565";
    bool keyed = false;
    text_request caption;
    app.add_option("IN", input, "BMP or PSD picture")->required();
    app.add_option("OUT", output, "PNG file to write")->required();
    app.add_option("--format", format_name, "screen format: 565, 555, 8888, 888 or 8")
        ->check(CLI::IsMember({"565", "555", "8888", "888", "8"}));
    app.add_flag("--keyed", keyed, "decode as a colour-keyed picture (8-bit screens remap)");
    app.add_option("--text", caption.text, "draw this text on the picture");
    app.add_option("--at", caption.at, "text position X Y")->expected(2)->delimiter(',');
    app.add_option("--cell", caption.cell, "character cell W H")->expected(2)->delimiter(',');
    app.add_option("--colour", caption.colour, "text colour 0x00BBGGRR");
    app.add_option("--face", caption.face, "font face name");
    // CLI11 takes a vector of arguments last first.
    if (const auto done = parse_arguments(app, argc, argv)) return *done;

    kit_display screen(screen_formats.at(format_name));
    if (screen.result != 0) return report("the display cannot be set up");
    std::optional<std::vector<uint8_t>> bytes = read_whole_file(input.c_str());
    if (!bytes) {
        const std::optional<file_problem> problem = take_file_problem();
        return report(input + ": " +
                      (problem ? problem->cause : decode_failure_text(decode_file_unreadable)));
    }
    surface picture;
    std::string reason;
    if (int code = decode(picture, screen.display, input, *bytes, keyed, reason))
        return report(input + ": " + (reason.empty() ? decode_failure_text(code) : reason));
    if (!caption.text.empty())
        if (int failed = draw_caption(picture, caption)) return failed;
    std::string failure;
    if (!write_picture_png(output, picture, failure)) return report(failure);
    return 0;
}

} // namespace vilora::kit
