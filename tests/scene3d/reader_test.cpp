// The 3DS reader on files written chunk by chunk, malformed ones included.
#include "library/file_problems.h"
#include "scene3d/kf.h"
#include "tests/scene3d/chunk_writer.h"
#include "tests/scene3d/scene_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

namespace vilora {
namespace {

using test::chunk_writer;

class ReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        kf_init(13);
        kf_alloc_scene(&scene);
    }
    void TearDown() override { kf_free_scene(scene); }

    kf_status load_world(const std::vector<uint8_t>& bytes, const std::string& name = "s.3ds") {
        test::temp_file f(name);
        f.write(bytes);
        return kf_load_world(f.path(), scene);
    }
    kf_status load_both(const std::vector<uint8_t>& bytes) {
        kf_status s = kf_load_world_data(bytes.data(), bytes.size(), scene);
        return s != 0 ? s : kf_load_motion_data(bytes.data(), bytes.size(), scene);
    }
    kf_world_node* find(const char* name) {
        kf_set_active(scene);
        kf_world_node* n = nullptr;
        kf_by_name(name, &n);
        return n;
    }

    kf_scene* scene = nullptr;
};

std::vector<uint8_t> one_mesh(uint32_t mesh_version = 3) {
    chunk_writer w;
    test::begin_scene(w, mesh_version);
    test::add_mesh(w, "Tri", {0, 0, 0, 1, 0, 0, 0, 1, 0}, {{0, 1, 2, 0x18}});
    w.end();
    w.end();
    return w.bytes();
}

TEST_F(ReaderTest, VersionByteAndExtensions) {
    EXPECT_EQ(load_world(one_mesh(1)), KF_BAD_VERSION);
    EXPECT_EQ(load_world(one_mesh(0)), KF_BAD_VERSION);
    EXPECT_EQ(scene->world_head, nullptr);
    // A load drops what the scene held without freeing it: free it first.
    for (const char* name : {"a.3ds", "a.3DS", "b.kXf", "c.d.3Ds"}) {
        EXPECT_EQ(load_world(one_mesh(), name), 0) << name;
        EXPECT_EQ(kf_free_world(scene), 0);
    }
    for (const char* name : {"a.obj", "a3ds", "a.3ds.bak", "a."})
        EXPECT_EQ(load_world(one_mesh(), name), KF_NO_LOADER) << name;
    EXPECT_EQ(kf_load_world("/nonexistent/x.3ds", scene), KF_OPEN_FAILED);
    std::vector<uint8_t> tiny(20, 0);
    EXPECT_EQ(load_world(tiny), KF_READ_ERROR);
}

TEST_F(ReaderTest, MeshVerticesFacesAndFlags) {
    ASSERT_EQ(load_world(one_mesh()), 0);
    EXPECT_EQ(kf_active_scene(), nullptr); // the load leaves the active scene as it was
    kf_object* o = kf_as_object(find("Tri"));
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->id, 0);
    ASSERT_EQ(o->vertex_count, 3);
    // (0, 1, 0) in the file is (0, 0, 1) with y up.
    EXPECT_EQ(o->vertices[2].position.y, 0);
    EXPECT_EQ(o->vertices[2].position.z, 1);
    ASSERT_EQ(o->face_count, 1);
    EXPECT_EQ(o->faces[0].flags, KF_FACE_WRAP_U | KF_FACE_WRAP_V);
    EXPECT_EQ(o->faces[0].vc, &o->vertices[2]);
    EXPECT_EQ(o->bbox_max.z, 1);
    EXPECT_EQ(o->bbox_min.x, 0);
}

TEST_F(ReaderTest, CameraLensAndLights) {
    chunk_writer w;
    test::begin_scene(w);
    w.begin(0x0010); // a colour directly under the editor chunk: dropped
    w.vec(1, 1, 1);
    w.end();
    test::add_camera(w, "Fifty", 1, 2, 3, 4, 5, 6, 7, 50);
    test::add_camera(w, "Thirty", 0, 0, 0, 0, 1, 0, 0, 30);
    w.begin(0x4000);
    w.str("Spot");
    w.begin(0x4600);
    w.vec(1, 2, 3);
    w.begin(0x0011);
    w.u8(255);
    w.u8(51);
    w.u8(0);
    w.end();
    w.begin(0x4610);
    w.vec(0, 0, 0);
    w.f32(20);
    w.f32(40);
    w.end();
    w.end();
    w.end();
    w.end();
    w.end();
    ASSERT_EQ(load_world(w.bytes()), 0);
    kf_camera* fifty = kf_as_camera(find("Fifty"));
    ASSERT_NE(fifty, nullptr);
    EXPECT_EQ(fifty->fov, 46);
    EXPECT_EQ(fifty->roll, 7);
    EXPECT_EQ(fifty->position.y, 3);
    EXPECT_EQ(fifty->target.z, 5);
    EXPECT_FLOAT_EQ(kf_as_camera(find("Thirty"))->fov, 80);
    kf_light* spot = kf_as_light(find("Spot"));
    ASSERT_NE(spot, nullptr);
    EXPECT_EQ(spot->kind, KF_SPOT_LIGHT);
    EXPECT_EQ(spot->falloff, 40);
    EXPECT_FLOAT_EQ(spot->color.y, 0.2f);
    EXPECT_EQ(spot->id, 2);
}

TEST_F(ReaderTest, NodeIdChunksSetTheCounter) {
    chunk_writer w;
    test::begin_scene(w);
    test::add_mesh(w, "A", {0, 0, 0}, {});
    w.end();
    w.begin(0xB000);
    test::frame_range(w, 0, 10);
    test::begin_node(w, 0xB002, 7, "A", -1);
    w.end();
    test::begin_node(w, 0xB002, -1, "A", 7);
    w.end();
    test::begin_node(w, 0xB002, -1, "$$$DUMMY", 8);
    w.begin(0xB011);
    w.str("Helper");
    w.end();
    w.end();
    w.end();
    w.end();
    ASSERT_EQ(load_both(w.bytes()), 0);
    kf_node* n = scene->node_head;
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->node_id, 7);
    EXPECT_EQ(n->next->node_id, 8);
    EXPECT_EQ(n->next->parent, n);
    kf_object* helper = kf_as_object(find("Helper"));
    ASSERT_NE(helper, nullptr);
    EXPECT_EQ(helper->id, 9 + 1024);
    EXPECT_EQ(helper->flags & KF_OBJECT_DUMMY, KF_OBJECT_DUMMY);
    EXPECT_EQ(helper->parent_id, 0); // the record id of node 8's record, "A"
}

TEST_F(ReaderTest, RotationKeysAccumulate) {
    chunk_writer w;
    test::begin_scene(w);
    test::add_mesh(w, "A", {1, 0, 0}, {});
    w.end();
    w.begin(0xB000);
    test::frame_range(w, 0, 30);
    test::begin_node(w, 0xB002, 0, "A", -1);
    test::track_header(w, 0xB021, 0, 3);
    for (uint32_t frame : {0u, 10u, 20u}) {
        test::key(w, frame);
        w.f32(static_cast<float>(kf_pi / 2));
        w.vec(0, 0, 1); // about the file's z, the library's y
    }
    w.end();
    w.end();
    w.end();
    w.end();
    ASSERT_EQ(load_both(w.bytes()), 0);
    kf_track* t = scene->node_head->tracks[2];
    ASSERT_NE(t, nullptr);
    int degrees = 90;
    for (kf_key* k = t->first; k; k = k->next, degrees += 90) {
        double half = degrees * kf_pi / 360;
        EXPECT_NEAR(k->quat.w, std::cos(half), 1e-5) << degrees;
        EXPECT_NEAR(k->quat.y, std::sin(half), 1e-5) << degrees;
        EXPECT_EQ(k->value[2], 1); // the axis in library coordinates
        EXPECT_EQ(k->value[3], 0);
        kf_quat q;
        kf_eval_rotation(t, k->frame, &q);
        EXPECT_NEAR(std::fabs(q.w), std::fabs(k->quat.w), 1e-5);
    }
    EXPECT_FLOAT_EQ(t->first->next->next->value[0], static_cast<float>(kf_pi * 1.5));
}

TEST_F(ReaderTest, MotionFailuresFreeTheNodesAndNameTheProblem) {
    chunk_writer w;
    test::begin_scene(w);
    test::add_mesh(w, "A", {0, 0, 0}, {});
    w.begin(0xAFFF);
    w.begin(0xA000);
    w.str("Red");
    w.end();
    w.end();
    w.end();
    w.begin(0xB000);
    test::begin_node(w, 0xB002, 0, "A", -1);
    test::track_header(w, 0xB024, 0, 1); // roll: no slot in an object node
    test::key(w, 0);
    w.f32(3);
    w.end();
    w.end();
    test::begin_node(w, 0xB002, 1, "Red", -1); // a material, not an object
    w.end();
    w.end();
    w.end();
    EXPECT_EQ(load_both(w.bytes()), KF_UNDEFINED_NAME);
    EXPECT_EQ(scene->node_head, nullptr);
    EXPECT_NE(scene->world_head, nullptr);
    EXPECT_EQ(kf_load_motion("x.3ds", scene), KF_OPEN_FAILED);
    kf_scene* empty = nullptr;
    kf_alloc_scene(&empty);
    EXPECT_EQ(kf_load_motion("x.3ds", empty), KF_NO_SCENE);
    kf_free_scene(empty);
}

// Malformed files end the load with a status; nothing is read or written
// outside an array.
TEST_F(ReaderTest, MalformedChunksEndTheLoad) {
    auto with_mesh = [](auto&& body) {
        chunk_writer w;
        test::begin_scene(w);
        w.begin(0x4000);
        w.str("M");
        w.begin(0x4100);
        body(w);
        w.end();
        w.end();
        w.end();
        w.end();
        return w.bytes();
    };
    // A face naming vertex 3 of three.
    EXPECT_EQ(load_world(with_mesh([](chunk_writer& w) {
                  w.begin(0x4110);
                  w.u16(3);
                  for (int i = 0; i < 9; ++i) w.f32(0);
                  w.end();
                  w.begin(0x4120);
                  w.u16(1);
                  for (uint16_t v : {0, 1, 3, 0}) w.u16(v);
                  w.end();
              })),
              KF_READ_ERROR);
    EXPECT_EQ(scene->world_head, nullptr);
    // A vertex count beyond the chunk's data.
    EXPECT_EQ(load_world(with_mesh([](chunk_writer& w) {
                  w.begin(0x4110);
                  w.u16(1000);
                  w.f32(1);
                  w.end();
              })),
              KF_READ_ERROR);
    // A sub-chunk longer than its parent, and one shorter than its own header.
    EXPECT_EQ(load_world(with_mesh([](chunk_writer& w) {
                  w.begin(0x4111);
                  w.u16(0);
                  w.end(40);
              })),
              KF_READ_ERROR);
    EXPECT_EQ(load_world(with_mesh([](chunk_writer& w) {
                  w.begin(0x4111);
                  w.end(-6);
              })),
              KF_READ_ERROR);
}

// Beside the status, a failed load notes the file and the chunk where it broke.
TEST_F(ReaderTest, FailedLoadsNameTheFileAndTheChunk) {
    take_file_problem();
    chunk_writer w;
    test::begin_scene(w);
    w.begin(0x4000);
    w.str("M");
    w.begin(0x4100);
    w.begin(0x4110);
    w.u16(1000); // more vertices than the chunk holds
    w.f32(1);
    w.end();
    w.end();
    w.end();
    w.end();
    w.end();
    const std::vector<uint8_t> bytes = w.bytes();
    test::temp_file f("broken.3ds");
    f.write(bytes);
    EXPECT_EQ(kf_load_world(f.path(), scene), KF_READ_ERROR);
    const std::optional<file_problem> problem = take_file_problem();
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->file, f.path());
    size_t offset = 0;
    ASSERT_EQ(std::sscanf(problem->cause.c_str(), "bad chunk 0x4110 at offset %zu", &offset), 1)
        << problem->cause;
    ASSERT_LT(offset + 1, bytes.size());
    EXPECT_EQ(bytes[offset], 0x10);
    EXPECT_EQ(bytes[offset + 1], 0x41) << "the offset is that chunk's header";

    // A directory in the file's place cannot be opened, and is never read.
    const std::filesystem::path dir = std::filesystem::path(f.path()).parent_path() / "d.3ds";
    std::filesystem::create_directory(dir);
    EXPECT_EQ(kf_load_world(dir.c_str(), scene), KF_OPEN_FAILED);
    const std::optional<file_problem> not_a_file = take_file_problem();
    ASSERT_TRUE(not_a_file);
    EXPECT_EQ(not_a_file->cause, "not a regular file (a directory)");
    std::filesystem::remove(dir);
}

// Chunks no pass reads are counted once with their offsets; chunks one pass
// leaves to the other are not.
TEST_F(ReaderTest, ChunksNeitherPassReadsAreRecorded) {
    chunk_writer w;
    test::begin_scene(w);
    test::add_mesh(w, "Tri", {0, 0, 0, 1, 0, 0, 0, 1, 0}, {{0, 1, 2, 0}});
    w.begin(0x1234);
    w.u16(7);
    w.end();
    w.end(); // the editor chunk
    w.begin(0xB000);
    w.end();
    w.end();
    const std::vector<uint8_t> bytes = w.bytes();
    ASSERT_EQ(load_both(bytes), KF_OK);
    const kf_skipped_chunks& skipped = kf_last_skipped_chunks();
    size_t unknown = 0;
    for (size_t i = 0; i < std::min(skipped.count, kf_skipped_chunks_kept); ++i)
        if (skipped.first[i].id == 0x1234) {
            ++unknown;
            EXPECT_EQ(bytes[skipped.first[i].offset], 0x34);
        }
    EXPECT_EQ(unknown, 1u);
    for (size_t i = 0; i < std::min(skipped.count, kf_skipped_chunks_kept); ++i) {
        EXPECT_NE(skipped.first[i].id, 0xB000);
        EXPECT_NE(skipped.first[i].id, 0x3D3D);
    }
}

TEST_F(ReaderTest, IndicesBeyondTheArraysAreSkipped) {
    chunk_writer w;
    test::begin_scene(w);
    w.begin(0xAFFF);
    w.begin(0xA000);
    w.str("Red");
    w.end();
    w.end();
    w.begin(0x4000);
    w.str("M");
    w.begin(0x4100);
    w.begin(0x4110);
    w.u16(3);
    w.vec(0, 0, 0);
    w.vec(1, 0, 0);
    w.vec(0, 1, 0);
    w.end();
    w.begin(0x4120);
    w.u16(1);
    for (uint16_t v : {0, 1, 2, 0}) w.u16(v);
    w.begin(0x4130);
    w.str("Red");
    w.u16(2);
    w.u16(500); // no such face
    w.u16(0);
    w.end();
    w.end();
    w.begin(0x4140);
    w.u16(5); // two pairs more than vertices
    for (int i = 0; i < 10; ++i) w.f32(static_cast<float>(i));
    w.end();
    w.end();
    w.end();
    w.end();
    w.end();
    ASSERT_EQ(load_world(w.bytes()), 0);
    kf_object* o = kf_as_object(find("M"));
    ASSERT_NE(o, nullptr);
    kf_material* red = kf_as_material(find("Red"));
    EXPECT_EQ(o->faces[0].material, red);
    EXPECT_EQ(o->faces[0].material_id, red->id);
    EXPECT_EQ(o->vertices[2].u, 4);
    EXPECT_EQ(o->vertices[2].v, 5);
}

TEST_F(ReaderTest, LongNamesAreCutAndDeepNestingIsRefused) {
    std::string long_name(200, 'n');
    chunk_writer w;
    test::begin_scene(w);
    test::add_mesh(w, long_name, {0, 0, 0}, {});
    w.end();
    w.end();
    ASSERT_EQ(load_world(w.bytes()), 0);
    EXPECT_NE(find(long_name.substr(0, 63).c_str()), nullptr);
    kf_free_world(scene);

    chunk_writer deep;
    test::begin_scene(deep);
    for (int i = 0; i < 100; ++i) deep.begin(0x3D3D);
    for (int i = 0; i < 100; ++i) deep.end();
    deep.end();
    deep.end();
    EXPECT_EQ(load_world(deep.bytes()), KF_READ_ERROR);
}

TEST_F(ReaderTest, AnimatedSceneEvaluates) {
    std::vector<uint8_t> bytes = test::animated_scene();
    ASSERT_EQ(load_both(bytes), 0);
    kf_set_active(scene);
    kf_world_node* camera_entry = nullptr;
    kf_by_name("Camera01", &camera_entry);
    kf_camera* camera = kf_as_camera(camera_entry);
    ASSERT_NE(camera, nullptr);
    EXPECT_FLOAT_EQ(camera->fov, 63);
    camera->width = 320;
    camera->height = 200;
    camera->aspect = 0.75f;
    kf_set_camera(camera);
    float start = -1, end = -1;
    ASSERT_EQ(kf_get_frames(&start, &end), 0);
    EXPECT_EQ(end, 40);
    kf_object* helper = kf_as_object(find("Helper"));
    ASSERT_NE(helper, nullptr);
    for (float frame : {0.0f, 15.0f, 39.0f}) {
        ASSERT_EQ(kf_set_frame(frame), 0);
        ASSERT_EQ(kf_update(), 0);
        EXPECT_EQ((helper->flags & KF_OBJECT_HIDDEN) != 0, frame == 15.0f);
    }
    kf_object* box = kf_as_object(find("Box"));
    // Every vertex ends up in front of the camera.
    for (int i = 0; i < box->vertex_count; ++i) EXPECT_GT(box->vertices[i].camera_position.z, 0);
    EXPECT_EQ(box->faces[0].material, nullptr);
}

TEST_F(ReaderTest, FeaturedSceneUsesEveryPartOfTheFormat) {
    kf_init(KF_HIERARCHY | KF_MORPH | KF_TRANSFORM | KF_NORMALS);
    std::vector<uint8_t> bytes = test::featured_scene();
    ASSERT_EQ(load_both(bytes), 0);
    kf_material* gold = kf_as_material(find("Gold"));
    ASSERT_NE(gold, nullptr);
    EXPECT_STREQ(gold->texture.file, "gold.bmp");
    EXPECT_EQ(gold->texture.flags, 0x10);
    EXPECT_EQ(gold->texture.u_scale, 2);
    EXPECT_FLOAT_EQ(gold->shininess, 0.6f);
    EXPECT_EQ(gold->shading, 3);
    EXPECT_EQ(gold->flags, KF_MATERIAL_TWO_SIDED);

    kf_object* blob = kf_as_object(find("Blob"));
    ASSERT_NE(blob, nullptr);
    EXPECT_EQ(blob->faces[3].material, gold);
    EXPECT_EQ(blob->faces[1].flags, KF_FACE_WRAP_U);
    EXPECT_FLOAT_EQ(blob->vertices[3].u, 0.75f);
    // The local axes turn a quarter about the file's z; x along the file's y.
    EXPECT_NEAR(blob->vertices[2].position.x, 2 - 0.5, 1e-6); // minus the pivot
    EXPECT_NEAR(blob->vertices[1].position.z, -2, 1e-6);
    EXPECT_NEAR(blob->faces[0].normal.y, -1, 1e-6); // normals with KF_NORMALS
    EXPECT_EQ(kf_as_object(find("Blob2"))->flags & KF_OBJECT_NODE_HIDDEN, KF_OBJECT_NODE_HIDDEN);

    kf_ambient* ambient = kf_as_ambient(find("$AMBIENT$"));
    ASSERT_NE(ambient, nullptr);
    EXPECT_EQ(ambient->id, 6 + 1024);
    kf_light* spot = kf_as_light(find("Spot"));
    EXPECT_FLOAT_EQ(spot->color.y, 1); // the colour track over the colour chunk

    kf_camera* rolli = kf_as_camera(find("rolli"));
    ASSERT_NE(rolli, nullptr);
    rolli->width = 220;
    rolli->height = 200;
    rolli->aspect = 0.75f;
    kf_set_camera(rolli);
    ASSERT_EQ(kf_set_frame(15), 0);
    ASSERT_EQ(kf_update(), 0);
    EXPECT_NE(blob->flags & KF_OBJECT_MORPHED, 0);
    EXPECT_EQ(blob->morph_to, kf_as_object(find("Blob2"))->id);
    EXPECT_GT(rolli->fov, 30);
    EXPECT_LT(rolli->fov, 60);
    EXPECT_GT(rolli->persp_x, 0);
    EXPECT_GT(ambient->color.x, 0.1f);
    // The spot light's node is a child of the camera node: moved by its position.
    EXPECT_FLOAT_EQ(spot->position.y, 5 + 20);
}

} // namespace
} // namespace vilora
