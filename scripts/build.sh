#!/usr/bin/env bash
# Configures and builds the project in build/ with Ninja.
set -euo pipefail
cd "$(dirname "$0")/.."
# ccache keeps the objects of earlier builds, so a fresh build tree compiles only what changed.
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build
