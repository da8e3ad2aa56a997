#!/usr/bin/env bash
# Builds Gratinel "Free" with its tests and runs them all (offscreen: no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRATINEL_BUILD_TESTS=ON >/dev/null
cmake --build build
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
