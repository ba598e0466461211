#include "kit/synth/render.h"

#include <xmp.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vilora::kit::music {

rendering render_module(std::span<const uint8_t> module, int max_seconds) {
    rendering out;
    xmp_context ctx = xmp_create_context();
    if (!ctx) return out;
    // libxmp's loader takes a non-const pointer but only reads through it.
    void* data = const_cast<uint8_t*>(module.data());
    if (xmp_load_module_from_memory(ctx, data, static_cast<long>(module.size())) != 0) {
        xmp_free_context(ctx);
        return out;
    }
    if (xmp_start_player(ctx, render_rate, 0) == 0) {
        out.ok = true;
        const size_t limit = static_cast<size_t>(max_seconds) * render_rate * 2;
        xmp_frame_info info;
        while (out.samples.size() < limit && xmp_play_frame(ctx) == 0) {
            xmp_get_frame_info(ctx, &info);
            if (info.loop_count > 0) break;
            if (out.orders.empty() || out.orders.back().order != info.pos)
                out.orders.push_back({info.pos, out.frames()});
            const auto* pcm = static_cast<const int16_t*>(info.buffer);
            out.samples.insert(out.samples.end(), pcm, pcm + info.buffer_size / 2);
        }
        xmp_end_player(ctx);
    }
    xmp_release_module(ctx);
    xmp_free_context(ctx);
    return out;
}

levels measure(const rendering& r, size_t first_frame, size_t end_frame) {
    levels l;
    end_frame = std::min(end_frame, r.frames());
    if (first_frame >= end_frame) return l;
    double sum = 0;
    int peak = 0;
    for (size_t i = first_frame * 2; i < end_frame * 2; ++i) {
        const int v = r.samples[i];
        peak = std::max(peak, std::abs(v));
        sum += static_cast<double>(v) * v;
    }
    l.peak = peak / 32768.0;
    l.rms = std::sqrt(sum / static_cast<double>((end_frame - first_frame) * 2)) / 32768.0;
    return l;
}

size_t order_start(const rendering& r, int order) {
    const auto found = std::find_if(r.orders.begin(), r.orders.end(),
                                    [order](const auto& o) { return o.order == order; });
    return found == r.orders.end() ? r.frames() : found->frame;
}

levels measure_orders(const rendering& r, int first, int last) {
    return measure(r, order_start(r, first), order_start(r, last + 1));
}

} // namespace vilora::kit::music
