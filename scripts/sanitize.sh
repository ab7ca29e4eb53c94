#!/usr/bin/env bash
# Builds ORBA and its tests with Clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan/ and runs every test there headless: memory errors, leaks and undefined behaviour
# fail the test that meets them. Arguments go to ctest (-R tst_report runs one test).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh clang-14 libclang-rt-14-dev
[ -f build-asan/build.ninja ] ||
    CC=clang-14 CXX=clang++-14 cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DORBA_SANITIZE=ON >/dev/null
cmake --build build-asan -- -j"$(nproc)"
# The leak checker of clang 14 misreads glibc's dynamic TLS of a library loaded at run time (the
# print support's) and dies in its own tracer; the test had passed by then.
export ASAN_OPTIONS=detect_leaks=1:intercept_tls_get_addr=0
export UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/fuzz/leaks.supp:print_suppressions=0
cd build-asan
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@"
