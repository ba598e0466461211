#include "kit/content/data_set.h"

#include "engine/data_set.h"

#include "kit/content/music/music_module.h"
#include "kit/content/scenes/scenes.h"
#include "kit/formats/library_writer.h"
#include "kit/formats/scene_writer.h"
#include "kit/shapes/rig.h"

namespace vilora::kit::data {
namespace {

std::vector<uint8_t> archive_of(const std::vector<named_bytes>& pictures) {
    library_writer writer;
    for (const named_bytes& p : pictures) writer.add_member(p.name, p.bytes);
    return writer.archive();
}

picture_use bmp(const std::string& library, const std::string& name, bool keyed = false) {
    return {library, name, keyed, false};
}

std::vector<picture_use> sequence(const std::string& library, const char* prefix, int count) {
    std::vector<picture_use> out;
    for (int i = 0; i < count; ++i)
        out.push_back(bmp(library, std::string(prefix) + std::to_string(i) + ".bmp"));
    return out;
}

std::vector<picture_use> joined(std::vector<picture_use> a, const std::vector<picture_use>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A scene as a 3DS file, every light with its keyframer node.
std::vector<uint8_t> scene_file(tds::scene s) {
    add_light_nodes(s);
    return tds::write_3ds(s);
}

// A data set file under the name the generator writes it.
std::string name_of(const char* show_name) {
    return std::string(data_set::file_name(show_name));
}

} // namespace

const std::vector<std::string>& data_file_names() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> out;
        for (const char* file : data_set::files) out.emplace_back(data_set::file_name(file));
        return out;
    }();
    return names;
}

std::vector<uint8_t> make_data_file(const std::string& name, const art::lettering& letters) {
    const auto is = [&name](const char* file) { return name == data_set::file_name(file); };
    if (is(data_set::dtroid)) return archive_of(dtroid_pictures(letters));
    if (is(data_set::robot1)) return archive_of(robot1_pictures(letters));
    if (is(data_set::uganda4)) return archive_of(uganda4_pictures(letters));
    if (is(data_set::hedge)) return scene_file(hedge_scene());
    if (is(data_set::vosaq)) return scene_file(vosaq_scene());
    if (is(data_set::psyki)) return scene_file(psyki_scene());
    if (is(data_set::surfonsurf)) return scene_file(surfonsurf_scene());
    if (is(data_set::sperm)) return scene_file(sperm_scene());
    if (is(data_set::hrouda2)) return scene_file(hrouda2_scene());
    if (is(data_set::sroub2)) return scene_file(sroub2_scene());
    if (is(data_set::music)) return music::make_music_module();
    return {};
}

const std::vector<part_use>& part_uses() {
    static const std::string dtroid = name_of(data_set::dtroid), robot1 = name_of(data_set::robot1),
                             uganda4 = name_of(data_set::uganda4);
    static const std::vector<part_use> parts = {
        {"otitulek", joined(sequence(dtroid, "top", 4), {bmp(dtroid, "mushk.bmp")}),
         name_of(data_set::hedge)},
        {"oskred0",
         {bmp(dtroid, "credits.bmp"), bmp(dtroid, "cred-code.bmp"), bmp(dtroid, "cred-music.bmp"),
          bmp(dtroid, "cred-3d.bmp")},
         name_of(data_set::vosaq)},
        {"ogreety",
         {bmp(dtroid, "winditup.bmp"), bmp(dtroid, "carky.bmp", true),
          bmp(dtroid, "hlask9.bmp", true), bmp(dtroid, "ukaz.bmp", true)},
         name_of(data_set::psyki)},
        {"oneco0",
         {bmp(dtroid, "housena.bmp"), bmp(dtroid, "mirror3.bmp", true)},
         name_of(data_set::sperm)},
        {"oneco1", sequence(robot1, "noon", 4), name_of(data_set::hrouda2)},
        {"oneco2",
         {bmp(robot1, "majic.bmp"), bmp(robot1, "majicbig.bmp"), bmp(robot1, "mex.bmp", true)},
         ""},
        {"oneco3",
         joined(sequence(robot1, "", 3), {bmp(robot1, "zelenac.bmp"), bmp(robot1, "litac.bmp")}),
         ""},
        {"oneco4", joined({bmp(robot1, "jug.bmp")}, sequence(robot1, "x", 12)),
         name_of(data_set::sroub2)},
        {"pinkous",
         joined(sequence(robot1, "", 2), {bmp(uganda4, "hlavni.bmp"), bmp(uganda4, "field.bmp"),
                                          bmp(uganda4, "box.bmp", true)}),
         ""},
        {"odistort", {bmp(uganda4, "lifelife.bmp")}, name_of(data_set::vosaq)},
        {"obw",
         joined(sequence(uganda4, "f", 3), {bmp(uganda4, "torture.bmp"), bmp(uganda4, "zool.bmp"),
                                            bmp(uganda4, "sorry.bmp", true)}),
         ""},
        {"houp", {bmp(uganda4, "glit.bmp")}, name_of(data_set::psyki)},
        {"oland",
         {bmp(uganda4, "hool.bmp", true), {uganda4, "flare1.psd", false, true}},
         name_of(data_set::surfonsurf)},
    };
    return parts;
}

} // namespace vilora::kit::data
