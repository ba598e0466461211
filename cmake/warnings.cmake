# Warnings are errors everywhere in our own code. Designated initialisers that
# leave members to their defaults are intended, so that warning is off.
function(vilora_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror
                                             -Wno-missing-field-initializers)
endfunction()
