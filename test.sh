#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds, and runs every test with CTest.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/check-format.sh
scripts/build.sh
ctest --test-dir build --output-on-failure --timeout 300
