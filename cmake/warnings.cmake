# Warnings are errors everywhere in our own code.
function(vilora_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()
