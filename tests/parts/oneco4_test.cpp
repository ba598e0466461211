#include "parts/oneco4.h"

#include "tests/parts/part_fixture.h"
#include "tests/support/surface_pixels.h"

#include <set>
#include <string>

namespace vilora {
namespace {

class oneco4_test : public testing::scene_part_stage {
protected:
    // A pixel inside the sprite of the last face drawn, which hangs 50 left of
    // and 90 above the face's corner a.
    scene_point sprite_probe(const oneco4& part) {
        const scene_point& a = part.scene_fields().points[0];
        return {a.x - 50 + 4, a.y - 90 + 4, 0};
    }

    // What picture `index` faded at `level` over the backdrop leaves at the
    // probe, worked out with the picture list's own blit on a fresh backdrop.
    uint32_t faded_over_backdrop(oneco4& part, int32_t index, int32_t level, scene_point probe) {
        const scene_point& a = part.scene_fields().points[0];
        part.pictures.draw_picture(&back(), origin_x, origin_y, 0);
        part.pictures.draw_picture_faded(&back(), origin_x + a.x - 50, origin_y + a.y - 90, index,
                                         level);
        return back_pixel(probe.x, probe.y);
    }

    // The draws a run takes: how many values the generator moved on by.
    int32_t draws_taken(oneco4& part, uint32_t seed) {
        seed_random(seed);
        part.run(&display, 0, origin_x, origin_y);
        const int32_t next = random_value();
        seed_random(seed);
        for (int32_t n = 0; n < 1000; ++n)
            if (random_value() == next) return n;
        return -1;
    }
};

TEST_F(oneco4_test, a_mesh_under_16_faces_draws_no_sprite) {
    // 15 and 17 faces: one sprite, each mesh's faces counted on their own.
    testing::test_scene two = one_mesh_scene(15, 100.0f);
    two.meshes.push_back(one_mesh_scene(17, 100.0f).meshes[0]);
    two.meshes[1].name = "Tri2";
    write_scene("sroub2.3ds", two);
    oneco4 part(&display);
    ASSERT_TRUE(part.valid);
    // 200 rows of the stripe, the flicker picture and one sprite.
    EXPECT_EQ(draws_taken(part, 5), 202);
    const scene_point probe = sprite_probe(part);
    EXPECT_NE(back_pixel(probe.x, probe.y), colour_of("jug.bmp"));

    write_scene("sroub2.3ds", one_mesh_scene(15, 100.0f));
    oneco4 few(&display);
    ASSERT_TRUE(few.valid);
    EXPECT_EQ(draws_taken(few, 5), 201);
    EXPECT_EQ(back_pixel(probe.x, probe.y), colour_of("jug.bmp"));
}

TEST_F(oneco4_test, blend_level_is_corner_c_depth_over_3_truncated) {
    // Corners a and b at depth 10, c at 101: level 33 (33.67 truncated). Red
    // 248 over the backdrop's red 0 gives red 3 at level 33 and 4 at 34, and
    // corner a's depth would give level 3.
    testing::test_scene scene;
    scene.meshes = {testing::triangle_mesh("Tri", 16, -3, -3, 10, 3, -3, 10, 0, 30, 101)};
    write_scene("sroub2.3ds", scene);
    oneco4 part(&display);
    ASSERT_TRUE(part.valid);
    for (int call = 0; call < 6; ++call) {
        part.run(&display, 0, origin_x, origin_y);
        const scene_point probe = sprite_probe(part);
        const uint32_t seen = back_pixel(probe.x, probe.y);
        std::set<uint32_t> at_33, at_34;
        for (int32_t index = 1; index <= 11; index += 2) {
            at_33.insert(faded_over_backdrop(part, index, 33, probe));
            at_34.insert(faded_over_backdrop(part, index, 34, probe));
        }
        EXPECT_TRUE(at_33.count(seen)) << "call " << call << " pixel " << seen;
        EXPECT_FALSE(at_34.count(seen)) << "call " << call;
    }
}

TEST_F(oneco4_test, odd_numbered_pictures_flicker_and_even_numbered_are_the_sprites) {
    // Depth 765: level 255, where every sprite stays recognisable.
    write_scene("sroub2.3ds", one_mesh_scene(16, 765.0f));
    oneco4 part(&display);
    ASSERT_TRUE(part.valid);
    std::set<int32_t> flickers, sprites;
    for (int call = 0; call < 60; ++call) {
        part.run(&display, 0, origin_x, origin_y);
        const uint32_t flicker = back_pixel(12, 12);
        const scene_point probe = sprite_probe(part);
        const uint32_t sprite = back_pixel(probe.x, probe.y);
        for (int32_t number = 0; number < 12; ++number) {
            if (flicker == colour_of("x" + std::to_string(number) + ".bmp"))
                flickers.insert(number);
            if (sprite == faded_over_backdrop(part, number + 1, 255, probe)) sprites.insert(number);
        }
    }
    EXPECT_EQ(flickers, (std::set<int32_t>{1, 3, 5, 7, 9, 11}));
    EXPECT_EQ(sprites, (std::set<int32_t>{0, 2, 4, 6, 8, 10}));
}

} // namespace
} // namespace vilora
