// The show with parts of the test's own, each a stand-in that notes its
// runs and draws a mark, on modules written for the test: the fixture of the
// driver's show tests.
#pragma once

#include "driver/show.h"
#include "engine/data_files.h"
#include "library/file_problems.h"

#include "tests/support/test_display.h"
#include "tests/support/test_module.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace vilora {

// What the test parts did, and how they are to behave.
struct part_journal {
    std::array<bool, part_class_count> invalid{};
    std::array<std::string, part_class_count> skipped{}; // data the part notes it left out
    std::array<int, part_class_count> constructed{};
    std::array<int, part_class_count> destroyed{};
    std::vector<part_call> runs;
    int escape_after_runs = -1;                         // post Escape once this many runs happened
    std::map<size_t, std::vector<int>> keys_after_runs; // keys to post once so many runs happened
    headless_host* host = nullptr;
};
inline part_journal journal;

template <part_id Id>
class test_part : public effect_part {
public:
    explicit test_part(display_device*) {
        valid = !journal.invalid[static_cast<size_t>(Id)];
        ++journal.constructed[static_cast<size_t>(Id)];
        if (const std::string& cause = journal.skipped[static_cast<size_t>(Id)]; !cause.empty())
            note_skipped_data(data_file("data\\scene.3ds"), cause);
    }
    ~test_part() override { ++journal.destroyed[static_cast<size_t>(Id)]; }
    void run(display_device* display, int mode, int, int) {
        journal.runs.push_back({Id, mode});
        display->back->fill_rect(0, 0, 1 + static_cast<int>(Id), 1, 0xFFFF);
        if (static_cast<int>(journal.runs.size()) == journal.escape_after_runs)
            journal.host->post_event({host_event::kind::key_down, key_escape});
        if (auto keys = journal.keys_after_runs.find(journal.runs.size());
            keys != journal.keys_after_runs.end())
            for (int key : keys->second)
                journal.host->post_event({host_event::kind::key_down, key});
    }
};

template <size_t... I>
part_roster roster_of(std::index_sequence<I...>) {
    return {part_class_of<test_part<static_cast<part_id>(I)>>(static_cast<part_id>(I),
                                                              built_in_parts()[I].name)...};
}
inline const part_roster test_roster = roster_of(std::make_index_sequence<part_class_count>{});

class show_fixture : public ::testing::Test {
protected:
    void SetUp() override {
        journal = part_journal{};
        journal.host = scope.host;
        dir_ = std::filesystem::temp_directory_path() / ("vilora-show-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_);
        set_data_directory(dir_.string());
        state.options.kind = run_kind::capture;
        state.options.seed = 1;
        state.roster = &test_roster;
        state.window = &window;
    }
    void TearDown() override {
        finish_show(state);
        std::filesystem::remove_all(dir_);
    }
    // A module with orders 0..N-1 of `rows` rows each, as "MUSKA.XM" (any case matches).
    void music(const testing::test_module_plan& plan) {
        ASSERT_TRUE(testing::write_test_module((dir_ / "MUSKA.XM").string(), plan));
    }
    int run() {
        ::testing::internal::CaptureStderr();
        int status = run_show(state);
        stderr_ = ::testing::internal::GetCapturedStderr();
        return status;
    }

    testing::host_scope scope;
    app_window window;
    show_state state;
    std::filesystem::path dir_;
    std::string stderr_;
};

// Records every frame as the timeline played it.
class frame_journal : public show_observer {
public:
    void frame_done(const frame_record& r) override { frames.push_back(r); }
    std::vector<frame_record> frames;
};

} // namespace vilora
