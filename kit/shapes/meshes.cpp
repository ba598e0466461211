#include "kit/shapes/meshes.h"

#include <cmath>
#include <map>
#include <utility>

namespace vilora::kit::data {

vec3 operator+(vec3 a, vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
vec3 operator-(vec3 a, vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
vec3 operator*(vec3 a, float k) {
    return {a.x * k, a.y * k, a.z * k};
}
float dot(vec3 a, vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
vec3 cross(vec3 a, vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float length(vec3 a) {
    return std::sqrt(dot(a, a));
}
vec3 normalised(vec3 a) {
    const float l = length(a);
    return l > 0 ? a * (1 / l) : a;
}

namespace {

constexpr float pi = 3.14159265358979f;

} // namespace

uint16_t mesh_builder::vertex(vec3 p, float u, float v) {
    mesh_.vertices.push_back(p);
    mesh_.mapping.push_back({u, v});
    return static_cast<uint16_t>(mesh_.vertices.size() - 1);
}

void mesh_builder::triangle(uint16_t a, uint16_t b, uint16_t c) {
    mesh_.faces.push_back({a, b, c, 7});
}

void mesh_builder::quad(uint16_t a, uint16_t b, uint16_t c, uint16_t d) {
    mesh_.faces.push_back({a, b, c, 3});
    mesh_.faces.push_back({a, c, d, 6});
}

void mesh_builder::merge(const tds::mesh& other, vec3 offset) {
    const auto base = static_cast<uint16_t>(mesh_.vertices.size());
    for (size_t i = 0; i < other.vertices.size(); ++i) {
        const auto& uv = i < other.mapping.size() ? other.mapping[i] : std::array<float, 2>{};
        vertex(other.vertices[i] + offset, uv[0], uv[1]);
    }
    for (const tds::face& f : other.faces)
        mesh_.faces.push_back({static_cast<uint16_t>(f.a + base), static_cast<uint16_t>(f.b + base),
                               static_cast<uint16_t>(f.c + base), f.flags});
}

void mesh_builder::cone(vec3 base, vec3 tip, float radius, int segments) {
    const vec3 axis = normalised(tip - base);
    const vec3 helper = std::fabs(axis.z) < 0.9f ? vec3{0, 0, 1} : vec3{1, 0, 0};
    const vec3 u = normalised(cross(axis, helper)), v = cross(axis, u);
    const uint16_t apex = vertex(tip, 0.5f, 0);
    const auto first = static_cast<uint16_t>(mesh_.vertices.size());
    for (int s = 0; s < segments; ++s) {
        const float phi = 2 * pi * static_cast<float>(s) / static_cast<float>(segments);
        vertex(base + (u * std::cos(phi) + v * std::sin(phi)) * radius,
               static_cast<float>(s) / static_cast<float>(segments), 1);
    }
    for (int s = 0; s < segments; ++s)
        triangle(static_cast<uint16_t>(first + s),
                 static_cast<uint16_t>(first + (s + 1) % segments), apex);
}

tds::mesh mesh_builder::take(const std::string& material) {
    if (!material.empty()) {
        tds::material_group group{material, {}};
        for (size_t i = 0; i < mesh_.faces.size(); ++i)
            group.faces.push_back(static_cast<uint16_t>(i));
        mesh_.groups.push_back(std::move(group));
    }
    return std::move(mesh_);
}

tds::mesh with_back_faces(tds::mesh m) {
    const size_t count = m.faces.size();
    for (size_t i = 0; i < count; ++i) {
        const tds::face f = m.faces[i];
        // Edges a-c, c-b, b-a are the old c-a, b-c, a-b: visibility bits 0 and 2 swap.
        const auto edges =
            static_cast<uint16_t>((f.flags & ~5) | (f.flags & 1) << 2 | (f.flags & 4) >> 2);
        m.faces.push_back({f.a, f.c, f.b, edges});
    }
    for (tds::material_group& g : m.groups) {
        const size_t listed = g.faces.size();
        for (size_t i = 0; i < listed; ++i)
            g.faces.push_back(static_cast<uint16_t>(g.faces[i] + count));
    }
    return m;
}

tds::mesh ellipsoid(const std::string& name, vec3 radii, int rings, int segments,
                    const radial_shape& shape) {
    mesh_builder b(name);
    const uint16_t top = b.vertex({0, 0, radii.z * (shape ? shape({0, 0, 1}) : 1)}, 0.5f, 0);
    for (int r = 1; r < rings; ++r) {
        const float theta = pi * static_cast<float>(r) / static_cast<float>(rings);
        for (int s = 0; s < segments; ++s) {
            const float phi = 2 * pi * static_cast<float>(s) / static_cast<float>(segments);
            const vec3 d{std::sin(theta) * std::cos(phi), std::sin(theta) * std::sin(phi),
                         std::cos(theta)};
            const float k = shape ? shape(d) : 1;
            b.vertex({d.x * radii.x * k, d.y * radii.y * k, d.z * radii.z * k},
                     static_cast<float>(s) / static_cast<float>(segments),
                     static_cast<float>(r) / static_cast<float>(rings));
        }
    }
    const uint16_t bottom = b.vertex({0, 0, -radii.z * (shape ? shape({0, 0, -1}) : 1)}, 0.5f, 1);
    auto at = [&](int r, int s) {
        return static_cast<uint16_t>(1 + (r - 1) * segments + (s % segments));
    };
    for (int s = 0; s < segments; ++s) b.triangle(top, at(1, s), at(1, s + 1));
    for (int r = 1; r < rings - 1; ++r)
        for (int s = 0; s < segments; ++s)
            b.quad(at(r, s), at(r + 1, s), at(r + 1, s + 1), at(r, s + 1));
    for (int s = 0; s < segments; ++s) b.triangle(bottom, at(rings - 1, s + 1), at(rings - 1, s));
    return b.take();
}

tds::mesh geosphere(const std::string& name, float radius, int subdivisions,
                    const radial_shape& shape) {
    const float t = (1 + std::sqrt(5.0f)) / 2;
    std::vector<vec3> points = {{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0},
                                {0, -1, t}, {0, 1, t}, {0, -1, -t}, {0, 1, -t},
                                {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}};
    for (vec3& p : points) p = normalised(p);
    std::vector<std::array<int, 3>> faces = {
        {0, 11, 5},  {0, 5, 1},  {0, 1, 7},  {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
        {11, 10, 2}, {10, 7, 6}, {7, 1, 8},  {3, 9, 4},  {3, 4, 2},   {3, 2, 6}, {3, 6, 8},
        {3, 8, 9},   {4, 9, 5},  {2, 4, 11}, {6, 2, 10}, {8, 6, 7},   {9, 8, 1}};
    for (int level = 0; level < subdivisions; ++level) {
        std::map<std::pair<int, int>, int> middle;
        auto mid = [&](int a, int b) {
            const auto edge = std::minmax(a, b);
            auto [it, fresh] = middle.try_emplace(edge, static_cast<int>(points.size()));
            if (fresh) points.push_back(normalised(points[a] + points[b]));
            return it->second;
        };
        std::vector<std::array<int, 3>> finer;
        for (const auto& f : faces) {
            const int ab = mid(f[0], f[1]), bc = mid(f[1], f[2]), ca = mid(f[2], f[0]);
            finer.insert(finer.end(),
                         {{f[0], ab, ca}, {f[1], bc, ab}, {f[2], ca, bc}, {ab, bc, ca}});
        }
        faces = std::move(finer);
    }
    mesh_builder b(name);
    for (const vec3& p : points)
        b.vertex(p * (radius * (shape ? shape(p) : 1)), 0.5f + std::atan2(p.y, p.x) / (2 * pi),
                 0.5f - p.z / 2);
    for (const auto& f : faces)
        b.triangle(static_cast<uint16_t>(f[0]), static_cast<uint16_t>(f[1]),
                   static_cast<uint16_t>(f[2]));
    return b.take();
}

tds::mesh cuboid(const std::string& name, vec3 size) {
    mesh_builder b(name);
    const vec3 h = size * 0.5f;
    for (int i = 0; i < 8; ++i)
        b.vertex({i & 1 ? h.x : -h.x, i & 2 ? h.y : -h.y, i & 4 ? h.z : -h.z}, i & 1 ? 1.0f : 0.0f,
                 i & 2 ? 1.0f : 0.0f);
    b.quad(0, 2, 3, 1); // bottom
    b.quad(4, 5, 7, 6); // top
    b.quad(0, 1, 5, 4);
    b.quad(1, 3, 7, 5);
    b.quad(3, 2, 6, 7);
    b.quad(2, 0, 4, 6);
    return b.take();
}

tds::mesh lathe(const std::string& name, float z0, float z1, int rings, int segments,
                const std::function<float(float t)>& radius) {
    mesh_builder b(name);
    for (int r = 0; r <= rings; ++r) {
        const float t = static_cast<float>(r) / static_cast<float>(rings);
        const float z = z0 + (z1 - z0) * t, rad = radius(t);
        for (int s = 0; s < segments; ++s) {
            const float phi = 2 * pi * static_cast<float>(s) / static_cast<float>(segments);
            b.vertex({rad * std::cos(phi), rad * std::sin(phi), z},
                     static_cast<float>(s) / static_cast<float>(segments), t);
        }
    }
    auto at = [&](int r, int s) { return static_cast<uint16_t>(r * segments + s % segments); };
    for (int r = 0; r < rings; ++r)
        for (int s = 0; s < segments; ++s)
            b.quad(at(r, s), at(r, s + 1), at(r + 1, s + 1), at(r + 1, s));
    const uint16_t bottom = b.vertex({0, 0, z0}), top = b.vertex({0, 0, z1});
    for (int s = 0; s < segments; ++s) {
        b.triangle(bottom, at(0, s + 1), at(0, s));
        b.triangle(top, at(rings, s), at(rings, s + 1));
    }
    return b.take();
}

tds::mesh terrain(const std::string& name, float half, int n,
                  const std::function<float(float x, float y)>& height) {
    mesh_builder b(name);
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) {
            const float x = -half + 2 * half * static_cast<float>(i) / static_cast<float>(n);
            const float y = half - 2 * half * static_cast<float>(j) / static_cast<float>(n);
            b.vertex({x, y, height(x, y)}, static_cast<float>(i) / static_cast<float>(n),
                     static_cast<float>(j) / static_cast<float>(n));
        }
    auto at = [&](int i, int j) { return static_cast<uint16_t>(j * (n + 1) + i); };
    tds::mesh m = b.take();
    auto add = [&](uint16_t a, uint16_t c1, uint16_t c2) { m.faces.push_back({a, c1, c2, 7}); };
    for (int turned = 0; turned < 2; ++turned)
        for (int half_quad = 0; half_quad < 2; ++half_quad)
            for (int j = 0; j < n; ++j)
                for (int i = 0; i < n; ++i) {
                    const uint16_t a = half_quad ? at(i + 1, j + 1) : at(i, j);
                    const uint16_t b1 = half_quad ? at(i, j + 1) : at(i + 1, j);
                    const uint16_t c1 = half_quad ? at(i + 1, j) : at(i, j + 1);
                    if (turned)
                        add(a, c1, b1);
                    else
                        add(a, b1, c1);
                }
    return m;
}

} // namespace vilora::kit::data
