#!/usr/bin/env bash
# Builds every libFuzzer target tests/fuzz/*Fuzz.cpp with clang, AddressSanitizer
# and UndefinedBehaviorSanitizer in build-fuzz/, then runs each one for the
# given number of seconds (default 60). Each target starts from its committed
# seeds in tests/fuzz/corpus/<Target>/; what it finds on the way goes to
# build-fuzz/corpus/<Target>/, and failing inputs to build-fuzz/findings/<Target>/.
# Exit status 1 when any target reports a finding.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

bash scripts/setup.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZIBO_BUILD_FUZZERS=ON -DZIBO_BUILD_TESTS=OFF >/dev/null

targets=()
for source in tests/fuzz/*Fuzz.cpp; do
    targets+=("$(basename "$source" .cpp)")
done
cmake --build build-fuzz -j 2 --target "${targets[@]}"

status=0
for target in "${targets[@]}"; do
    seeds="tests/fuzz/corpus/$target"
    work="build-fuzz/corpus/$target"
    findings="build-fuzz/findings/$target"
    mkdir -p "$seeds" "$work" "$findings"
    echo "fuzz: $target for ${seconds} s"
    # The targets print what the engine prints for every input; closing their
    # stdout and stderr keeps libFuzzer's own report (it keeps a copy of stderr).
    if ! "build-fuzz/$target" "$work" "$seeds" \
        -max_total_time="$seconds" -timeout=10 -max_len=4096 -close_fd_mask=3 \
        -artifact_prefix="$findings/" -print_final_stats=1; then
        echo "fuzz: $target reported a finding in $findings" >&2
        status=1
    fi
done
exit "$status"
