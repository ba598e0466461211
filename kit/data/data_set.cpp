#include "kit/data/data_set.h"

#include "kit/data/scenes.h"
#include "kit/library_writer.h"
#include "kit/music/music_module.h"
#include "kit/scene_writer.h"

namespace vilora::kit::data {
namespace {

std::vector<uint8_t> archive_of(const std::vector<named_bytes>& pictures) {
    library_writer writer;
    for (const named_bytes& p : pictures) writer.add_member(p.name, p.bytes);
    return writer.archive();
}

picture_use bmp(const char* library, const char* name, bool keyed = false) {
    return {library, name, keyed, false};
}

std::vector<picture_use> sequence(const char* library, const char* prefix, int count) {
    std::vector<picture_use> out;
    for (int i = 0; i < count; ++i)
        out.push_back(bmp(library, (std::string(prefix) + std::to_string(i) + ".bmp").c_str()));
    return out;
}

std::vector<picture_use> joined(std::vector<picture_use> a, const std::vector<picture_use>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

constexpr const char* dtroid = "dtroid.782";
constexpr const char* robot1 = "robot1.782";
constexpr const char* uganda4 = "uganda4.782";

} // namespace

const std::vector<std::string>& data_file_names() {
    static const std::vector<std::string> names = {
        "dtroid.782",     "robot1.782", "uganda4.782", "hedge.3ds",  "vosaq.3ds", "psyki.3ds",
        "surfonsurf.3ds", "sperm.3ds",  "hrouda2.3ds", "sroub2.3ds", "muska.xm"};
    return names;
}

std::vector<uint8_t> make_data_file(const std::string& name, const art::lettering& letters) {
    if (name == "dtroid.782") return archive_of(dtroid_pictures(letters));
    if (name == "robot1.782") return archive_of(robot1_pictures(letters));
    if (name == "uganda4.782") return archive_of(uganda4_pictures(letters));
    if (name == "hedge.3ds") return tds::write_3ds(hedge_scene());
    if (name == "vosaq.3ds") return tds::write_3ds(vosaq_scene());
    if (name == "psyki.3ds") return tds::write_3ds(psyki_scene());
    if (name == "surfonsurf.3ds") return tds::write_3ds(surfonsurf_scene());
    if (name == "sperm.3ds") return tds::write_3ds(sperm_scene());
    if (name == "hrouda2.3ds") return tds::write_3ds(hrouda2_scene());
    if (name == "sroub2.3ds") return tds::write_3ds(sroub2_scene());
    if (name == "muska.xm") return music::make_music_module();
    return {};
}

const std::vector<part_use>& part_uses() {
    static const std::vector<part_use> parts = {
        {"otitulek", joined(sequence(dtroid, "top", 4), {bmp(dtroid, "mushk.bmp")}), "hedge.3ds"},
        {"oskred0",
         {bmp(dtroid, "credits.bmp"), bmp(dtroid, "cred-code.bmp"), bmp(dtroid, "cred-music.bmp"),
          bmp(dtroid, "cred-3d.bmp")},
         "vosaq.3ds"},
        {"ogreety",
         {bmp(dtroid, "winditup.bmp"), bmp(dtroid, "carky.bmp", true),
          bmp(dtroid, "hlask9.bmp", true), bmp(dtroid, "ukaz.bmp", true)},
         "psyki.3ds"},
        {"oneco0", {bmp(dtroid, "housena.bmp"), bmp(dtroid, "mirror3.bmp", true)}, "sperm.3ds"},
        {"oneco1", sequence(robot1, "noon", 4), "hrouda2.3ds"},
        {"oneco2",
         {bmp(robot1, "majic.bmp"), bmp(robot1, "majicbig.bmp"), bmp(robot1, "mex.bmp", true)},
         ""},
        {"oneco3",
         joined(sequence(robot1, "", 3), {bmp(robot1, "zelenac.bmp"), bmp(robot1, "litac.bmp")}),
         ""},
        {"oneco4", joined({bmp(robot1, "jug.bmp")}, sequence(robot1, "x", 12)), "sroub2.3ds"},
        {"pinkous",
         joined(sequence(robot1, "", 2), {bmp(uganda4, "hlavni.bmp"), bmp(uganda4, "field.bmp"),
                                          bmp(uganda4, "box.bmp", true)}),
         ""},
        {"odistort", {bmp(uganda4, "lifelife.bmp")}, "vosaq.3ds"},
        {"obw",
         joined(sequence(uganda4, "f", 3), {bmp(uganda4, "torture.bmp"), bmp(uganda4, "zool.bmp"),
                                            bmp(uganda4, "sorry.bmp", true)}),
         ""},
        {"houp", {bmp(uganda4, "glit.bmp")}, "psyki.3ds"},
        {"oland",
         {bmp(uganda4, "hool.bmp", true), {uganda4, "flare1.psd", false, true}},
         "surfonsurf.3ds"},
    };
    return parts;
}

} // namespace vilora::kit::data
