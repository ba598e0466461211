# Warnings are errors everywhere in our own code. Designated initialisers that
# leave members to their defaults are intended, so that warning is off.
# GCC 12 at -O3 reports -Wrestrict and -Wstringop-overflow on std::string and
# std::vector operations inside the standard library itself (false positives
# of that compiler), so its builds keep those two warnings off.
set(VILORA_WARNING_FLAGS -Wall -Wextra -Wpedantic -Werror -Wno-missing-field-initializers)
function(vilora_warnings target)
    target_compile_options(${target} PRIVATE ${VILORA_WARNING_FLAGS})
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        target_compile_options(${target} PRIVATE -Wno-restrict -Wno-stringop-overflow)
    endif()
endfunction()
