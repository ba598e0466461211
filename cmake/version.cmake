# Writes the programs' version text into OUTPUT at build time: the project
# version, then the git commit when SOURCE_DIR is the top of a git work tree
# (not a folder unpacked inside some other repository), marked when tracked
# files differ from it. OUTPUT is rewritten only when the text changes, so an
# unchanged commit rebuilds nothing.
#
#   cmake -DVERSION=0.1.0 -DSOURCE_DIR=DIR -DOUTPUT=FILE [-DGIT=PROGRAM] -P version.cmake
set(version_text "${VERSION}")
if(GIT)
    execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} rev-parse --show-toplevel
        OUTPUT_VARIABLE top RESULT_VARIABLE failed
        OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(NOT failed)
        file(REAL_PATH "${top}" top)
        file(REAL_PATH "${SOURCE_DIR}" source)
    endif()
    if(NOT failed AND top STREQUAL source)
        execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} rev-parse --short=12 HEAD
            OUTPUT_VARIABLE commit RESULT_VARIABLE failed
            OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} status --porcelain --untracked-files=no
            OUTPUT_VARIABLE changes OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        if(NOT failed AND commit)
            set(version_text "${version_text} (commit ${commit})")
            if(changes)
                set(version_text "${VERSION} (commit ${commit} with local changes)")
            endif()
        endif()
    endif()
endif()
file(CONFIGURE OUTPUT ${OUTPUT} @ONLY CONTENT [[
// Written by cmake/version.cmake at build time.
#include "engine/version.h"

namespace vilora {

const char* program_version() {
    return "@version_text@";
}

} // namespace vilora
]])
