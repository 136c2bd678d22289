# Our own code builds with every common warning turned into an error. Third-party headers
# (Qt, eSpeak NG, GoogleTest) are included as system headers, so they are exempt.
function(murmelo_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
