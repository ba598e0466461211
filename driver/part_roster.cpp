#include "driver/part_roster.h"

#include "parts/houp.h"
#include "parts/obw.h"
#include "parts/odistort.h"
#include "parts/ogreety.h"
#include "parts/oland.h"
#include "parts/oneco0.h"
#include "parts/oneco1.h"
#include "parts/oneco2.h"
#include "parts/oneco3.h"
#include "parts/oneco4.h"
#include "parts/oskred0.h"
#include "parts/otitulek.h"
#include "parts/pinkous.h"

namespace vilora {

const part_roster& built_in_parts() {
    static const part_roster roster = {
        part_class_of<otitulek>(part_id::otitulek, "otitulek"),
        part_class_of<oskred0>(part_id::oskred0, "oskred0"),
        part_class_of<ogreety>(part_id::ogreety, "ogreety"),
        part_class_of<oneco0>(part_id::oneco0, "oneco0"),
        part_class_of<oneco1>(part_id::oneco1, "oneco1"),
        part_class_of<oneco2>(part_id::oneco2, "oneco2"),
        part_class_of<oneco3>(part_id::oneco3, "oneco3"),
        part_class_of<oneco4>(part_id::oneco4, "oneco4"),
        part_class_of<pinkous>(part_id::pinkous, "pinkous"),
        part_class_of<odistort>(part_id::odistort, "odistort"),
        part_class_of<obw>(part_id::obw, "obw"),
        part_class_of<houp>(part_id::houp, "houp"),
        part_class_of<oland>(part_id::oland, "oland"),
    };
    return roster;
}

const char* part_name(part_id id) {
    return built_in_parts()[static_cast<size_t>(id)].name;
}

int part_modes(part_id id) {
    switch (id) {
    case part_id::otitulek:
        return 6; // 0 to 5; a mode above 5 draws as 4 does
    case part_id::oskred0:
        return 8; // 0 and 1 without a credit picture, 2 to 7 with one
    case part_id::obw:
        return 3;
    case part_id::ogreety:
    case part_id::oneco4:
        return 2;
    default:
        return 1;
    }
}

} // namespace vilora
