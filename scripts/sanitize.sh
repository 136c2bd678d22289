#!/usr/bin/env bash
# Builds the project with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/ and
# runs every unit and dialog test there. Programs the tests start (towav.exe, the automation
# servers) are built the same way and inherit the options below. Every report is written to
# a file of its own under build-asan/sanitizer-reports/ instead of the process's stderr,
# which a test may capture or a child may not have: the run fails when any file is there,
# whichever process wrote it and whatever exit status the test saw.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

source scripts/compiler-launcher.sh
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMURMELO_SANITIZE=ON -DMURMELO_WERROR=ON \
    "${launcher[@]}" >/dev/null
cmake --build build-asan

reports="$root/build-asan/sanitizer-reports"
rm -rf "$reports"
mkdir -p "$reports"
# Some tests run their code as "nobody"; those children must be able to report too.
chmod 1777 "$reports"

# abort_on_error: a faulty process dies of SIGABRT, which no test mistakes for an exit code
# it expects.
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=1:check_initialization_order=1:detect_stack_use_after_return=1:log_path=$reports/asan"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:abort_on_error=1:log_path=$reports/ubsan"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen

# Left out, each because it cannot run under the sanitizers:
# - the end-to-end suite (label e2e): it starts the program as a child on a private X
#   server and sound server and holds it to timings (silence within 100 ms of Stop) that a
#   sanitized program cannot keep; the main test run covers it on the normal build;
# - the text file reader's FileTooLargeForTheMemoryIsRefused: it caps the address space of a
#   child at 256 MiB, far below what AddressSanitizer has already reserved for its shadow
#   memory, so the child cannot map anything at all.
# The benchmarks are programs that print figures, not tests, and are not run here either.
status=0
ctest --test-dir build-asan --output-on-failure --timeout 600 --label-exclude e2e \
    --exclude-regex '\.FileTooLargeForTheMemoryIsRefused$' || status=$?

shopt -s nullglob
found=("$reports"/*)
for report in "${found[@]}"; do
    echo "=== $(basename "$report")"
    cat "$report"
done
echo "Sanitizer reports: ${#found[@]}"
if [ "$status" -ne 0 ] || [ "${#found[@]}" -ne 0 ]; then
    exit 1
fi
