#!/usr/bin/env bash
# Installs what is missing, builds, and opens the window. The program runs in build/bin,
# where the converter towav.exe lies beside it, so ToWav works right away; set.ini and
# input.txt are kept in that folder too.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
cd build/bin
exec ./murmelo "$@"
