// Small 3DS scenes for the scene part tests, written field by field: a camera
// at the origin looking along +z (so camera space is the library's world
// space), static meshes given in that space, and the keyframer nodes without
// which the camera gets no projection constants and the meshes no matrix.
#pragma once

#include "tests/scene3d/chunk_writer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vilora::testing {

struct test_mesh {
    std::string name;
    std::vector<float> vertices; // x, y, z triples in camera space (y up, z depth)
    std::vector<test::mesh_face> faces;
};

struct test_scene {
    std::string camera_name = "Camera01";
    std::vector<test_mesh> meshes;
    uint32_t start_frame = 0;
    uint32_t end_frame = 40;
    // When set, one more object node naming a record the world does not have:
    // the keyframer section then does not read.
    std::string unknown_node;
};

std::vector<uint8_t> scene_bytes(const test_scene& scene);

// A mesh of `count` copies of one triangle with corners a, b, c (camera space).
test_mesh triangle_mesh(const std::string& name, int count, float ax, float ay, float az, float bx,
                        float by, float bz, float cx, float cy, float cz);

} // namespace vilora::testing
