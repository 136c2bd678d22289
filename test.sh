#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds, and runs every test with CTest.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/check-format.sh
scripts/build.sh --werror
ctest --test-dir build --output-on-failure --timeout 300

echo "== Sanitizers: every unit and dialog test with ASan and UBSan in build-asan/ (scripts/sanitize.sh)"
scripts/sanitize.sh

echo "== Fuzzing: each target for about 20 s, built with clang in build-fuzz/ (scripts/fuzz.sh)"
scripts/fuzz.sh
