// Faces found without fontconfig, for the WebAssembly build: a table of the
// names the show and the overlay ask for, and the faces fontconfig matches to
// them on the desktop (DejaVu Sans for "MS SANS SERIFF", which no system has,
// and for every other name; DejaVu Sans Mono for "monospace"). They are looked
// for in /fonts, where the web page puts the face it carries, then in the
// folder of Debian's fonts-dejavu-core, where the node build finds them.
#include "platform/text/internal/face_match.h"

#include <array>
#include <cstdio>
#include <strings.h>

namespace vilora {

namespace {

constexpr const char* plain_face = "DejaVuSans.ttf";

struct named_face {
    const char* name; // as asked for, without regard to letter case
    const char* file;
};
constexpr std::array<named_face, 1> named_faces = {{{"monospace", "DejaVuSansMono.ttf"}}};

constexpr std::array<const char*, 2> face_folders = {"/fonts", "/usr/share/fonts/truetype/dejavu"};

std::optional<face_file> find_file(const char* file) {
    for (const char* folder : face_folders) {
        const std::string path = std::string(folder) + "/" + file;
        if (std::FILE* stream = std::fopen(path.c_str(), "rb")) {
            std::fclose(stream);
            return face_file{path, 0};
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<face_file> match_face(const char* face_name, std::string& error) {
    for (const named_face& face : named_faces)
        if (face_name && strcasecmp(face_name, face.name) == 0)
            if (auto found = find_file(face.file)) return found;
    if (auto found = find_file(plain_face)) return found;
    error =
        std::string("the face file ") + plain_face + " is in neither /fonts nor " + face_folders[1];
    return std::nullopt;
}

} // namespace vilora
