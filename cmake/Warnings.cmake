# Our own code builds with every common warning. They become errors only when asked for:
# our own checks (scripts/build.sh from ./test.sh, the sanitizer and fuzz builds) want a
# warning to stop the build, while distributions build with their own flags and compilers,
# where a new compiler's new warning must not break the package. Third-party headers (Qt,
# eSpeak NG, GoogleTest) are included as system headers, so they are exempt.
option(MURMELO_WERROR "Treat the compiler's warnings on our own code as errors" OFF)

function(murmelo_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra $<$<BOOL:${MURMELO_WERROR}>:-Werror>)
endfunction()
