// Faces matched by fontconfig, as the desktop has them installed.
#include "platform/text/internal/face_match.h"

#include <fontconfig/fontconfig.h>

// fontconfig keeps a few hundred bytes of its configuration for the life of
// the process, which the leak checker of a sanitizer build reports at every
// exit. The suppression lives in the program itself, so that a sanitizer
// build run on its own exits as it should; it covers that library alone.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VILORA_LEAK_CHECKED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VILORA_LEAK_CHECKED 1
#endif
#ifdef VILORA_LEAK_CHECKED
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
#endif

namespace vilora {

// The installed face closest to the name: the name itself when installed,
// otherwise a plain (regular, upright) sans-serif face.
std::optional<face_file> match_face(const char* face_name, std::string& error) {
    if (!FcInit()) {
        error = "the font configuration cannot be loaded";
        return std::nullopt;
    }
    FcPattern* pattern = FcPatternCreate();
    if (face_name && *face_name)
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face_name));
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);

    std::optional<face_file> found;
    FcChar8* path = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
        found = face_file{reinterpret_cast<const char*>(path), 0};
        FcPatternGetInteger(match, FC_INDEX, 0, &found->index);
    } else {
        error = "no installed font matches";
    }
    if (match) FcPatternDestroy(match);
    return found;
}

} // namespace vilora
