#!/usr/bin/env bash
# Configures and builds the project in build/ with Ninja.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/compiler-launcher.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build
