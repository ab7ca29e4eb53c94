#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ with Clang, AddressSanitizer and UndefinedBehavior-
# Sanitizer in build-fuzz/ and runs them: the one named (the file name in fuzz/ without .cpp) or
# all, a minute each unless the seconds are given. Each run starts from the seeds kept in
# fuzz/seeds/<harness> and the inputs earlier runs found (build-fuzz/corpus/<harness>); a finding
# stops its harness and leaves the input in build-fuzz/findings/. Ends with executions and
# coverage per harness.
#   scripts/fuzz.sh [harness] [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/deps.sh clang-14 libclang-rt-14-dev

harnesses=()
if [ -n "${1:-}" ]; then
    [ -f "fuzz/$1.cpp" ] || { echo "Kein Fuzzer namens $1 in fuzz/" >&2; exit 2; }
    harnesses=("$1")
else
    for source in fuzz/*.cpp; do
        name=$(basename "$source" .cpp)
        [ "$name" = FuzzSupport ] || harnesses+=("$name")
    done
fi
seconds=${2:-60}

[ -f build-fuzz/build.ninja ] ||
    CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DORBA_FUZZ=ON >/dev/null
cmake --build build-fuzz --target "${harnesses[@]/#/fuzz_}" -- -j"$(nproc)"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS=suppressions=$root/fuzz/leaks.supp:print_suppressions=0
mkdir -p build-fuzz/findings
summary=()
status=0
for name in "${harnesses[@]}"; do
    corpus=build-fuzz/corpus/$name
    mkdir -p "$corpus"
    dict=()
    [ -f "fuzz/$name.dict" ] && dict=(-dict="$root/fuzz/$name.dict")
    log=build-fuzz/findings/$name.log
    echo "== $name: $seconds s"
    if build-fuzz/bin/fuzz_"$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$root/build-fuzz/findings/$name-" "${dict[@]}" \
        "$root/$corpus" "$root/fuzz/seeds/$name" >"$log" 2>&1; then
        result=ok
    else
        result="BEFUND, siehe $log"
        status=1
        tail -n 40 "$log"
    fi
    runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
    cov=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n 1 || echo "cov: ? ft: ?")
    summary+=("$(printf '%-14s %10s Ausführungen  %-22s %s' "$name" "$runs" "$cov" "$result")")
done
printf '%s\n' "${summary[@]}"
exit $status
