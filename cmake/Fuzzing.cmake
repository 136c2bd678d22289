# The fuzzing build (scripts/fuzz.sh): clang's libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer, and only the libraries the fuzz targets exercise, none of
# which needs Qt. Every file is compiled with the sanitizers and with the coverage
# instrumentation that guides the fuzzer; the targets add libFuzzer's main when linked.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "MURMELO_FUZZ needs clang (CC=clang CXX=clang++): libFuzzer is part of it")
endif()

add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)

add_subdirectory(platform/base)
add_subdirectory(platform/text)
add_subdirectory(platform/profile)
add_subdirectory(storage)
# Only the converter's command-line library is wanted from its folder.
add_subdirectory(towav EXCLUDE_FROM_ALL)
add_subdirectory(tests/fuzz)
