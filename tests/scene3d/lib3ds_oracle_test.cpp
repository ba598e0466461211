// Oracle: scenes written by lib3ds, read back by lib3ds and by our reader.
#include "scene3d/kf.h"
#include "tests/scene3d/scene_files.h"

#include <lib3ds/camera.h>
#include <lib3ds/file.h>
#include <lib3ds/light.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>
#include <lib3ds/node.h>
#include <lib3ds/tracks.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>

namespace vilora {
namespace {

using mat3 = std::array<std::array<double, 3>, 3>;

struct file_deleter {
    void operator()(Lib3dsFile* f) const { lib3ds_file_free(f); }
};
using file_ptr = std::unique_ptr<Lib3dsFile, file_deleter>;

void set_tcb(Lib3dsTcb& tcb, int frame, float tension, float ease_from) {
    tcb.frame = frame;
    tcb.flags = LIB3DS_USE_TENSION | LIB3DS_USE_CONTINUITY | LIB3DS_USE_BIAS | LIB3DS_USE_EASE_TO |
                LIB3DS_USE_EASE_FROM;
    tcb.tens = tension;
    tcb.cont = 0.1f;
    tcb.bias = -0.2f;
    tcb.ease_to = 0.3f;
    tcb.ease_from = ease_from;
}

void add_lin3(Lib3dsLin3Track& track, int frame, float x, float y, float z, float tension = 0) {
    Lib3dsLin3Key* k = lib3ds_lin3_key_new();
    set_tcb(k->tcb, frame, tension, 0.25f);
    k->value[0] = x;
    k->value[1] = y;
    k->value[2] = z;
    lib3ds_lin3_track_insert(&track, k);
}

void add_lin1(Lib3dsLin1Track& track, int frame, float v) {
    Lib3dsLin1Key* k = lib3ds_lin1_key_new();
    set_tcb(k->tcb, frame, 0.5f, 0);
    k->value = v;
    lib3ds_lin1_track_insert(&track, k);
}

void add_quat(Lib3dsQuatTrack& track, int frame, float angle, float x, float y, float z) {
    Lib3dsQuatKey* k = lib3ds_quat_key_new();
    set_tcb(k->tcb, frame, 0, 0);
    k->angle = angle;
    k->axis[0] = x;
    k->axis[1] = y;
    k->axis[2] = z;
    lib3ds_quat_track_insert(&track, k);
}

Lib3dsMesh* box_mesh() {
    Lib3dsMesh* m = lib3ds_mesh_new("Box");
    lib3ds_mesh_new_point_list(m, 8);
    lib3ds_mesh_new_texel_list(m, 8);
    for (int i = 0; i < 8; ++i) {
        // A box around (20, 5, 3) in world space.
        m->pointL[i].pos[0] = 20 + (i & 1 ? 4.0f : -4.0f);
        m->pointL[i].pos[1] = 5 + (i & 2 ? 2.0f : -2.0f);
        m->pointL[i].pos[2] = 3 + (i & 4 ? 1.5f : -1.5f);
        m->texelL[i][0] = static_cast<float>(i) / 8;
        m->texelL[i][1] = 1 - static_cast<float>(i) / 8;
    }
    static const int faces[12][3] = {{0, 1, 3}, {0, 3, 2}, {4, 6, 7}, {4, 7, 5},
                                     {0, 4, 5}, {0, 5, 1}, {2, 3, 7}, {2, 7, 6},
                                     {0, 2, 6}, {0, 6, 4}, {1, 5, 7}, {1, 7, 3}};
    lib3ds_mesh_new_face_list(m, 12);
    for (int f = 0; f < 12; ++f) {
        for (int c = 0; c < 3; ++c) m->faceL[f].points[c] = static_cast<Lib3dsWord>(faces[f][c]);
        std::strcpy(m->faceL[f].material, f < 6 ? "Red" : "Blue");
        m->faceL[f].flags = f == 3 ? LIB3DS_FACE_FLAG_WRAP_U : 0;
    }
    // Local axes: turned 30° about z and scaled by 2 along x, origin at (20, 5, 3).
    float c = static_cast<float>(std::cos(kf_pi / 6)), s = static_cast<float>(std::sin(kf_pi / 6));
    const float axes[4][3] = {{2 * c, 2 * s, 0}, {-s, c, 0}, {0, 0, 1}, {20, 5, 3}};
    std::memset(m->matrix, 0, sizeof m->matrix);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j) m->matrix[i][j] = axes[i][j];
    m->matrix[3][3] = 1;
    return m;
}

Lib3dsMesh* triangle_mesh() {
    Lib3dsMesh* m = lib3ds_mesh_new("Tri");
    lib3ds_mesh_new_point_list(m, 3);
    const float p[3][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 2}};
    for (int i = 0; i < 3; ++i) std::memcpy(m->pointL[i].pos, p[i], sizeof p[i]);
    lib3ds_mesh_new_face_list(m, 1);
    for (int c = 0; c < 3; ++c) m->faceL[0].points[c] = static_cast<Lib3dsWord>(c);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) m->matrix[i][j] = i == j ? 1.0f : 0.0f;
    return m;
}

void add_materials(Lib3dsFile* f) {
    const char* names[2] = {"Red", "Blue"};
    for (int i = 0; i < 2; ++i) {
        Lib3dsMaterial* m = lib3ds_material_new();
        std::strcpy(m->name, names[i]);
        m->diffuse[0] = i == 0 ? 1.0f : 0.0f;
        m->diffuse[2] = i == 1 ? 1.0f : 0.0f;
        m->ambient[1] = 0.2f;
        m->shininess = 0.4f;
        m->transparency = 0.25f;
        m->two_sided = i == 1;
        lib3ds_file_insert_material(f, m);
    }
}

void add_cameras_and_lights(Lib3dsFile* f) {
    Lib3dsCamera* c = lib3ds_camera_new("Camera01");
    const float pos[3] = {10, -80, 30}, target[3] = {20, 5, 3};
    std::memcpy(c->position, pos, sizeof pos);
    std::memcpy(c->target, target, sizeof target);
    c->fov = 45;
    c->roll = 5;
    lib3ds_file_insert_camera(f, c);
    Lib3dsCamera* fifty = lib3ds_camera_new("Lens50");
    fifty->fov = 48; // lib3ds stores 2400 / fov: a 50 mm lens
    fifty->target[1] = 1;
    lib3ds_file_insert_camera(f, fifty);

    Lib3dsLight* omni = lib3ds_light_new("Omni01");
    omni->position[2] = 40;
    omni->color[0] = 1;
    omni->color[1] = 0.5f;
    lib3ds_file_insert_light(f, omni);
    Lib3dsLight* spot = lib3ds_light_new("Spot01");
    spot->spot_light = LIB3DS_TRUE;
    spot->position[0] = -30;
    spot->spot[1] = 7;
    spot->hot_spot = 20;
    spot->fall_off = 35;
    spot->color[2] = 1;
    lib3ds_file_insert_light(f, spot);
}

Lib3dsNode* node(Lib3dsNode* n, const char* name, int id, int parent) {
    std::strcpy(n->name, name);
    n->node_id = static_cast<Lib3dsWord>(id);
    n->parent_id = static_cast<Lib3dsWord>(parent);
    return n;
}

void add_nodes(Lib3dsFile* f) {
    Lib3dsNode* box = node(lib3ds_node_new_object(), "Box", 0, 0xFFFF);
    Lib3dsObjectData& bd = box->data.object;
    bd.pivot[0] = 1;
    bd.pivot[2] = -0.5f;
    add_lin3(bd.pos_track, 0, 0, 0, 0);
    add_lin3(bd.pos_track, 30, 10, 20, 5, 0.5f);
    add_lin3(bd.pos_track, 60, -5, 0, 12);
    add_lin3(bd.pos_track, 100, 0, 3, 0);
    add_quat(bd.rot_track, 0, 0, 0, 0, 1);
    add_quat(bd.rot_track, 40, 1.2f, 0, 0, 1);
    add_quat(bd.rot_track, 70, 0.7f, 1, 0, 0);
    add_quat(bd.rot_track, 100, 7.5f, 0, 1, 0); // more than a turn
    add_lin3(bd.scl_track, 0, 1, 1, 1);
    add_lin3(bd.scl_track, 50, 2, 1, 0.5f);
    lib3ds_file_insert_node(f, box);

    Lib3dsNode* dummy = node(lib3ds_node_new_object(), "$$$DUMMY", 1, 0);
    std::strcpy(dummy->data.object.instance, "Helper");
    add_lin3(dummy->data.object.pos_track, 0, 1, 2, 3);
    add_lin3(dummy->data.object.scl_track, 0, 1, 1, 1);
    lib3ds_file_insert_node(f, dummy);

    Lib3dsNode* tri = node(lib3ds_node_new_object(), "Tri", 2, 1);
    add_lin3(tri->data.object.pos_track, 10, 4, 0, 0);
    add_lin3(tri->data.object.pos_track, 20, 4, 4, 0);
    add_lin3(tri->data.object.scl_track, 0, 1, 1, 1);
    for (int frame : {5, 15, 25}) {
        Lib3dsBoolKey* k = lib3ds_bool_key_new();
        k->tcb.frame = frame;
        lib3ds_bool_track_insert(&tri->data.object.hide_track, k);
    }
    lib3ds_file_insert_node(f, tri);

    Lib3dsNode* cam = node(lib3ds_node_new_camera(), "Camera01", 3, 0xFFFF);
    add_lin3(cam->data.camera.pos_track, 0, 10, -80, 30);
    add_lin3(cam->data.camera.pos_track, 100, -10, -90, 40);
    add_lin1(cam->data.camera.fov_track, 0, 45);
    add_lin1(cam->data.camera.fov_track, 50, 60);
    add_lin1(cam->data.camera.fov_track, 100, 40);
    add_lin1(cam->data.camera.roll_track, 0, 5);
    lib3ds_file_insert_node(f, cam);
    Lib3dsNode* target = node(lib3ds_node_new_target(), "Camera01", 4, 0xFFFF);
    add_lin3(target->data.target.pos_track, 0, 20, 5, 3);
    add_lin3(target->data.target.pos_track, 80, 25, 5, 0);
    lib3ds_file_insert_node(f, target);
    Lib3dsNode* light = node(lib3ds_node_new_light(), "Omni01", 5, 0);
    add_lin3(light->data.light.pos_track, 0, 0, 0, 40);
    add_lin3(light->data.light.col_track, 0, 1, 0.5f, 0);
    add_lin3(light->data.light.col_track, 50, 0, 1, 0);
    lib3ds_file_insert_node(f, light);
}

// The y-up library vector of a z-up file vector.
kf_vector lib(const float* v) {
    return {v[0], v[2], v[1]};
}

void expect_vector(const kf_vector& got, const kf_vector& want, double tolerance,
                   const std::string& what) {
    EXPECT_NEAR(got.x, want.x, tolerance) << what;
    EXPECT_NEAR(got.y, want.y, tolerance) << what;
    EXPECT_NEAR(got.z, want.z, tolerance) << what;
}

class Lib3dsOracle : public ::testing::Test {
protected:
    void SetUp() override {
        kf_init(13);
        file_ptr f(lib3ds_file_new());
        f->frames = 100;
        f->segment_from = 0;
        f->segment_to = 100;
        add_materials(f.get());
        lib3ds_file_insert_mesh(f.get(), box_mesh());
        lib3ds_file_insert_mesh(f.get(), triangle_mesh());
        add_cameras_and_lights(f.get());
        add_nodes(f.get());
        ASSERT_TRUE(lib3ds_file_save(f.get(), file.path()));
        written.reset(lib3ds_file_load(file.path()));
        ASSERT_NE(written, nullptr);
        kf_alloc_scene(&scene);
        ASSERT_EQ(kf_load_world(file.path(), scene), 0);
        ASSERT_EQ(kf_load_motion(file.path(), scene), 0);
        kf_set_active(scene);
    }
    void TearDown() override { kf_free_scene(scene); }

    kf_world_node* entry(int type, const char* name) { return kf_find(type, name); }
    const kf_node* our_node(int node_id) {
        for (const kf_node* n = scene->node_head; n; n = n->next)
            if (n->node_id == node_id) return n;
        return nullptr;
    }

    test::temp_file file{"oracle.3ds"};
    file_ptr written;
    kf_scene* scene = nullptr;
};

// M·(p − origin) with M the file's axes as rows, each divided by its squared
// length, minus the node's pivot; then y and z exchanged.
kf_vector expected_vertex(const Lib3dsMesh* m, const float* p, const float* pivot) {
    double local[3];
    for (int r = 0; r < 3; ++r) {
        double dot = 0, squared = 0;
        for (int k = 0; k < 3; ++k) {
            dot += m->matrix[r][k] * (p[k] - m->matrix[3][k]);
            squared += m->matrix[r][k] * m->matrix[r][k];
        }
        local[r] = dot / squared - pivot[r];
    }
    return {static_cast<float>(local[0]), static_cast<float>(local[2]),
            static_cast<float>(local[1])};
}

TEST_F(Lib3dsOracle, MeshesMatchAfterTheLocalMatrixAndPivot) {
    for (Lib3dsMesh* m = written->meshes; m; m = m->next) {
        SCOPED_TRACE(m->name);
        kf_object* o = kf_as_object(entry(KF_OBJECT, m->name));
        ASSERT_NE(o, nullptr);
        ASSERT_EQ(o->vertex_count, static_cast<int>(m->points));
        ASSERT_EQ(o->face_count, static_cast<int>(m->faces));
        Lib3dsNode* n = lib3ds_file_node_by_name(written.get(), m->name, LIB3DS_OBJECT_NODE);
        ASSERT_NE(n, nullptr);
        for (int i = 0; i < o->vertex_count; ++i) {
            expect_vector(o->vertices[i].position,
                          expected_vertex(m, m->pointL[i].pos, n->data.object.pivot), 1e-4,
                          "vertex " + std::to_string(i));
            if (m->texels) {
                EXPECT_FLOAT_EQ(o->vertices[i].u, m->texelL[i][0]);
                EXPECT_FLOAT_EQ(o->vertices[i].v, m->texelL[i][1]);
            }
        }
        for (int f = 0; f < o->face_count; ++f) {
            const kf_face& face = o->faces[f];
            EXPECT_EQ(face.a, m->faceL[f].points[0]);
            EXPECT_EQ(face.b, m->faceL[f].points[1]);
            EXPECT_EQ(face.c, m->faceL[f].points[2]);
            EXPECT_EQ((face.flags & KF_FACE_WRAP_U) != 0,
                      (m->faceL[f].flags & LIB3DS_FACE_FLAG_WRAP_U) != 0);
            if (m->faceL[f].material[0]) {
                ASSERT_NE(face.material, nullptr);
                EXPECT_STREQ(face.material->name, m->faceL[f].material);
            }
        }
    }
}

TEST_F(Lib3dsOracle, CamerasLightsAndMaterials) {
    for (Lib3dsCamera* c = written->cameras; c; c = c->next) {
        SCOPED_TRACE(c->name);
        kf_camera* ours = kf_as_camera(entry(KF_CAMERA, c->name));
        ASSERT_NE(ours, nullptr);
        if (std::strcmp(c->name, "Camera01") == 0) continue; // animated; see the tracks
        expect_vector(ours->position, lib(c->position), 1e-5, "position");
        expect_vector(ours->target, lib(c->target), 1e-5, "target");
        EXPECT_FLOAT_EQ(ours->roll, c->roll);
        // The lens is 2400 / fov; 50 mm is in the lens table, others give 15 / lens × 160.
        float lens = 2400 / c->fov;
        EXPECT_NEAR(ours->fov, lens == 50 ? 46.0f : c->fov, 1e-3);
    }
    kf_camera* camera = kf_as_camera(entry(KF_CAMERA, "Camera01"));
    EXPECT_NEAR(camera->fov, 45, 1e-3); // the fov track's first key at frame 0
    for (Lib3dsLight* l = written->lights; l; l = l->next) {
        SCOPED_TRACE(l->name);
        kf_light* ours = kf_as_light(entry(KF_LIGHT, l->name));
        ASSERT_NE(ours, nullptr);
        EXPECT_EQ(ours->kind, l->spot_light ? KF_SPOT_LIGHT : KF_OMNI_LIGHT);
        EXPECT_FLOAT_EQ(ours->color.x, l->color[0]);
        EXPECT_FLOAT_EQ(ours->color.z, l->color[2]);
        if (!l->spot_light) continue;
        expect_vector(ours->position, lib(l->position), 1e-5, "position");
        expect_vector(ours->target, lib(l->spot), 1e-5, "target");
        EXPECT_FLOAT_EQ(ours->hotspot, l->hot_spot);
        EXPECT_FLOAT_EQ(ours->falloff, l->fall_off);
    }
    for (Lib3dsMaterial* m = written->materials; m; m = m->next) {
        SCOPED_TRACE(m->name);
        kf_material* ours = kf_as_material(entry(KF_MATERIAL, m->name));
        ASSERT_NE(ours, nullptr);
        EXPECT_NEAR(ours->diffuse.x, m->diffuse[0], 1e-6);
        EXPECT_NEAR(ours->diffuse.z, m->diffuse[2], 1e-6);
        EXPECT_NEAR(ours->ambient.y, m->ambient[1], 1e-6);
        EXPECT_NEAR(ours->shininess, m->shininess, 1e-6);
        EXPECT_NEAR(ours->transparency, m->transparency, 1e-6);
        EXPECT_EQ((ours->flags & KF_MATERIAL_TWO_SIDED) != 0, m->two_sided != 0);
    }
}

// Every node in lib3ds's tree has ours with the same id, parent and record.
void check_node_tree(Lib3dsNode* first, const Lib3dsNode* parent,
                     const std::function<const kf_node*(int)>& ours) {
    for (Lib3dsNode* n = first; n; n = n->next) {
        SCOPED_TRACE(n->name);
        const kf_node* o = ours(n->node_id);
        ASSERT_NE(o, nullptr);
        if (parent) {
            ASSERT_NE(o->parent, nullptr);
            EXPECT_EQ(o->parent->node_id, parent->node_id);
        } else {
            EXPECT_EQ(o->parent, nullptr);
        }
        const char* name = n->type == LIB3DS_OBJECT_NODE && n->data.object.instance[0]
                               ? n->data.object.instance
                               : n->name;
        EXPECT_STREQ(o->record->name, name);
        check_node_tree(n->childs, n, ours);
    }
}

TEST_F(Lib3dsOracle, HierarchyThroughParentIds) {
    check_node_tree(written->nodes, nullptr, [this](int id) { return our_node(id); });
    kf_object* helper = kf_as_object(entry(KF_OBJECT, "Helper"));
    ASSERT_NE(helper, nullptr);
    EXPECT_EQ(helper->id, 1 + 1024);
    EXPECT_EQ(helper->flags & KF_OBJECT_DUMMY, KF_OBJECT_DUMMY);
    EXPECT_EQ(kf_as_object(entry(KF_OBJECT, "Tri"))->parent_id, helper->id);
    EXPECT_EQ(our_node(3)->type, KF_NODE_CAMERA);
    EXPECT_EQ(our_node(4)->type, KF_NODE_CAMERA_TARGET);
    EXPECT_EQ(our_node(5)->type, KF_NODE_LIGHT);
}

void expect_key_params(const kf_key* k, const Lib3dsTcb& tcb) {
    EXPECT_EQ(k->frame, static_cast<float>(tcb.frame));
    EXPECT_EQ(k->tension, tcb.tens);
    EXPECT_EQ(k->continuity, tcb.cont);
    EXPECT_EQ(k->bias, tcb.bias);
    EXPECT_EQ(k->ease_to, tcb.ease_to);
    EXPECT_EQ(k->ease_from, tcb.ease_from);
}

void expect_vector_track(kf_track* t, const Lib3dsLin3Track& track, bool swap) {
    ASSERT_NE(t, nullptr);
    const kf_key* k = t->first;
    for (Lib3dsLin3Key* lk = track.keyL; lk; lk = lk->next, k = k->next) {
        ASSERT_NE(k, nullptr);
        expect_key_params(k, lk->tcb);
        kf_vector v;
        ASSERT_EQ(kf_eval_vector(t, static_cast<float>(lk->tcb.frame), &v), 0);
        kf_vector want =
            swap ? lib(lk->value) : kf_vector{lk->value[0], lk->value[1], lk->value[2]};
        expect_vector(v, want, 1e-4, "frame " + std::to_string(lk->tcb.frame));
    }
    EXPECT_EQ(k, nullptr);
}

void expect_float_track(kf_track* t, const Lib3dsLin1Track& track) {
    ASSERT_NE(t, nullptr);
    const kf_key* k = t->first;
    for (Lib3dsLin1Key* lk = track.keyL; lk; lk = lk->next, k = k->next) {
        ASSERT_NE(k, nullptr);
        expect_key_params(k, lk->tcb);
        float v;
        ASSERT_EQ(kf_eval_float(t, static_cast<float>(lk->tcb.frame), &v), 0);
        EXPECT_NEAR(v, lk->value, 1e-4) << "frame " << lk->tcb.frame;
    }
}

// Rodrigues: the turn by `angle` about the unit `axis`.
mat3 turn(double angle, const double* axis) {
    double len = std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
    double x = axis[0] / len, y = axis[1] / len, z = axis[2] / len;
    double c = std::cos(angle), s = std::sin(angle), t = 1 - c;
    return {{{t * x * x + c, t * x * y - s * z, t * x * z + s * y},
             {t * x * y + s * z, t * y * y + c, t * y * z - s * x},
             {t * x * z - s * y, t * y * z + s * x, t * z * z + c}}};
}

mat3 times(const mat3& a, const mat3& b) {
    mat3 r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) r[i][j] += a[i][k] * b[k][j];
    return r;
}

TEST_F(Lib3dsOracle, TracksReturnEachKeyAtItsFrame) {
    Lib3dsNode* box = lib3ds_file_node_by_id(written.get(), 0);
    Lib3dsNode* tri = lib3ds_file_node_by_id(written.get(), 2);
    Lib3dsNode* cam = lib3ds_file_node_by_id(written.get(), 3);
    Lib3dsNode* target = lib3ds_file_node_by_id(written.get(), 4);
    Lib3dsNode* light = lib3ds_file_node_by_id(written.get(), 5);
    expect_vector_track(our_node(0)->tracks[0], box->data.object.pos_track, true);
    expect_vector_track(our_node(0)->tracks[1], box->data.object.scl_track, true);
    expect_vector_track(our_node(2)->tracks[0], tri->data.object.pos_track, true);
    expect_vector_track(our_node(3)->tracks[0], cam->data.camera.pos_track, true);
    expect_float_track(our_node(3)->tracks[1], cam->data.camera.fov_track);
    expect_float_track(our_node(3)->tracks[2], cam->data.camera.roll_track);
    expect_vector_track(our_node(4)->tracks[0], target->data.target.pos_track, true);
    expect_vector_track(our_node(5)->tracks[1], light->data.light.col_track, false);

    // Rotation keys are relative turns about file axes; at its frame a key gives
    // the product of all turns up to it, about the exchanged axes.
    kf_track* rotation = our_node(0)->tracks[2];
    ASSERT_NE(rotation, nullptr);
    mat3 accumulated = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    for (Lib3dsQuatKey* lk = box->data.object.rot_track.keyL; lk; lk = lk->next) {
        SCOPED_TRACE(lk->tcb.frame);
        double axis[3] = {lk->axis[0], lk->axis[2], lk->axis[1]};
        accumulated = times(turn(lk->angle, axis), accumulated);
        kf_quat q;
        ASSERT_EQ(kf_eval_rotation(rotation, static_cast<float>(lk->tcb.frame), &q), 0);
        kf_matrix m;
        quat_to_matrix(&q, &m);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) EXPECT_NEAR(m.m[i][j], accumulated[i][j], 1e-4);
    }

    // Hide keys toggle, each from the frame after its own (the first already at its own).
    kf_track* hide = our_node(2)->tracks[4];
    ASSERT_NE(hide, nullptr);
    int expected = 1;
    for (Lib3dsBoolKey* lk = tri->data.object.hide_track.keyL; lk; lk = lk->next) {
        int hidden = -1;
        float frame =
            static_cast<float>(lk->tcb.frame + (lk == tri->data.object.hide_track.keyL ? 0 : 1));
        ASSERT_EQ(kf_eval_hide(hide, frame, &hidden), 0);
        EXPECT_EQ(hidden, expected) << frame;
        expected ^= 1;
    }
}

TEST_F(Lib3dsOracle, UpdatePlacesTheChildUnderItsParents) {
    // At frame 20: Tri is at (4, 4, 0) under the dummy at (1, 2, 3) under Box.
    ASSERT_EQ(kf_set_frame(20), 0);
    ASSERT_EQ(kf_update(), 0);
    kf_object* box = kf_as_object(entry(KF_OBJECT, "Box"));
    kf_object* tri = kf_as_object(entry(KF_OBJECT, "Tri"));
    kf_vector local = {4 + 1, 0 + 3, 4 + 2}, expected;
    mat_transform_point(&box->matrix, &local, &expected);
    expect_vector(tri->vertices[0].camera_position, expected, 1e-4, "Tri vertex 0");
    EXPECT_EQ(tri->flags & KF_OBJECT_HIDDEN, 0); // hidden after 5, shown after 15
    ASSERT_EQ(kf_set_frame(10), 0);
    ASSERT_EQ(kf_update(), 0);
    EXPECT_NE(tri->flags & KF_OBJECT_HIDDEN, 0);
}

} // namespace
} // namespace vilora
