// The seven default scenes, as scene descriptions for the 3DS writer.
#pragma once

#include "kit/scene_writer.h"

namespace vilora::kit::data {

tds::scene hedge_scene();      // the title: a hedgehog with mushrooms circling it
tds::scene vosaq_scene();      // credits and odistort: a wasp flying around a flower
tds::scene psyki_scene();      // greetings and houp: two dogs chasing round a bone
tds::scene surfonsurf_scene(); // oland: a flight over a field of mushrooms
tds::scene sperm_scene();      // oneco0: swimmers closing in on an egg (morphing tails)
tds::scene hrouda2_scene();    // oneco1: a lumpy clod with pebbles, camera "rolli"
tds::scene sroub2_scene();     // oneco4: screws turning on a rack

// Shared pieces.
tds::mesh mushroom_mesh(const std::string& name, float cap_radius, float height, uint32_t seed);
std::vector<tds::material> scene_materials();

} // namespace vilora::kit::data
