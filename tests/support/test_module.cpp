#include "tests/support/test_module.h"

#include <fstream>

namespace vilora::testing {

kit::xm_module make_test_module(const test_module_plan& plan) {
    kit::xm_module m;
    m.name = "test";
    m.channels = 2;
    m.speed = 3;
    m.tempo = 125;
    m.instruments.resize(cue_instrument);

    kit::xm_sample beep;
    beep.name = "beep";
    for (int i = 0; i < 64; ++i) beep.data.push_back(static_cast<int16_t>(i < 32 ? 4000 : -4000));
    beep.loop = kit::xm_loop::forward;
    beep.loop_length = 64;
    m.instruments[0].name = "beep";
    m.instruments[0].samples.push_back(beep);

    kit::xm_sample silence;
    silence.name = "cue";
    silence.data.assign(16, 0);
    silence.volume = cue_default_volume;
    m.instruments[cue_instrument - 1].name = "cue";
    m.instruments[cue_instrument - 1].samples.push_back(silence);

    for (int order = 0; order < plan.orders; ++order) {
        kit::xm_pattern p(plan.rows, m.channels);
        for (int row = 0; row < plan.rows; row += 4)
            p.at(row, 0) = {kit::xm_note(4, row % 12), 1, 0, 0, 0};
        for (const cue_note& cue : plan.cues)
            if (cue.order == order)
                p.at(cue.row, 1) = {
                    kit::xm_note(4, 0), cue_instrument,
                    static_cast<uint8_t>(cue.volume < 0 ? 0 : kit::xm_set_volume(cue.volume)), 0,
                    0};
        if (order == plan.loop_order) { // E6x: E60 marks the start, E6n loops n times
            p.at(plan.loop_first, 0).effect = 0x0E;
            p.at(plan.loop_first, 0).parameter = 0x60;
            p.at(plan.loop_last, 0).effect = 0x0E;
            p.at(plan.loop_last, 0).parameter = static_cast<uint8_t>(0x60 | plan.loop_times);
        }
        if (order == plan.break_order) p.at(plan.break_row, 0).effect = 0x0D;
        if (order == plan.slow_order) { // Fxx below 0x20: ticks per row
            p.at(0, 1).effect = 0x0F;
            p.at(0, 1).parameter = static_cast<uint8_t>(plan.slow_speed);
        }
        m.patterns.push_back(std::move(p));
        m.orders.push_back(static_cast<uint8_t>(order));
    }
    return m;
}

std::vector<uint8_t> test_module_bytes(const test_module_plan& plan) {
    return kit::xm_file(make_test_module(plan));
}

bool write_test_module(const std::string& path, const test_module_plan& plan) {
    const std::vector<uint8_t> bytes = test_module_bytes(plan);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return !bytes.empty() && out.good();
}

} // namespace vilora::testing
