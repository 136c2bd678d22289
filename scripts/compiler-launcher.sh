# Sourced by the build scripts: sets `launcher` to the CMake options that put ccache in front
# of the compilers, when ccache is installed. Paths are hashed relative to this checkout, so
# a fresh clone in another folder reuses the objects an earlier build left in the cache.
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    CCACHE_BASEDIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    export CCACHE_BASEDIR
    export CCACHE_NOHASHDIR=1
fi
