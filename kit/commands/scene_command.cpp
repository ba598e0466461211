// vilora-kit scene FILE.3ds [--frame F] [--json]: the world, the keyframer
// nodes with their tracks, and the scene evaluated at a frame as the scene
// parts see it ("Camera01" or "rolli" active, sized 320 × 200, aspect 0.75).
#include "kit/commands/command_support.h"
#include "kit/commands/commands.h"
#include "kit/commands/json_text.h"
#include "kit/commands/printable.h"
#include "library/file_problems.h"
#include "scene3d/kf.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace vilora::kit {
namespace {

using json = nlohmann::ordered_json;

json name_of(const kf_record* r) {
    return r->name ? json(r->name) : json(nullptr);
}
json vec(const kf_vector& v) {
    return json::array({v.x, v.y, v.z});
}

json matrix(const kf_matrix& m) {
    json rows = json::array();
    for (const auto& row : m.m) rows.push_back(json::array({row[0], row[1], row[2], row[3]}));
    return rows;
}

json object_json(const kf_object* o) {
    return {{"name", name_of(o)},        {"id", o->id},
            {"parent_id", o->parent_id}, {"vertices", o->vertex_count},
            {"faces", o->face_count},    {"flags", o->flags},
            {"pivot", vec(o->pivot)},    {"bbox", {vec(o->bbox_min), vec(o->bbox_max)}}};
}

json camera_json(const kf_camera* c) {
    return {{"name", name_of(c)},       {"id", c->id},   {"position", vec(c->position)},
            {"target", vec(c->target)}, {"fov", c->fov}, {"roll", c->roll}};
}

json light_json(const kf_light* l) {
    json j = {{"name", name_of(l)},
              {"id", l->id},
              {"kind", l->kind == KF_SPOT_LIGHT ? "spot" : "omni"},
              {"position", vec(l->position)},
              {"color", vec(l->color)}};
    if (l->kind == KF_SPOT_LIGHT) {
        j["target"] = vec(l->target);
        j["hotspot"] = l->hotspot;
        j["falloff"] = l->falloff;
    }
    return j;
}

json material_json(const kf_material* m) {
    json j = {{"name", name_of(m)},
              {"id", m->id},
              {"shading", m->shading},
              {"flags", m->flags},
              {"ambient", vec(m->ambient)},
              {"diffuse", vec(m->diffuse)},
              {"specular", vec(m->specular)},
              {"shininess", m->shininess},
              {"transparency", m->transparency}};
    if (m->texture.file) j["texture"] = m->texture.file;
    return j;
}

json world_json(const kf_scene* scene) {
    json world = {{"objects", json::array()},
                  {"cameras", json::array()},
                  {"lights", json::array()},
                  {"materials", json::array()},
                  {"ambient", json::array()}};
    for (const kf_world_node* n = scene->world_head; n; n = n->next) {
        if (const kf_object* o = kf_as_object(n)) world["objects"].push_back(object_json(o));
        if (const kf_camera* c = kf_as_camera(n)) world["cameras"].push_back(camera_json(c));
        if (const kf_light* l = kf_as_light(n)) world["lights"].push_back(light_json(l));
        if (const kf_material* m = kf_as_material(n))
            world["materials"].push_back(material_json(m));
        if (const kf_ambient* a = kf_as_ambient(n))
            world["ambient"].push_back(
                {{"name", name_of(a)}, {"id", a->id}, {"color", vec(a->color)}});
    }
    return world;
}

const char* node_type_name(int type) {
    switch (type) {
    case KF_NODE_CAMERA:
        return "camera";
    case KF_NODE_CAMERA_TARGET:
        return "camera target";
    case KF_NODE_LIGHT:
        return "light";
    case KF_NODE_SPOT_LIGHT:
        return "spot light";
    case KF_NODE_LIGHT_TARGET:
        return "light target";
    case KF_NODE_OBJECT:
        return "object";
    case KF_NODE_AMBIENT:
        return "ambient";
    default:
        return "unknown";
    }
}

const char* track_kind_name(int kind) {
    static const char* const names[] = {"?",    "position", "rotation", "scale", "fov",
                                        "roll", "color",    "morph",    "hide"};
    return kind >= 1 && kind <= 8 ? names[kind] : names[0];
}

json tracks_json(const kf_node* n) {
    json tracks = json::array();
    for (int kind = KF_TRACK_POSITION; kind <= KF_TRACK_HIDE; ++kind) {
        int slot = kf_track_slot(n->type, kind);
        const kf_track* t = slot >= 0 && n->tracks ? n->tracks[slot] : nullptr;
        if (!t) continue;
        static const char* const modes[] = {"once", "repeat", "loop"};
        json frames = json::array();
        for (const kf_key* k = t->first; k; k = k->next) frames.push_back(k->frame);
        tracks.push_back({{"kind", track_kind_name(kind)},
                          {"mode", t->mode >= 0 && t->mode <= 2 ? modes[t->mode] : "?"},
                          {"keys", t->key_count},
                          {"frames", frames}});
    }
    return tracks;
}

// Flat, in list order: a node's parent is named by its node id, so a file
// whose parents form odd shapes still prints in one pass.
json nodes_json(const kf_scene* scene) {
    json nodes = json::array();
    for (const kf_node* n = scene->node_head; n; n = n->next) {
        nodes.push_back({{"node_id", n->node_id},
                         {"type", node_type_name(n->type)},
                         {"record", name_of(n->record)},
                         {"parent", n->parent ? json(n->parent->node_id) : json(nullptr)},
                         {"tracks", tracks_json(n)}});
    }
    return nodes;
}

// The scene part's camera: "Camera01", else "rolli".
kf_camera* scene_camera() {
    kf_camera* c = kf_as_camera(kf_find(KF_CAMERA, "Camera01"));
    return c ? c : kf_as_camera(kf_find(KF_CAMERA, "rolli"));
}

json evaluation_json(const kf_scene* scene, float frame, const kf_camera* active) {
    json cameras = json::array(), objects = json::array();
    for (const kf_world_node* n = scene->world_head; n; n = n->next) {
        if (const kf_camera* c = kf_as_camera(n)) {
            cameras.push_back({{"name", name_of(c)},
                               {"persp_x", c->persp_x},
                               {"persp_y", c->persp_y},
                               {"matrix", matrix(c->matrix)}});
        }
        if (const kf_object* o = kf_as_object(n)) {
            json vertices = json::array();
            for (int i = 0; i < o->vertex_count; ++i)
                vertices.push_back(vec(o->vertices[i].camera_position));
            objects.push_back({{"name", name_of(o)}, {"flags", o->flags}, {"vertices", vertices}});
        }
    }
    return {{"frame", frame},
            {"camera", active ? name_of(active) : json(nullptr)},
            {"cameras", cameras},
            {"objects", objects}};
}

int fail(const std::string& file, const char* what, kf_status status) {
    const std::optional<file_problem> problem = take_file_problem();
    return report_failure("vilora-kit scene",
                          file + ": " + what + ": status " + std::to_string(status) + " (" +
                              kf_status_name(status) + ")" +
                              (problem ? ": " + printable(problem->cause) : std::string()));
}

void warn(const std::string& file, const std::string& message) {
    std::fprintf(stderr, "vilora-kit scene: warning: %s: %s\n", file.c_str(), message.c_str());
}

// Chunks of the published format that scenes carry and the show has no use
// for: file and mesh version, master scale, keyframer header, current frame.
constexpr uint16_t unneeded_chunks[] = {0x0002, 0x3D3E, 0x0100, 0xB00A, 0xB009};

bool is_unneeded(uint16_t id) {
    return std::find(std::begin(unneeded_chunks), std::end(unneeded_chunks), id) !=
           std::end(unneeded_chunks);
}

// Chunks skipped beyond those: in a damaged file, ids that a flipped bit made.
void warn_about_skipped_chunks(const std::string& file) {
    const kf_skipped_chunks& skipped = kf_last_skipped_chunks();
    const size_t kept = std::min(skipped.count, kf_skipped_chunks_kept);
    size_t unneeded = 0;
    std::string list;
    for (size_t i = 0; i < kept; ++i) {
        if (is_unneeded(skipped.first[i].id)) {
            ++unneeded;
            continue;
        }
        char one[40];
        std::snprintf(one, sizeof one, "%s0x%04X at offset %zu", list.empty() ? "" : ", ",
                      skipped.first[i].id, skipped.first[i].offset);
        list += one;
    }
    // Past the first few the ids are not known; they all count as unexpected.
    const size_t unexpected = skipped.count - unneeded;
    if (unexpected == 0) return;
    if (skipped.count > kept) list += ", ...";
    warn(file,
         std::to_string(unexpected) + " chunk(s) skipped that the reader does not know: " + list);
}

// A vertex this many times further out than the scene's typical one is
// almost certainly a damaged number, not geometry.
constexpr double outlier_factor = 1000.0;

// Vertices (as read, in their objects' own axes) far outside the bounds that
// most of the scene keeps: the median of every vertex's largest coordinate,
// times the factor. Non-finite coordinates count too.
void warn_about_far_vertices(const std::string& file, const kf_scene* scene) {
    std::vector<double> extents;
    for (const kf_world_node* n = scene->world_head; n; n = n->next)
        if (const kf_object* o = kf_as_object(n))
            for (int i = 0; i < o->vertex_count; ++i) {
                const kf_vector& p = o->vertices[i].position;
                extents.push_back(std::max(
                    {std::fabs(double{p.x}), std::fabs(double{p.y}), std::fabs(double{p.z})}));
            }
    if (extents.empty()) return;
    std::vector<double> sorted = extents;
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<long>(sorted.size() / 2),
                     sorted.end());
    const double limit = std::max(sorted[sorted.size() / 2], 1.0) * outlier_factor;
    size_t i = 0;
    for (const kf_world_node* n = scene->world_head; n; n = n->next) {
        const kf_object* o = kf_as_object(n);
        if (!o) continue;
        int far = 0, first = -1;
        for (int v = 0; v < o->vertex_count; ++v, ++i)
            if (!(extents[i] <= limit)) {
                if (first < 0) first = v;
                ++far;
            }
        if (far)
            warn(file, "object '" + printable(o->name ? o->name : "") + "': " +
                           std::to_string(far) + " vertex(es) far outside the scene's bounds " +
                           "(first: vertex " + std::to_string(first) + ")");
    }
}

// A frame as written: a finite number, never below 0 (frame ranges are
// unsigned in the file); nothing for any other text.
std::optional<float> frame_number(const std::string& text) {
    char* end = nullptr;
    const float value = std::strtof(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(value) || value < 0) return std::nullopt;
    return value;
}

constexpr const char* frame_wanted =
    "a frame of the scene, a number from its start frame up to (not including) its end frame";

int refuse_frame(const CLI::App& app, const std::string& text, const std::string& range) {
    return refuse_arguments(app, std::string("--frame wants ") + frame_wanted + range + ", not '" +
                                     text + "'");
}

} // namespace

int scene_command(int argc, char** argv) {
    CLI::App app{"Dump a 3DS scene and its evaluation at a frame", "vilora-kit scene"};
    std::string file;
    std::optional<std::string> frame_text;
    bool as_json = false;
    app.add_option("FILE", file, "3DS scene file")->required();
    app.add_option("--frame", frame_text,
                   "frame to evaluate, from the scene's start frame up to (not including) its end "
                   "frame (default: the start frame)")
        ->type_name("FRAME");
    app.add_flag("--json", as_json, "write JSON");
    if (const auto done = parse_arguments(app, argc, argv, {{"--frame", frame_wanted}}))
        return *done;
    std::optional<float> frame_option;
    if (frame_text) {
        frame_option = frame_number(*frame_text);
        if (!frame_option) return refuse_frame(app, *frame_text, "");
    }

    kf_init(KF_HIERARCHY | KF_MORPH | KF_TRANSFORM);
    kf_scene* scene = nullptr;
    if (kf_status s = kf_alloc_scene(&scene); s != KF_OK) return fail(file, "out of memory", s);
    struct release {
        kf_scene* s;
        ~release() { kf_free_scene(s); }
    } owner{scene};
    if (kf_status s = kf_load_world(file.c_str(), scene); s != KF_OK) return fail(file, "world", s);
    if (kf_status s = kf_load_motion(file.c_str(), scene); s != KF_OK)
        return fail(file, "motion", s);
    kf_set_active(scene);
    warn_about_skipped_chunks(file);
    warn_about_far_vertices(file, scene);

    kf_camera* camera = scene_camera();
    if (camera) {
        camera->width = 320;
        camera->height = 200;
        camera->aspect = 0.75f;
    }
    kf_set_camera(camera);
    float frame = frame_option.value_or(scene->start_frame);
    if (kf_status s = kf_set_frame(frame); s != KF_OK && frame_option) {
        if (s == KF_BAD_FRAME) {
            char range[64];
            std::snprintf(range, sizeof range, " (here %g up to %g)",
                          static_cast<double>(scene->start_frame),
                          static_cast<double>(scene->end_frame));
            return refuse_frame(app, *frame_text, range);
        }
        char what[48];
        std::snprintf(what, sizeof what, "frame %g", static_cast<double>(frame));
        return fail(file, what, s);
    }

    json doc = {{"file", file},
                {"frames", {{"start", scene->start_frame}, {"end", scene->end_frame}}},
                {"world", world_json(scene)},
                {"nodes", nodes_json(scene)}};
    kf_status updated = kf_update();
    if (updated == KF_OK)
        doc["evaluation"] = evaluation_json(scene, scene->frame, camera);
    else
        doc["evaluation"] = {{"status", updated}, {"status_name", kf_status_name(updated)}};

    if (as_json)
        // Names are bytes from the file, not always UTF-8: invalid sequences
        // are replaced instead of ending the dump.
        std::cout << doc.dump(2, ' ', false, json::error_handler_t::replace) << '\n';
    else
        write_json_as_text(std::cout, doc);
    return 0;
}

} // namespace vilora::kit
