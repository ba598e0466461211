// Test scenes as 3DS bytes, and their round trip through a temporary file.
#pragma once

#include "scene3d/kf.h"
#include "tests/scene3d/chunk_writer.h"

#include <filesystem>
#include <string>
#include <vector>

namespace vilora::test {

// A file in a directory of its own, removed with the object.
class temp_file {
public:
    explicit temp_file(const std::string& name);
    ~temp_file();
    temp_file(const temp_file&) = delete;
    temp_file& operator=(const temp_file&) = delete;
    void write(const std::vector<uint8_t>& bytes) const;
    const char* path() const { return path_.c_str(); }

private:
    std::filesystem::path dir_;
    std::string path_;
};

// A small animated scene: a triangle mesh "Box" with a material, a camera
// "Camera01" with its target, an omni light, and a keyframer section with
// position, rotation and scale tracks, a child dummy and a hide track.
std::vector<uint8_t> animated_scene();

// The rest of the format: a textured material, a mesh with a local matrix,
// mapping coordinates and a material group, a morph target, a spot light, the
// camera "rolli", an ambient node, a looping track, morph, fov, roll and colour
// tracks, and spline parameters on the keys.
std::vector<uint8_t> featured_scene();

} // namespace vilora::test
