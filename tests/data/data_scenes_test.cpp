// The default scenes, read by our reader and by lib3ds: each part's camera
// sees the meshes it draws, at the depths the parts turn into colours.
#include "tests/data/scene_views.h"

#include <lib3ds/camera.h>
#include <lib3ds/file.h>
#include <lib3ds/mesh.h>
#include <lib3ds/node.h>

#include <gtest/gtest.h>

#include <cstring>
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

} // namespace
} // namespace vilora::testing
