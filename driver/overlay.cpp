#include "driver/overlay.h"

#include "platform/text/text.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace vilora {

namespace {

constexpr int panel_width = 232;
constexpr int line_height = 15;
constexpr int margin = 6;
constexpr int bar_height = 8;
constexpr uint32_t panel_colour = 0xB0000000; // black, about two thirds opaque
constexpr uint32_t text_colour = 0x00E0FFE0;  // 0x00BBGGRR: a pale green
constexpr uint32_t bar_colour = 0xFF60E060;   // 0xAARRGGBB
constexpr uint32_t bar_frame_colour = 0xFF406040;

const font* overlay_font() {
    static const font* face = create_font("monospace", 0, 13);
    return face;
}

std::vector<std::string> overlay_lines(const overlay_facts& f) {
    std::vector<std::string> lines;
    char text[96];
    const frame_record& r = *f.record;
    std::snprintf(text, sizeof text, "order %u  row %u  cue %u%s", r.order, r.row, r.variant,
                  f.paused ? "  paused" : "");
    lines.emplace_back(text);
    std::string parts;
    for (const part_call& call : r.calls)
        parts += std::string(parts.empty() ? "" : " ") + part_name(call.part) + ':' +
                 std::to_string(call.mode);
    lines.push_back(parts.empty() ? "(nothing drawn)" : parts);
    std::snprintf(text, sizeof text, "frame %.1f ms  p99 %.1f ms", f.frame_milliseconds,
                  f.frame_milliseconds_99);
    lines.emplace_back(text);
    return lines;
}

void fill(overlay_image& image, int left, int top, int width, int height, uint32_t colour) {
    for (int y = std::max(top, 0); y < std::min(top + height, image.height); ++y)
        for (int x = std::max(left, 0); x < std::min(left + width, image.width); ++x)
            image.pixels[static_cast<size_t>(y * image.width + x)] = colour;
}

// The text goes through the engine's own text output into a 32-bit context
// over the image; glyph pixels are the only ones it writes.
void draw_lines(overlay_image& image, const std::vector<std::string>& lines) {
    std::vector<uint32_t> glyphs(image.pixels.size(), 0);
    device_context context;
    context.pixels = reinterpret_cast<uint8_t*>(glyphs.data());
    context.pitch = image.width * 4;
    context.width = image.width;
    context.height = image.height;
    context.format.size = sizeof(format_record);
    context.format.flags = format_flag_rgb;
    context.format.rgb_bit_count = 32;
    context.format.red_mask = 0xFF0000;
    context.format.green_mask = 0x00FF00;
    context.format.blue_mask = 0x0000FF;
    context.background_mode = 1;
    context.text_colour = text_colour;
    context.selected_font = overlay_font();
    for (size_t i = 0; i < lines.size(); ++i)
        text_out(context, margin, margin + static_cast<int32_t>(i) * line_height, lines[i].c_str(),
                 lines[i].size());
    for (size_t i = 0; i < glyphs.size(); ++i)
        if (glyphs[i]) image.pixels[i] = 0xFF000000 | glyphs[i];
}

} // namespace

overlay_image draw_overlay(const overlay_facts& facts) {
    overlay_image image;
    if (!facts.record) return image;
    const std::vector<std::string> lines = overlay_lines(facts);
    image.width = panel_width;
    image.height = margin * 3 + static_cast<int>(lines.size()) * line_height + bar_height;
    image.pixels.assign(static_cast<size_t>(image.width) * image.height, panel_colour);
    draw_lines(image, lines);
    // The level bar: its frame, then the music's level filling it from the left.
    const int bar_top = image.height - margin - bar_height;
    const int bar_width = panel_width - 2 * margin;
    fill(image, margin, bar_top, bar_width, bar_height, bar_frame_colour);
    fill(image, margin + 1, bar_top + 1, bar_width - 2, bar_height - 2, panel_colour | 0xFF000000);
    const int lit = static_cast<int>(std::clamp(facts.level, 0.0, 1.0) * (bar_width - 2));
    fill(image, margin + 1, bar_top + 1, lit, bar_height - 2, bar_colour);
    return image;
}

} // namespace vilora
