// Meshes for the default scenes, built in their own space (file axes, z up)
// around their pivot at the origin.
#pragma once

#include "kit/formats/scene_writer.h"

#include <functional>
#include <string>

namespace vilora::kit::data {

using tds::vec3;

vec3 operator+(vec3 a, vec3 b);
vec3 operator-(vec3 a, vec3 b);
vec3 operator*(vec3 a, float k);
float dot(vec3 a, vec3 b);
vec3 cross(vec3 a, vec3 b);
float length(vec3 a);
vec3 normalised(vec3 a);

class mesh_builder {
public:
    explicit mesh_builder(std::string name) { mesh_.name = std::move(name); }
    uint16_t vertex(vec3 p, float u = 0, float v = 0);
    void triangle(uint16_t a, uint16_t b, uint16_t c);
    // Two triangles a-b-c and a-c-d.
    void quad(uint16_t a, uint16_t b, uint16_t c, uint16_t d);
    // Appends another mesh's geometry moved by `offset`.
    void merge(const tds::mesh& other, vec3 offset = {});
    // A cone of `segments` faces from a ring of radius `radius` about `base`,
    // square to the axis from `base` to `tip`, to the tip; open at the base.
    // Corner c of every face is the tip.
    void cone(vec3 base, vec3 tip, float radius, int segments);
    tds::mesh take(const std::string& material = {});

private:
    tds::mesh mesh_;
};

// The mesh with every face repeated turned over after all of them. Parts that
// draw only the first half of a mesh's faces draw each face once; a viewer
// that culls back faces sees the shape from both sides.
tds::mesh with_back_faces(tds::mesh m);

// A displacement of a point on the unit sphere: the radius factor there.
using radial_shape = std::function<float(vec3 direction)>;

// Latitude-longitude ellipsoid of semi-axes (rx, ry, rz), optionally reshaped.
tds::mesh ellipsoid(const std::string& name, vec3 radii, int rings, int segments,
                    const radial_shape& shape = {});
// Subdivided icosahedron; `subdivisions` 0 gives 20 faces, each level x4.
tds::mesh geosphere(const std::string& name, float radius, int subdivisions,
                    const radial_shape& shape = {});
// Axis-aligned box centred on the origin.
tds::mesh cuboid(const std::string& name, vec3 size);
// Tube along z from z0 to z1 with radius r(t), t = 0..1, closed by caps.
tds::mesh lathe(const std::string& name, float z0, float z1, int rings, int segments,
                const std::function<float(float t)>& radius);
// A height field over x, y in [-half, half], n x n quads. Faces: the upper
// triangle of every quad, then the lower ones, then the same two sets turned
// over, so the ground shows from below too.
tds::mesh terrain(const std::string& name, float half, int n,
                  const std::function<float(float x, float y)>& height);

} // namespace vilora::kit::data
