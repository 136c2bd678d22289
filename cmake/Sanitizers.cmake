# The sanitizer build (scripts/sanitize.sh): every target of the tree is compiled and linked
# with AddressSanitizer (with its leak checker) and UndefinedBehaviorSanitizer. The first
# report ends the process, so a fault can never scroll past unnoticed in a passing test.
# The frame pointers give the reports whole stacks at a low cost.
option(MURMELO_SANITIZE "Build every target with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(MURMELO_SANITIZE)
    if(MURMELO_FUZZ)
        message(FATAL_ERROR "MURMELO_SANITIZE and MURMELO_FUZZ are separate build trees")
    endif()
    # The dynamic-type check (vptr) is left out: it makes every member access through a
    # CMurmeloDlgAutoProxy pointer in the dialog's closing code refer to the proxy's type
    # information, which the dialog tests do not link (the proxy is linked into the program
    # alone, for its factory's sake).
    add_compile_options(-fsanitize=address,undefined -fno-sanitize=vptr -fno-omit-frame-pointer
        -fno-sanitize-recover=all)
    # With gcc's shared runtimes, UndefinedBehaviorSanitizer ignores log_path and writes its
    # reports to stderr; linked statically, both runtimes write where scripts/sanitize.sh
    # collects them.
    add_link_options(-fsanitize=address,undefined -static-libasan -static-libubsan)
endif()
