// The seven default scenes, as scene descriptions for the 3DS writer.
#pragma once

#include "kit/formats/scene_writer.h"

namespace vilora::kit::data {

tds::scene hedge_scene();      // the title: a hedgehog walking between two toadstools
tds::scene vosaq_scene();      // credits and odistort: a dragonfly hovering by a daisy
tds::scene psyki_scene();      // greetings and houp: two dogs chasing round a bone
tds::scene surfonsurf_scene(); // oland: a flight over a field of mushrooms
tds::scene sperm_scene();      // oneco0: swimmers closing in on an egg (morphing tails)
tds::scene hrouda2_scene();    // oneco1: a lumpy clod with pebbles, camera "rolli"
tds::scene sroub2_scene();     // oneco4: screws turning on a rack

// Shared pieces.
// A mushroom standing on z = 0, its cap's rim at `height`: the cap (a dome
// of `segments` sides) and then the stem come first, then the gills under the
// cap, then all of it turned over; so parts that draw the first half or the
// first third of a mesh's faces draw the whole outline.
tds::mesh mushroom_mesh(const std::string& name, float cap_radius, float height, int segments);
std::vector<tds::material> scene_materials();

} // namespace vilora::kit::data
