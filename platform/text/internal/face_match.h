// Which file holds the face a font asks for by name: fontconfig's match on the
// desktop (face_match_fontconfig.cpp); where fontconfig does not exist (the
// WebAssembly build) a small table of ours over the faces the build carries
// (face_match_table.cpp). Internal to the platform layer.
#pragma once

#include <optional>
#include <string>

namespace vilora {

struct face_file {
    std::string path;
    int index = 0; // the face's number within the file
};

// The face closest to the name: the name itself when there, otherwise a plain
// (regular, upright) sans-serif face. Nullopt, with the reason in `error`,
// when there is none.
std::optional<face_file> match_face(const char* face_name, std::string& error);

} // namespace vilora
