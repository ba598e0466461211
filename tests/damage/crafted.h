// The crafters of crafted_cases(), one per case, by format. Each rewrites one
// file of the data set in `data` (a copy); a file it cannot craft from ends
// the tool with an exception.
#pragma once

#include "tests/damage/damage.h"

#include <stdexcept>

namespace vilora::damage {

void module_song_length_0(const std::filesystem::path& data);
void module_song_length_300(const std::filesystem::path& data);
void module_channels_0(const std::filesystem::path& data);
void module_channels_256(const std::filesystem::path& data);
void module_orders_past_patterns(const std::filesystem::path& data);
void module_patterns_65535(const std::filesystem::path& data);
void module_pattern_past_end(const std::filesystem::path& data);
void module_sample_of_4_gib(const std::filesystem::path& data);

void scene_track_keys_65535(const std::filesystem::path& data);
void scene_motion_nested_100000(const std::filesystem::path& data);
void scene_unknown_node(const std::filesystem::path& data);
void scene_morph_to_missing_object(const std::filesystem::path& data);
void scene_vertex_count_65535(const std::filesystem::path& data);
void scene_face_count_65535(const std::filesystem::path& data);
void scene_chunk_past_end(const std::filesystem::path& data);
void scene_main_chunk_of_4_gib(const std::filesystem::path& data);
void scene_world_nested_100000(const std::filesystem::path& data);

void archive_member_of_4_gib(const std::filesystem::path& data);
void archive_member_of_2_gib(const std::filesystem::path& data);
void archive_member_inflating_past_its_size(const std::filesystem::path& data);
void archive_entries_65535(const std::filesystem::path& data);
void archive_member_past_end(const std::filesystem::path& data);
void picture_bmp_65535_square(const std::filesystem::path& data);
void picture_psd_65535_square(const std::filesystem::path& data);

} // namespace vilora::damage
