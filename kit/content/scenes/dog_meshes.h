// The dogs and their bone, built facing +x with z up about their pivots.
// Both parts that show them draw every face as a wireframe, so they are built
// of few faces with no turned-over copies; the dogs' outlines are drawn twice
// on purpose, as doubled strokes.
#pragma once

#include "kit/shapes/meshes.h"

#include <string>

namespace vilora::kit::data {

// Where the parts join, in the dog's own units: it stands on z = 0.
inline constexpr vec3 dog_hips{-8, 0, 16}, dog_shoulders{7, 0, 16};
inline constexpr vec3 dog_neck{8, 0, 24}, dog_tail_root{-11, 0, 22};

// The body, about the dog's origin.
tds::mesh dog_body(const std::string& name);
// The neck and head, from the top of the withers (dog_neck).
tds::mesh dog_head(const std::string& name);
// A pair of front legs hanging from the shoulders, one each side.
tds::mesh dog_front_legs(const std::string& name);
// A pair of hind legs hanging from the hips.
tds::mesh dog_hind_legs(const std::string& name);
// The tail from its root.
tds::mesh dog_tail(const std::string& name);
// A flat bone standing on end about its middle. Its face 10 is a small face
// whose corner a is the notch at the top of the shaft: the greetings hang
// their bubble there.
tds::mesh bone_mesh();

} // namespace vilora::kit::data
