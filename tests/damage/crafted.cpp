#include "tests/damage/crafted.h"

namespace vilora::damage {

const std::vector<crafted_case>& crafted_cases() {
    // A module that plays nothing, or that the player refuses, fails the
    // show; a keyframer section that does not read is skipped and said; a
    // picture or archive member that cannot be had fails its part.
    static const std::vector<crafted_case> cases = {
        {"music-song-length-0", "muska.xm", "fails", module_song_length_0},
        {"music-song-length-300", "muska.xm", "fails", module_song_length_300},
        {"music-channels-0", "muska.xm", "fails", module_channels_0},
        {"music-channels-256", "muska.xm", "fails", module_channels_256},
        {"music-orders-past-patterns", "muska.xm", "fails", module_orders_past_patterns},
        {"music-patterns-65535", "muska.xm", "either", module_patterns_65535},
        {"music-pattern-past-end", "muska.xm", "either", module_pattern_past_end},
        {"music-sample-of-4-gib", "muska.xm", "either", module_sample_of_4_gib},
        {"scene-track-keys-65535", "hedge.3ds", "noted", scene_track_keys_65535},
        {"scene-motion-nested-100000", "hedge.3ds", "noted", scene_motion_nested_100000},
        {"scene-unknown-node", "hedge.3ds", "noted", scene_unknown_node},
        {"scene-morph-to-missing-object", "hedge.3ds", "noted", scene_morph_to_missing_object},
        {"scene-vertex-count-65535", "hedge.3ds", "fails", scene_vertex_count_65535},
        {"scene-face-count-65535", "hedge.3ds", "fails", scene_face_count_65535},
        {"scene-chunk-past-end", "hedge.3ds", "either", scene_chunk_past_end},
        {"scene-main-chunk-of-4-gib", "hedge.3ds", "either", scene_main_chunk_of_4_gib},
        {"scene-world-nested-100000", "hedge.3ds", "fails", scene_world_nested_100000},
        {"archive-member-of-4-gib", "dtroid.782", "fails", archive_member_of_4_gib},
        {"archive-member-of-2-gib", "dtroid.782", "fails", archive_member_of_2_gib},
        {"archive-member-inflating-past-its-size", "dtroid.782", "fails",
         archive_member_inflating_past_its_size},
        {"archive-entries-65535", "dtroid.782", "fails", archive_entries_65535},
        {"archive-member-past-end", "dtroid.782", "fails", archive_member_past_end},
        {"picture-bmp-65535-square", "dtroid.782", "fails", picture_bmp_65535_square},
        {"picture-psd-65535-square", "uganda4.782", "fails", picture_psd_65535_square},
    };
    return cases;
}

} // namespace vilora::damage
