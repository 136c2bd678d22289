# Every outside component the project builds on, found once for the whole tree.
find_package(Qt6 6.2 REQUIRED COMPONENTS Core Gui Widgets DBus)
find_package(PkgConfig REQUIRED)
pkg_check_modules(ESPEAK_NG REQUIRED IMPORTED_TARGET espeak-ng)
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

# pcaudiolib and libsonic ship no pkg-config file on Debian.
find_path(PCAUDIO_INCLUDE_DIR pcaudiolib/audio.h REQUIRED)
find_library(PCAUDIO_LIBRARY pcaudio REQUIRED)
add_library(pcaudio::pcaudio UNKNOWN IMPORTED)
set_target_properties(pcaudio::pcaudio PROPERTIES
    IMPORTED_LOCATION ${PCAUDIO_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${PCAUDIO_INCLUDE_DIR})

find_path(SONIC_INCLUDE_DIR sonic.h REQUIRED)
find_library(SONIC_LIBRARY sonic REQUIRED)
add_library(sonic::sonic UNKNOWN IMPORTED)
set_target_properties(sonic::sonic PROPERTIES
    IMPORTED_LOCATION ${SONIC_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${SONIC_INCLUDE_DIR})

# The converter writes its sound files with libsndfile; the runtime resamples with libsoxr.
pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)
pkg_check_modules(SOXR REQUIRED IMPORTED_TARGET soxr)

# Flite ships no pkg-config file on Debian. Only its core is linked: the runtime loads each
# voice's library (which brings Flite's US English language and lexicon) when it first
# speaks with the voice.
find_path(FLITE_INCLUDE_DIR flite/flite.h REQUIRED)
find_library(FLITE_LIBRARY flite REQUIRED)
add_library(flite::flite UNKNOWN IMPORTED)
set_target_properties(flite::flite PROPERTIES
    IMPORTED_LOCATION ${FLITE_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${FLITE_INCLUDE_DIR}
    INTERFACE_LINK_LIBRARIES "${CMAKE_DL_LIBS}")
