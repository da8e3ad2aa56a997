#!/usr/bin/env bash
# Builds Gratinel "Free" with its tests and runs them all (offscreen: no display needed), then
# runs the whole suite once more under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
launcher=()
# Clones in other folders share the compiler cache.
export CCACHE_BASEDIR="$PWD"
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRATINEL_BUILD_TESTS=ON "${launcher[@]}" >/dev/null
cmake --build build
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)

echo "Seconde passe : AddressSanitizer et UndefinedBehaviorSanitizer (dossier build-asan)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRATINEL_BUILD_TESTS=ON \
      -DGRATINEL_BUILD_BENCH=OFF -DGRATINEL_SANITIZE=ON "${launcher[@]}" >/dev/null
cmake --build build-asan
(cd build-asan && QT_QPA_PLATFORM=offscreen \
   ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
   UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
   ctest --output-on-failure -j2)
