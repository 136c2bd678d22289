#!/usr/bin/env bash
# Configures and builds the project in build/ with Ninja. With --werror (as ./test.sh calls
# it) every warning on our own code stops the build; without it (./run.sh) warnings are
# only shown. The choice is passed on every run, so the build tree never keeps an old one.
set -euo pipefail
cd "$(dirname "$0")/.."
werror=OFF
if [ "${1:-}" = --werror ]; then
    werror=ON
fi
source scripts/compiler-launcher.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMURMELO_WERROR=$werror \
    "${launcher[@]}" >/dev/null
cmake --build build
