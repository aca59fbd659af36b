# One place for the project's warning policy; applied to our own targets only.
function(kestrow_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
