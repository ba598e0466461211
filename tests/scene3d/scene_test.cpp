// The scene's lists, look-ups, frame range and kf_update on scenes built in memory.
#include "scene3d/kf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace vilora {
namespace {

char* owned(const char* s) {
    char* copy = new char[std::strlen(s) + 1];
    std::strcpy(copy, s);
    return copy;
}

class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        kf_init(KF_HIERARCHY | KF_MORPH | KF_TRANSFORM);
        ASSERT_EQ(kf_alloc_scene(&scene), 0);
        kf_set_active(scene);
    }
    void TearDown() override { kf_free_scene(scene); }

    kf_object* add_object(const char* name, int id, std::initializer_list<kf_vector> vertices) {
        auto* o = new kf_object{};
        o->name = owned(name);
        o->id = id;
        o->parent_id = -1;
        o->vertex_count = static_cast<int>(vertices.size());
        o->vertices = new kf_vertex[vertices.size()]{};
        int i = 0;
        for (const kf_vector& v : vertices) o->vertices[i++].position = v;
        kf_add_world(KF_OBJECT, o);
        return o;
    }
    kf_camera* add_camera(const char* name, int id, kf_vector position, kf_vector target) {
        auto* c = new kf_camera{};
        c->name = owned(name);
        c->id = id;
        c->position = position;
        c->target = target;
        c->fov = 90;
        c->width = 320;
        c->height = 200;
        c->aspect = 0.75f;
        kf_add_world(KF_CAMERA, c);
        return c;
    }
    kf_node* add_node(int type, int node_id, int parent, kf_record* record) {
        kf_add_node(
            type, node_id, parent, new kf_track* [kf_track_slots(type)] {}, record);
        return scene->node_tail;
    }
    // A one-key vector track.
    static kf_track* position_track(kf_vector v) {
        auto* t = new kf_track{};
        kf_key* k = kf_append_key(t, 0);
        k->value[0] = v.x;
        k->value[1] = v.y;
        k->value[2] = v.z;
        return t;
    }
    void update_at(float frame) {
        scene->frame = frame;
        ASSERT_EQ(kf_update(), 0);
    }

    kf_scene* scene = nullptr;
};

TEST_F(SceneTest, ByNameMatchesWholeNamesOnly) {
    add_object("Box01", 0, {});
    auto* dummy = new kf_object{}; // a dummy without an instance name yet
    dummy->id = 1024;
    kf_add_world(KF_OBJECT, dummy);
    kf_world_node* found = nullptr;
    EXPECT_EQ(kf_by_name("Box", &found), 0);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(kf_by_name("", &found), 0);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(kf_by_name("Box01", &found), 0);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->record->id, 0);
    EXPECT_EQ(kf_by_id(1024, &found), 0);
    EXPECT_EQ(found->record, dummy);
    EXPECT_EQ(kf_find(KF_CAMERA, "Box01"), nullptr);

    kf_init(0);
    EXPECT_EQ(kf_by_name("Box01", &found), KF_NO_SCENE);
    EXPECT_EQ(found, nullptr);
}

TEST_F(SceneTest, FrameRangeChecks) {
    float start = -1, end = -1;
    EXPECT_EQ(kf_get_frames(&start, &end), KF_NO_SCENE); // no nodes yet
    kf_object* o = add_object("Box", 0, {});
    add_node(KF_NODE_OBJECT, 0, -1, o);
    EXPECT_EQ(kf_get_frames(&start, &end), KF_NO_FRAMES);
    EXPECT_EQ(kf_set_frame(0), KF_NO_FRAMES);
    scene->start_frame = 0;
    scene->end_frame = 100;
    EXPECT_EQ(kf_get_frames(&start, &end), 0);
    EXPECT_EQ(end, 100);
    EXPECT_EQ(kf_set_frame(50), 0);
    EXPECT_EQ(kf_set_frame(100), KF_BAD_FRAME);
    EXPECT_EQ(scene->frame, 50);
    EXPECT_EQ(kf_set_frame(0), 0);
    EXPECT_EQ(kf_set_frame(-1), KF_BAD_FRAME);
}

TEST_F(SceneTest, ChildrenListInReverseOrderAndUnknownParentsAreRoots) {
    kf_object* o = add_object("Box", 0, {});
    kf_node* parent = add_node(KF_NODE_OBJECT, 0, -1, o);
    kf_node* first = add_node(KF_NODE_OBJECT, 1, 0, o);
    kf_node* second = add_node(KF_NODE_OBJECT, 2, 0, o);
    kf_node* orphan = add_node(KF_NODE_OBJECT, 3, 77, o);
    EXPECT_EQ(parent->first_child, second);
    EXPECT_EQ(second->next_sibling, first);
    EXPECT_EQ(first->next_sibling, nullptr);
    EXPECT_EQ(first->parent, parent);
    EXPECT_EQ(orphan->parent, nullptr);
    EXPECT_EQ(scene->node_head, parent);
    EXPECT_EQ(scene->node_tail, orphan);
}

TEST_F(SceneTest, TracksAttachByKindToTheirSlots) {
    kf_camera* c = add_camera("Camera01", 0, {0, 0, 0}, {0, 0, 1});
    kf_node* n = add_node(KF_NODE_CAMERA, 5, -1, c);
    kf_track* fov = position_track({30, 0, 0});
    EXPECT_EQ(kf_set_track(KF_TRACK_FOV, 5, fov), 0);
    EXPECT_EQ(n->tracks[1], fov);
    auto* rotation = new kf_track{};
    EXPECT_EQ(kf_set_track(KF_TRACK_ROTATION, 5, rotation), 0); // cameras have no rotation
    kf_free_track(rotation);
    EXPECT_EQ(kf_set_track(KF_TRACK_FOV, 6, fov), KF_UNDEFINED_NAME);
    update_at(0);
    EXPECT_EQ(c->fov, 30);
}

TEST_F(SceneTest, CameraProjectionConstantsAndView) {
    kf_camera* c = add_camera("Camera01", 0, {0, 0, -10}, {0, 0, 0});
    add_node(KF_NODE_CAMERA, 0, -1, c);
    kf_object* o = add_object("Box", 1, {{1, 2, 3}});
    kf_node* n = add_node(KF_NODE_OBJECT, 1, -1, o);
    n->tracks[1] = position_track({1, 1, 1}); // scale
    update_at(0);
    EXPECT_NEAR(c->persp_x, 160, 1e-3);
    EXPECT_NEAR(c->persp_y, 200 / 2 / 0.75, 1e-3);
    // Without an active camera: world space. The object has no rotation track:
    // the zero quaternion is the identity.
    EXPECT_FLOAT_EQ(o->vertices[0].camera_position.x, 1);
    EXPECT_FLOAT_EQ(o->vertices[0].camera_position.z, 3);
    kf_set_camera(c);
    update_at(0);
    // Looking along +z from z = −10: the point is 13 ahead.
    EXPECT_NEAR(o->vertices[0].camera_position.x, 1, 1e-5);
    EXPECT_NEAR(o->vertices[0].camera_position.y, 2, 1e-5);
    EXPECT_NEAR(o->vertices[0].camera_position.z, 13, 1e-5);
}

TEST_F(SceneTest, CameraOnItsTargetAndRoll) {
    kf_camera* c = add_camera("Camera01", 0, {1, 2, 3}, {1, 2, 3});
    add_node(KF_NODE_CAMERA, 0, -1, c);
    add_object("Box", 1, {});
    update_at(0);
    // Pitch asin(0/1) = 0 and yaw −atan2(0, 0) = 0: the identity turn.
    EXPECT_FLOAT_EQ(c->matrix.m[0][0], 1);
    EXPECT_FLOAT_EQ(c->matrix.m[2][2], 1);
    EXPECT_FLOAT_EQ(c->matrix.m[0][3], -1);
    c->roll = 90;
    update_at(0);
    kf_vector up = {0, 1, 0}, seen;
    mat_transform_vector(&c->matrix, &up, &seen);
    // R = −90°: row 0 is (0, −1, 0), so the world's up lies along the view's −x.
    EXPECT_NEAR(seen.x, -1, 1e-5);
    EXPECT_NEAR(seen.y, 0, 1e-5);
}

TEST_F(SceneTest, ChildObjectsFollowTheirParent) {
    kf_object* parent = add_object("Parent", 0, {});
    kf_object* child = add_object("Child", 1, {{0, 0, 0}});
    kf_node* p = add_node(KF_NODE_OBJECT, 0, -1, parent);
    kf_node* h = add_node(KF_NODE_OBJECT, 1, 0, child);
    p->tracks[0] = position_track({10, 0, 0});
    p->tracks[1] = position_track({2, 2, 2});
    h->tracks[0] = position_track({1, 0, 0});
    h->tracks[1] = position_track({1, 1, 1});
    update_at(0);
    // Scaled by the parent, then moved by it.
    EXPECT_FLOAT_EQ(child->vertices[0].camera_position.x, 12);
    update_at(0); // no accumulation
    EXPECT_FLOAT_EQ(child->vertices[0].camera_position.x, 12);
    kf_init(KF_TRANSFORM);
    kf_set_active(scene);
    update_at(0);
    EXPECT_FLOAT_EQ(child->vertices[0].camera_position.x, 1);
}

TEST_F(SceneTest, LightsUnderACameraMoveByItsPosition) {
    kf_camera* c = add_camera("Camera01", 0, {0, 0, 0}, {0, 0, 1});
    auto* l = new kf_light{};
    l->name = owned("Omni");
    l->id = 1;
    kf_add_world(KF_LIGHT, l);
    kf_node* cn = add_node(KF_NODE_CAMERA, 0, -1, c);
    kf_node* ln = add_node(KF_NODE_LIGHT, 1, 0, l);
    cn->tracks[0] = position_track({5, 0, 0});
    ln->tracks[0] = position_track({0, 1, 0});
    update_at(0);
    EXPECT_FLOAT_EQ(l->position.x, 5);
    EXPECT_FLOAT_EQ(l->position.y, 1);
}

TEST_F(SceneTest, MorphBlendsOnlyTheVerticesTheTargetsShare) {
    kf_object* a = add_object("A", 0, {{0, 0, 0}, {0, 0, 0}, {7, 7, 7}});
    kf_object* b = add_object("B", 1, {{10, 0, 0}, {20, 0, 0}});
    kf_node* n = add_node(KF_NODE_OBJECT, 0, -1, a);
    n->tracks[1] = position_track({1, 1, 1});
    auto* morph = new kf_track{};
    kf_key_set_int(kf_append_key(morph, 0), 0);
    kf_key_set_int(kf_append_key(morph, 10), 1);
    n->tracks[3] = morph;
    update_at(5);
    EXPECT_TRUE(a->flags & KF_OBJECT_MORPHED);
    EXPECT_FLOAT_EQ(a->vertices[0].camera_position.x, 5);
    EXPECT_FLOAT_EQ(a->vertices[1].camera_position.x, 10);
    EXPECT_FLOAT_EQ(a->vertices[2].camera_position.x, 7); // beyond B: unmorphed
    // A target id that is not an object: transformed as if unmorphed.
    kf_key_set_int(morph->first->next, 99);
    update_at(5);
    EXPECT_FLOAT_EQ(a->vertices[1].camera_position.x, 0);
    (void)b;
}

TEST_F(SceneTest, NormalsFollowTheObjectTurn) {
    kf_init(KF_NORMALS | KF_TRANSFORM);
    kf_set_active(scene);
    kf_object* o = add_object("Tri", 0, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    o->face_count = 1;
    o->faces = new kf_face[1]{};
    o->faces[0] = {0,       1,  2, 0, 0, &o->vertices[0], &o->vertices[1], &o->vertices[2],
                   nullptr, {}, {}};
    kf_compute_normals(o);
    EXPECT_FLOAT_EQ(o->faces[0].normal.z, 1);
    EXPECT_FLOAT_EQ(o->vertices[2].normal.z, 1);
    kf_node* n = add_node(KF_NODE_OBJECT, 0, -1, o);
    n->tracks[1] = position_track({3, 3, 3}); // scale leaves normals unit length
    kf_compute_bbox();
    EXPECT_EQ(o->bbox_max.x, 1);
    EXPECT_EQ(o->bbox_min.y, 0);
    update_at(0);
    EXPECT_FLOAT_EQ(o->faces[0].world_normal.z, 1);
    EXPECT_FLOAT_EQ(o->vertices[1].world_normal.z, 1);
    EXPECT_FLOAT_EQ(o->world_bbox_max.x, 3);
}

} // namespace
} // namespace vilora
