// The files of the show's data set, as the show names them. This is the one
// list of them: start-up and the parts open these names, vilora-kit makes these
// files, and the build reads the names between the quotes below to know what
// the generator writes (keep one "data\\name" per entry).
#pragma once

#include <array>
#include <string_view>

namespace vilora::data_set {

inline constexpr const char* dtroid = "data\\dtroid.782";
inline constexpr const char* robot1 = "data\\robot1.782";
inline constexpr const char* uganda4 = "data\\uganda4.782";
inline constexpr const char* hedge = "data\\hedge.3ds";
inline constexpr const char* vosaq = "data\\vosaq.3ds";
inline constexpr const char* psyki = "data\\psyki.3ds";
inline constexpr const char* surfonsurf = "data\\surfonsurf.3ds";
inline constexpr const char* sperm = "data\\sperm.3ds";
inline constexpr const char* hrouda2 = "data\\hrouda2.3ds";
inline constexpr const char* sroub2 = "data\\sroub2.3ds";
inline constexpr const char* music = "data\\muska.xm";

// Every file, in the order the generator makes them.
inline constexpr std::array<const char*, 11> files = {
    dtroid, robot1, uganda4, hedge, vosaq, psyki, surfonsurf, sperm, hrouda2, sroub2, music};

// The file's own name, without the "data\" the show puts before it.
constexpr std::string_view file_name(std::string_view show_name) {
    const size_t slash = show_name.find_last_of("\\/");
    return slash == std::string_view::npos ? show_name : show_name.substr(slash + 1);
}

} // namespace vilora::data_set
