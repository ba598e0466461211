// The 3DS writer: a scene with every kind of chunk it writes reads back
// through our reader and through lib3ds with the same content.
#include "kit/formats/scene_writer.h"
#include "scene3d/kf.h"
#include "tests/library/library_test_support.h"

#include <lib3ds/camera.h>
#include <lib3ds/file.h>
#include <lib3ds/light.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>
#include <lib3ds/node.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace vilora::testing {
namespace {

namespace tds = kit::tds;

tds::mesh quad_mesh(const std::string& name, float lift) {
    tds::mesh m;
    m.name = name;
    m.vertices = {{0, 0, lift}, {4, 0, lift}, {4, 2, lift}, {0, 2, lift}};
    m.faces = {{0, 1, 2, 0x0B}, {0, 2, 3, 0x16}};
    m.mapping = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    m.matrix.origin = {1, 2, 3};
    m.groups = {{"Red", {1}}};
    return m;
}

tds::scene full_scene() {
    tds::scene s;
    s.start_frame = 0;
    s.end_frame = 40;
    s.materials = {{"Red", {0.1f, 0, 0}, {0.8f, 0.1f, 0.1f}, {1, 1, 1}, 50, 2, true, false}};
    s.meshes = {quad_mesh("Quad", 0), quad_mesh("Other", 1)};
    s.cameras = {{"Camera01", {0, -50, 10}, {0, 0, 0}, 5, 50}};
    s.lights = {{"Omni", {10, 10, 30}, {1, 0.5f, 0.25f}},
                {"Spot", {0, 0, 20}, {0, 1, 0}, true, {0, 0, 0}, 15, 30}};
    tds::node quad;
    quad.id = 0;
    quad.name = "Quad";
    quad.pivot = tds::vec3{1, 0, 0};
    quad.position = {
        tds::track_loop,
        {{0, {0, 0, 0}, {0.5f, 0, 0, 0, 0}}, {20, {10, 0, 0}, {}}, {40, {0, 0, 0}, {}}}};
    quad.rotation = {tds::track_once, {{0, {0, {0, 0, 1}}, {}}, {40, {1.5f, {0, 0, 1}}, {}}}};
    quad.scale = {tds::track_once, {{0, {1, 1, 1}, {}}}};
    quad.morph = {tds::track_once, {{0, "Quad", {}}, {20, "Other", {}}}};
    quad.hide_keys = {10, 20};
    tds::node group;
    group.id = 1;
    group.name = tds::dummy_name;
    group.instance = "Group";
    group.parent = 0;
    group.scale = {tds::track_once, {{0, {2, 2, 2}, {}}}};
    tds::node other;
    other.id = 2;
    other.name = "Other";
    other.parent = 1;
    other.flags = 0x800;
    other.position = {tds::track_once, {{0, {0, 5, 0}, {}}}};
    tds::node eye;
    eye.kind = tds::node_kind::camera;
    eye.id = 3;
    eye.name = "Camera01";
    eye.position = {tds::track_once, {{0, {0, -50, 10}, {}}, {40, {0, -60, 20}, {}}}};
    eye.fov = {tds::track_once, {{0, 46.0f, {}}, {40, 30.0f, {}}}};
    eye.roll = {tds::track_once, {{0, 0.0f, {}}, {40, 20.0f, {}}}};
    tds::node target;
    target.kind = tds::node_kind::camera_target;
    target.id = 4;
    target.name = "Camera01";
    target.position = {tds::track_once, {{0, {0, 0, 0}, {}}}};
    tds::node light;
    light.kind = tds::node_kind::omni_light;
    light.id = 5;
    light.name = "Omni";
    light.colour = {tds::track_once, {{0, {1, 0.5f, 0.25f}, {}}}};
    s.nodes = {quad, group, other, eye, target, light};
    return s;
}

struct loaded {
    kf_scene* scene = nullptr;
    ~loaded() { kf_free_scene(scene); }
};

TEST(SceneWriter, OurReaderTakesEveryChunk) {
    const std::vector<uint8_t> bytes = tds::write_3ds(full_scene());
    kf_init(KF_HIERARCHY | KF_MORPH | KF_TRANSFORM);
    loaded s;
    kf_alloc_scene(&s.scene);
    ASSERT_EQ(kf_load_world_data(bytes.data(), bytes.size(), s.scene), KF_OK);
    ASSERT_EQ(kf_load_motion_data(bytes.data(), bytes.size(), s.scene), KF_OK);
    kf_set_active(s.scene);
    EXPECT_EQ(s.scene->end_frame, 40);
    kf_object* quad = kf_as_object(kf_find(KF_OBJECT, "Quad"));
    ASSERT_NE(quad, nullptr);
    ASSERT_EQ(quad->vertex_count, 4);
    ASSERT_EQ(quad->face_count, 2);
    // Stored relative to the local origin (1, 2, 3) and the pivot (1, 0, 0),
    // with y and z exchanged.
    EXPECT_FLOAT_EQ(quad->vertices[1].position.x, 4 - 1 - 1);
    EXPECT_FLOAT_EQ(quad->vertices[1].position.y, 0 - 3);
    EXPECT_FLOAT_EQ(quad->vertices[2].position.z, 2 - 2);
    EXPECT_FLOAT_EQ(quad->vertices[2].u, 1);
    EXPECT_EQ(quad->faces[0].flags, KF_FACE_WRAP_U);
    EXPECT_EQ(quad->faces[1].flags, KF_FACE_WRAP_V);
    ASSERT_NE(quad->faces[1].material, nullptr);
    EXPECT_STREQ(quad->faces[1].material->name, "Red");
    EXPECT_EQ(quad->faces[1].material->flags, KF_MATERIAL_TWO_SIDED);
    EXPECT_FLOAT_EQ(quad->faces[1].material->shininess, 0.5f);
    EXPECT_EQ(quad->faces[0].material, nullptr);
    kf_camera* camera = kf_as_camera(kf_find(KF_CAMERA, "Camera01"));
    ASSERT_NE(camera, nullptr);
    EXPECT_FLOAT_EQ(camera->fov, 46); // lens 50
    kf_light* spot = kf_as_light(kf_find(KF_LIGHT, "Spot"));
    ASSERT_NE(spot, nullptr);
    EXPECT_EQ(spot->kind, KF_SPOT_LIGHT);
    EXPECT_FLOAT_EQ(spot->falloff, 30);
    // The dummy goes by its instance name, the hierarchy by record ids.
    kf_object* group = kf_as_object(kf_find(KF_OBJECT, "Group"));
    kf_object* other = kf_as_object(kf_find(KF_OBJECT, "Other"));
    ASSERT_NE(group, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(group->flags & KF_OBJECT_DUMMY, KF_OBJECT_DUMMY);
    EXPECT_EQ(group->parent_id, quad->id);
    EXPECT_EQ(other->parent_id, group->id);
    EXPECT_EQ(other->flags & KF_OBJECT_NODE_HIDDEN, KF_OBJECT_NODE_HIDDEN);
    // Tracks: position at a key, the hide and morph keys, fov and roll.
    kf_set_frame(15);
    kf_update();
    EXPECT_EQ(quad->flags & KF_OBJECT_HIDDEN, KF_OBJECT_HIDDEN);
    EXPECT_EQ(quad->flags & KF_OBJECT_MORPHED, KF_OBJECT_MORPHED);
    EXPECT_EQ(quad->morph_from, quad->id);
    EXPECT_EQ(quad->morph_to, other->id);
    kf_set_frame(20);
    kf_update();
    EXPECT_NEAR(quad->position.x, 10, 1e-4);
    kf_set_frame(30);
    kf_update();
    EXPECT_EQ(quad->flags & KF_OBJECT_HIDDEN, 0);
    kf_set_frame(39);
    kf_update();
    EXPECT_GT(camera->roll, 15);
    EXPECT_LT(camera->fov, 35);
    kf_node* first = s.scene->node_head;
    ASSERT_NE(first, nullptr);
    kf_track* position = first->tracks[kf_track_slot(KF_NODE_OBJECT, KF_TRACK_POSITION)];
    ASSERT_NE(position, nullptr);
    EXPECT_EQ(position->mode, 2); // loop
    EXPECT_FLOAT_EQ(position->first->tension, 0.5f);
}

struct lib3ds_file {
    Lib3dsFile* file = nullptr;
    ~lib3ds_file() {
        if (file) lib3ds_file_free(file);
    }
};

template <typename Key>
int key_count(Key* k) {
    int n = 0;
    for (; k; k = k->next) ++n;
    return n;
}

TEST(SceneWriter, Lib3dsReadsTheSameScene) {
    scratch_dir dir;
    write_bytes(dir / "full.3ds", tds::write_3ds(full_scene()));
    lib3ds_file f;
    f.file = lib3ds_file_load((dir / "full.3ds").c_str());
    ASSERT_NE(f.file, nullptr);
    EXPECT_EQ(f.file->mesh_version, 3u);
    EXPECT_EQ(f.file->frames, 40);
    Lib3dsMesh* quad = lib3ds_file_mesh_by_name(f.file, "Quad");
    ASSERT_NE(quad, nullptr);
    ASSERT_EQ(quad->points, 4u);
    ASSERT_EQ(quad->faces, 2u);
    EXPECT_FLOAT_EQ(quad->pointL[1].pos[0], 4);
    EXPECT_FLOAT_EQ(quad->texelL[2][1], 1);
    EXPECT_FLOAT_EQ(quad->matrix[3][1], 2);
    EXPECT_STREQ(quad->faceL[1].material, "Red");
    Lib3dsMaterial* red = lib3ds_file_material_by_name(f.file, "Red");
    ASSERT_NE(red, nullptr);
    EXPECT_NEAR(red->diffuse[0], 0.8f, 1e-6);
    EXPECT_TRUE(red->two_sided);
    Lib3dsCamera* camera = lib3ds_file_camera_by_name(f.file, "Camera01");
    ASSERT_NE(camera, nullptr);
    EXPECT_FLOAT_EQ(camera->roll, 5);
    Lib3dsLight* spot = lib3ds_file_light_by_name(f.file, "Spot");
    ASSERT_NE(spot, nullptr);
    EXPECT_TRUE(spot->spot_light);
    EXPECT_FLOAT_EQ(spot->fall_off, 30);
    Lib3dsNode* quad_node = lib3ds_file_node_by_name(f.file, "Quad", LIB3DS_OBJECT_NODE);
    ASSERT_NE(quad_node, nullptr);
    EXPECT_EQ(quad_node->node_id, 0);
    EXPECT_FLOAT_EQ(quad_node->data.object.pivot[0], 1);
    const Lib3dsObjectData& q = quad_node->data.object;
    EXPECT_EQ(key_count(q.pos_track.keyL), 3);
    EXPECT_FLOAT_EQ(q.pos_track.keyL->tcb.tens, 0.5f);
    EXPECT_FLOAT_EQ(q.pos_track.keyL->next->value[0], 10);
    EXPECT_EQ(key_count(q.rot_track.keyL), 2);
    EXPECT_FLOAT_EQ(q.rot_track.keyL->next->angle, 1.5f);
    EXPECT_EQ(key_count(q.hide_track.keyL), 2);
    ASSERT_EQ(key_count(q.morph_track.keyL), 2);
    EXPECT_STREQ(q.morph_track.keyL->next->name, "Other");
    // The dummy is a child of Quad, and Other a child of the dummy.
    Lib3dsNode* group = quad_node->childs;
    ASSERT_NE(group, nullptr);
    EXPECT_STREQ(group->data.object.instance, "Group");
    ASSERT_NE(group->childs, nullptr);
    EXPECT_STREQ(group->childs->name, "Other");
    Lib3dsNode* eye = lib3ds_file_node_by_name(f.file, "Camera01", LIB3DS_CAMERA_NODE);
    ASSERT_NE(eye, nullptr);
    EXPECT_EQ(key_count(eye->data.camera.fov_track.keyL), 2);
    EXPECT_EQ(key_count(eye->data.camera.roll_track.keyL), 2);
    EXPECT_NE(lib3ds_file_node_by_name(f.file, "Camera01", LIB3DS_TARGET_NODE), nullptr);
    EXPECT_NE(lib3ds_file_node_by_name(f.file, "Omni", LIB3DS_LIGHT_NODE), nullptr);
}

} // namespace
} // namespace vilora::testing
