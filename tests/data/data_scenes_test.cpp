// The default scenes, read by our reader and by lib3ds: each part's camera
// sees the meshes it draws, at the depths the parts turn into colours.
#include "tests/data/scene_views.h"

#include <lib3ds/camera.h>
#include <lib3ds/file.h>
#include <lib3ds/mesh.h>
#include <lib3ds/node.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>

namespace vilora::testing {
namespace {

std::string data_path(const std::string& name) {
    return std::string(VILORA_DATA_DIR) + "/" + name;
}

TEST(DataScenes, EachPartsCameraSeesItsMeshesAtUsableDepths) {
    for (const scene_view& view : scene_views()) {
        SCOPED_TRACE(view.part + " on " + view.scene);
        kf_status status = -1;
        const view_census c = census(data_path(view.scene), view, &status);
        ASSERT_EQ(status, KF_OK);
        ASSERT_GT(c.frames, 0);
        ASSERT_GT(c.faces, 0);
        const double front = static_cast<double>(c.in_front) / static_cast<double>(c.faces);
        const double seen = static_cast<double>(c.on_screen) / static_cast<double>(c.faces);
        const double depth =
            static_cast<double>(c.depth_in_range) / static_cast<double>(c.in_front);
        std::printf("%-9s %-15s frames %3d faces/frame %5ld front %.3f seen %.3f worst %.3f depth "
                    "%.3f meshes %d/%d\n",
                    view.part.c_str(), view.scene.c_str(), c.frames, c.faces / c.frames, front,
                    seen, c.worst_frame, depth, c.drawn_meshes, c.meshes);
        EXPECT_GT(front, 0.95);
        EXPECT_GT(seen, 0.85);
        EXPECT_GT(c.worst_frame, 0.6);
        if (view.shades_by_depth) {
            EXPECT_GT(depth, 0.8);
        }
        EXPECT_GE(c.drawn_meshes, 3);
    }
}

// What one scene holds, as our reader and lib3ds see it.
struct scene_facts {
    std::string camera;
    float end_frame = 0;
    int meshes = 0, most_faces = 0, fewest_faces = 1 << 30;
    int animated_meshes = 0; // with position, rotation and scale tracks
    int camera_path_keys = 0;
    bool dummy_with_children = false, morph = false, hide = false;
    int lib3ds_meshes = -1, lib3ds_nodes = 0;
};

void count_lib3ds_nodes(Lib3dsNode* n, int& count) {
    for (; n; n = n->next) {
        ++count;
        count_lib3ds_nodes(n->childs, count);
    }
}

scene_facts facts_of(const std::string& name) {
    scene_facts f;
    const std::string file = data_path(name);
    kf_init(13);
    kf_scene* scene = nullptr;
    kf_alloc_scene(&scene);
    EXPECT_EQ(kf_load_world(file.c_str(), scene), KF_OK);
    EXPECT_EQ(kf_load_motion(file.c_str(), scene), KF_OK);
    f.end_frame = scene->end_frame;
    for (kf_world_node* w = scene->world_head; w; w = w->next) {
        if (kf_camera* c = kf_as_camera(w)) f.camera = c->name;
        kf_object* o = kf_as_object(w);
        if (!o || (o->flags & KF_OBJECT_DUMMY)) continue;
        ++f.meshes;
        f.most_faces = std::max(f.most_faces, o->face_count);
        f.fewest_faces = std::min(f.fewest_faces, o->face_count);
    }
    for (kf_node* n = scene->node_head; n; n = n->next) {
        auto track = [&](int kind) {
            const int slot = kf_track_slot(n->type, kind);
            return slot >= 0 ? n->tracks[slot] : nullptr;
        };
        if (n->type == KF_NODE_CAMERA && track(KF_TRACK_POSITION))
            f.camera_path_keys = track(KF_TRACK_POSITION)->key_count;
        if (n->type != KF_NODE_OBJECT) continue;
        const auto* o = static_cast<const kf_object*>(n->record);
        if ((o->flags & KF_OBJECT_DUMMY) && n->first_child) f.dummy_with_children = true;
        if (!(o->flags & KF_OBJECT_DUMMY) && track(KF_TRACK_POSITION) && track(KF_TRACK_ROTATION) &&
            track(KF_TRACK_SCALE))
            ++f.animated_meshes;
        f.morph = f.morph || track(KF_TRACK_MORPH);
        f.hide = f.hide || track(KF_TRACK_HIDE);
    }
    kf_free_scene(scene);
    if (Lib3dsFile* l = lib3ds_file_load(file.c_str())) {
        f.lib3ds_meshes = 0;
        for (Lib3dsMesh* m = l->meshes; m; m = m->next) ++f.lib3ds_meshes;
        count_lib3ds_nodes(l->nodes, f.lib3ds_nodes);
        lib3ds_file_free(l);
    }
    return f;
}

TEST(DataScenes, EachSceneHasWhatItsPartsRelyOn) {
    std::map<std::string, scene_facts> facts;
    int rolli = 0, morph = 0, hide = 0;
    for (const char* name : {"hedge.3ds", "vosaq.3ds", "psyki.3ds", "surfonsurf.3ds", "sperm.3ds",
                             "hrouda2.3ds", "sroub2.3ds"}) {
        SCOPED_TRACE(name);
        const scene_facts f = facts_of(name);
        facts[name] = f;
        EXPECT_TRUE(f.camera == "Camera01" || f.camera == "rolli") << f.camera;
        rolli += f.camera == "rolli";
        morph += f.morph;
        hide += f.hide;
        EXPECT_GE(f.camera_path_keys, 4);
        EXPECT_GE(f.meshes, 3);
        EXPECT_GE(f.animated_meshes, 3);
        EXPECT_TRUE(f.dummy_with_children);
        EXPECT_EQ(f.lib3ds_meshes, f.meshes);
        EXPECT_GT(f.lib3ds_nodes, f.meshes);
    }
    EXPECT_EQ(rolli, 1);
    EXPECT_GE(morph, 1);
    EXPECT_GE(hide, 1);
    EXPECT_GE(facts["hedge.3ds"].end_frame, 31);       // otitulek plays 0 .. 30
    EXPECT_GT(facts["surfonsurf.3ds"].end_frame, 100); // oland plays from 100
    EXPECT_GT(facts["hrouda2.3ds"].end_frame, 60);     // oneco1 plays from 60
    EXPECT_GT(facts["psyki.3ds"].most_faces, 10);      // ogreety's bubble hangs on face 10
    EXPECT_GE(facts["sroub2.3ds"].fewest_faces, 32);   // oneco4: a sprite per 16 faces
}

} // namespace
} // namespace vilora::testing
