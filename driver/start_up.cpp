#include "driver/show.h"
#include "driver/transport.h"
#include "engine/data_files.h"
#include "engine/data_set.h"
#include "engine/engine.h"
#include "library/data_file.h"
#include "library/file_problems.h"
#include "platform/hosts/host.h"
#include "platform/window/window_system.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>

namespace vilora {

namespace {

// The show running now, for the Escape handler, which the window procedure calls.
show_state* running_show = nullptr;

// What both ends of the show release once the music is silent: the parts in
// Escape's order, the display, the clock and the window, whose destruction
// makes the next pump report it gone.
void release_show(show_state& s) {
    s.music = 0;
    for (part_id id : escape_order) s.parts[static_cast<size_t>(id)].reset();
    s.display.reset();
    leave_screen();
    s.clock.reset();
    s.window->destroy_window();
}

// Escape: the music stops at once and is freed, then the rest goes.
void shut_down_on_escape() {
    show_state* s = running_show;
    if (!s) return;
    sound_stop();
    music_free(s->music);
    release_show(*s);
}

// Every other key goes to the transport.
void key_pressed(int key) {
    if (running_show) transport_key(*running_show, key);
}

// The module is read whole; the show's own is under a megabyte.
constexpr uint64_t max_module_size = uint64_t{64} << 20;

// Our line after the show's message: which file, and what is wrong with it.
void print_cause(const char* what, const std::optional<file_problem>& problem) {
    std::string line = "vilora: ";
    if (what) line += std::string(what) + ": ";
    if (!problem) {
        line += "no data file was reported faulty";
    } else {
        line += problem->file + ": " + problem->cause;
        std::error_code error;
        if (problem->cause == "missing" && !std::filesystem::is_directory(data_directory(), error))
            line += " (the data directory " + data_directory() + " does not exist)";
    }
    std::fprintf(stderr, "%s\n", line.c_str());
}

int fail(show_state& s, const char* message, const char* what = nullptr,
         const std::optional<file_problem>& problem = std::nullopt) {
    show_cursor(true);
    show_message_box(s.window->handle, message, "error");
    if (problem || what) print_cause(what, problem);
    return 1;
}

// Why a module the player reads has nothing to play, or nothing: no orders,
// no channels, or no order that plays a pattern the module has (the player
// steps over those).
std::optional<std::string> nothing_to_play(music_handle music) {
    const int orders = music_order_count(music);
    // The player drops orders that name a pattern the module lacks.
    if (orders == 0)
        return "the song plays nothing: its length is 0, or every order names a pattern the "
               "module does not have";
    if (music_channel_count(music) == 0) return "the module has no channels";
    for (int order = 0; order < orders; ++order)
        if (music_rows_in_order(music, order) > 0) return std::nullopt;
    return "none of its " + std::to_string(orders) + " orders plays a pattern the module has";
}

// The module read through the checked path, then given to the player.
music_handle load_module(std::optional<file_problem>& problem) {
    const std::string path = data_file(data_set::music);
    take_file_problem();
    std::optional<std::vector<uint8_t>> bytes = read_data_file(path, max_module_size);
    music_handle music = bytes ? music_load(bytes->data(), bytes->size()) : 0;
    if (bytes && music == 0)
        note_file_problem(path, "not a module the player can read (" +
                                    std::to_string(bytes->size()) + " bytes)");
    if (music != 0) {
        if (const auto cause = nothing_to_play(music)) {
            note_file_problem(path, *cause);
            music_free(music);
            music = 0;
        }
    }
    problem = take_file_problem();
    return music;
}

// The libraries, and the classes built while each is open.
struct library_group {
    const char* library;
    std::array<part_id, 5> classes;
    size_t count;
};
constexpr library_group library_groups[] = {
    {data_set::dtroid, {part_id::otitulek, part_id::oskred0, part_id::ogreety, part_id::oneco0}, 4},
    {data_set::robot1, {part_id::oneco1, part_id::oneco2, part_id::oneco3, part_id::oneco4}, 4},
    {data_set::uganda4,
     {part_id::pinkous, part_id::odistort, part_id::obw, part_id::houp, part_id::oland},
     5},
};

// What each part's construction found wrong, for the line after its message.
using part_problems = std::array<std::optional<file_problem>, part_class_count>;

// What the parts left out of their data and play on without, by part.
using skipped_data = std::vector<std::pair<part_id, file_problem>>;

void construct_parts(show_state& s, part_problems& problems, skipped_data& skipped) {
    for (const library_group& group : library_groups) {
        // A library that cannot be opened shows up as parts that fail to load;
        // their line names the library rather than the picture looked for.
        take_file_problem();
        open_library(data_file(group.library).c_str());
        const std::optional<file_problem> library_problem = take_file_problem();
        for (size_t i = 0; i < group.count; ++i) {
            const part_class& c = (*s.roster)[static_cast<size_t>(group.classes[i])];
            if (s.options.only_part && s.options.only_part->part != c.id) continue;
            if (c.construct) s.parts[static_cast<size_t>(c.id)].reset(c.construct(s.display.get()));
            std::optional<file_problem> own = take_file_problem();
            problems[static_cast<size_t>(c.id)] = library_problem ? library_problem : own;
            for (file_problem& left_out : take_skipped_data())
                skipped.emplace_back(c.id, std::move(left_out));
        }
    }
}

// The first class, in check order, that is not valid (or not built); null if all are.
const part_class* first_invalid(const show_state& s) {
    for (part_id id : validity_order) {
        if (s.options.only_part && s.options.only_part->part != id) continue;
        const auto& part = s.parts[static_cast<size_t>(id)];
        if (!part || !part->valid) return &(*s.roster)[static_cast<size_t>(id)];
    }
    return nullptr;
}

// What loading found wrong, for the line after the start-up message, and
// what it left out.
struct load_problems {
    std::optional<file_problem> module;
    part_problems parts;
    skipped_data skipped;
};

// Once, before the show plays: every part's data it plays on without.
void say_what_was_skipped(const show_state& s, const skipped_data& skipped) {
    for (const auto& [id, left_out] : skipped)
        std::fprintf(stderr, "vilora: %s: %s: %s\n", (*s.roster)[static_cast<size_t>(id)].name,
                     left_out.file.c_str(), left_out.cause.c_str());
}

// Where the host takes time to ready the window's presentation (an OpenGL
// renderer takes a tenth of a second to create), the module and the parts load
// on a helper thread meanwhile. Nothing else runs then: the main thread only
// waits for both. Elsewhere, and where there are no threads (a browser page
// without cross-origin isolation), they load first on this thread. False when
// the window cannot be drawn in.
bool load_while_presentation_gets_ready(show_state& s, load_problems& problems) {
    const auto load = [&s, &problems] {
        s.music = load_module(problems.module);
        if (s.music != 0) construct_parts(s, problems.parts, problems.skipped);
    };
    host_window* window = host_window_of(s.window->handle);
    if (!host().presentation_takes_time()) {
        load();
        return host().prepare_presentation(window);
    }
    std::thread loader(load);
    const bool presentable = host().prepare_presentation(window);
    loader.join();
    return presentable;
}

bool start_sound(const show_options& options) {
    if (options.kind != run_kind::show) return sound_init(sound_offline_device, sound_frequency);
    // No sound device is no reason to stop: the silent device keeps the clock.
    if (!sound_init(sound_default_device, sound_frequency)) {
        std::fputs("vilora: no sound device; the show plays without sound\n", stderr);
        sound_init(sound_silent_device, sound_frequency);
    }
    return true;
}

// Whether the module has the position that `option` (--start or --until)
// names; when not, says so on stderr.
bool module_has(const show_state& s, const char* option, const show_position& at) {
    const int orders = music_order_count(s.music);
    const int rows = music_rows_in_order(s.music, at.order);
    if (rows > at.row) return true;
    if (at.order >= orders)
        std::fprintf(stderr, "vilora: %s %u:%u: the music has orders 0 to %d\n", option, at.order,
                     at.row, orders - 1);
    else
        std::fprintf(stderr, "vilora: %s %u:%u: order %u has rows 0 to %d\n", option, at.order,
                     at.row, at.order, rows - 1);
    return false;
}

// --start: the music moves there before it plays; --until must lie in the
// module too. False, with a line on stderr, for a position it does not have.
bool move_to_start(const show_state& s) {
    if (s.options.until && !module_has(s, "--until", *s.options.until)) return false;
    if (!s.options.start) return true;
    const show_position& at = *s.options.start;
    if (!module_has(s, "--start", at)) return false;
    if (music_seek(s.music, at.order, at.row)) return true;
    std::fprintf(stderr, "vilora: --start %u:%u: the music cannot be moved there\n", at.order,
                 at.row);
    return false;
}

} // namespace

void music_cue_received(sync_handle, music_handle, uint32_t data, void* user) {
    if (user)
        static_cast<show_state*>(user)->sync_variant.store(static_cast<uint8_t>(data >> 16 & 0xFF));
}

void finish_show(show_state& s) {
    sound_shutdown();
    release_show(s);
    running_show = nullptr;
}

std::optional<int> start_show(show_state& s) {
    running_show = &s;
    s.transport = transport_state{};
    s.window->escape_handler = shut_down_on_escape;
    s.window->key_handler = key_pressed;
    s.window->create_window("vilo ra", app_window::procedure, window_style_popup, 0, 0,
                            screen_metric_width(), screen_metric_height());

    s.display = std::make_unique<display_device>();
    if (s.display->create_interface() != 0) return fail(s, message_no_display);
    if (s.display->set_mode(0, s.window->handle, s.options.width, s.options.height, 16) != 0)
        return fail(s, message_no_mode);
    set_screen(s.display.get(), s.options.width, s.options.height);
    show_cursor(false);
    if (s.options.seed)
        seed_random(*s.options.seed);
    else
        seed_random_from_time();

    start_sound(s.options);
    load_problems problems;
    if (!load_while_presentation_gets_ready(s, problems)) return fail(s, message_no_mode);
    if (s.music == 0) return fail(s, message_no_music, nullptr, problems.module);
    if (!move_to_start(s)) return 2;
    if (const part_class* invalid = first_invalid(s))
        return fail(s, (std::string(invalid->name) + " class initialization error").c_str(),
                    invalid->name, problems.parts[static_cast<size_t>(invalid->id)]);
    say_what_was_skipped(s, problems.skipped);

    sound_start();
    music_play(s.music);
    music_set_sync(s.music, sync_instrument, 0xFFFF0040u, music_cue_received, &s);
    s.clock = std::make_unique<frame_clock>();
    return std::nullopt;
}

int fail_without_a_frame(show_state& s) {
    return fail(
        s, message_no_music, nullptr,
        file_problem{data_file(data_set::music), "the music ended before the show's first frame"});
}

int run_show(show_state& s) {
    if (const std::optional<int> status = start_show(s)) return *status;
    if (!run_timeline(s)) return fail_without_a_frame(s);
    return 0;
}

} // namespace vilora
