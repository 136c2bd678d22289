#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each one for a bounded time
# (MURMELO_FUZZ_SECONDS, 20 by default) on a copy of its seed corpus, so the corpus in the
# repository stays as it is. Fails when a target finds a fault: the input that caused it is
# printed and copied to tests/fuzz/corpus/<target>/regression-<hash>, where every later run
# tries it first.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${MURMELO_FUZZ_SECONDS:-20}
targets=(fuzz_private_profile fuzz_text_file_reader fuzz_towav_arguments)

source scripts/compiler-launcher.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DMURMELO_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMURMELO_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build build-fuzz -j2 --target "${targets[@]}" >/dev/null

# The targets write a file per input; memory-backed storage keeps that from dominating.
scratch=${TMPDIR:-/tmp}
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch=/dev/shm
work=$(mktemp -d "$scratch/murmelo-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT

failed=()
for target in "${targets[@]}"; do
    run="$work/$target"
    mkdir -p "$run/corpus" "$run/artifacts" "$run/tmp"
    cp "tests/fuzz/corpus/$target/"* "$run/corpus/"
    status=0
    TMPDIR="$run/tmp" "build-fuzz/bin/$target" -max_total_time="$seconds" -timeout=10 \
        -artifact_prefix="$run/artifacts/" "$run/corpus" >"$run/log" 2>&1 || status=$?

    final=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$run/log" | tail -n 1 || true)
    runs=$(grep -E '^Done [0-9]+ runs' "$run/log" | tail -n 1 || true)
    printf '%-22s %s\n' "$target" "${final:-(no final stats)}"
    printf '%-22s %s\n' "" "${runs:-(stopped early, exit status $status)}"
    [ "$status" -eq 0 ] && continue

    failed+=("$target")
    echo "---- $target failed (exit status $status); its report:"
    # The report without libFuzzer's progress lines and its byte listings of the input.
    grep -v -E '^#[0-9]+[[:space:]]|^0x|^ +"|^INFO:|^[[:space:]]+NEW_FUNC' "$run/log" | head -n 60 || true
    for artifact in "$run"/artifacts/{crash,leak,timeout,oom}-*; do
        [ -e "$artifact" ] || continue
        name=$(basename "$artifact")
        regression="tests/fuzz/corpus/$target/regression-${name#*-}"
        cp "$artifact" "$regression"
        echo "---- input kept as $regression:"
        od -A d -c "$regression" | head -n 20 || true
    done
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "Fuzzing found faults in: ${failed[*]}"
    exit 1
fi
echo "Fuzzing found no fault (${#targets[@]} targets, ${seconds} s each)."
