// The dogs, drawn as line drawings in their middle plane (x forward, z up,
// standing on z = 0): both parts that show them draw every face's three
// edges. Outlines are strokes of two slim faces a segment, so that each
// line is drawn twice side by side and holds when a part shakes its lines.
#pragma once

#include "kit/shapes/meshes.h"

#include <functional>
#include <initializer_list>
#include <string>

namespace vilora::kit::data {

// The greetings' dog, sitting and barking, some 112 units tall, in parts
// that move about these joints.
inline constexpr vec3 sitter_neck{14, 0, 80}, sitter_jaw{40, 0, 76},
    sitter_tail_root{-17, 0, 39.5f};
// The body's outline from the nape down the back, round the haunch and the
// paws and up the chest to the throat.
tds::mesh sitter_body(const std::string& name);
// The head from the throat round the muzzle, the ear and the skull to the
// nape, with an eye; its face 10 is the nose, a small face whose corner a is
// the tip of the nose: the greetings hang their bubble there.
tds::mesh sitter_head(const std::string& name);
// The lower jaw from its joint, which opens as the dog barks.
tds::mesh sitter_jaw_mesh(const std::string& name);
// The tail from its root on the back, above the haunch's fold, curled up
// and away from the body.
tds::mesh sitter_tail(const std::string& name);

// houp's dog, trotting, some 118 units long with its tail and 88 tall,
// facing +x, drawn as pencil lines that hold when the part shakes them.
inline constexpr vec3 runner_shoulder{28, 0, 34}, runner_hip{-22, 0, 34},
    runner_tail_root{-32, 0, 60};
// Body and head in one outline, with a hanging ear and an eye.
// `shade` moves each face's corner c, which gives the face its colour.
tds::mesh runner_body(const std::string& name, const std::function<vec3(vec3)>& shade);
// The tail from its root at the origin, held up.
tds::mesh runner_tail(const std::string& name);
// A leg hanging from its joint at the origin, open at the top where it
// meets the body; `across` sets it to the near (-) or far (+) side, `hind`
// gives it a hock.
tds::mesh runner_leg(const std::string& name, float across, bool hind);

} // namespace vilora::kit::data
