#!/usr/bin/env bash
# Runs N rounds of the crash test (default 1000): a child changing a book is killed at a random
# moment, then the book must hold every change it acknowledged and open. GRATINEL_CRASH_SEED
# replays a failing round's seed.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds="${1:-1000}"
[ -x build/tests/tst_crash ] || { cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRATINEL_BUILD_TESTS=ON >/dev/null; }
cmake --build build --target tst_crash
GRATINEL_CRASH_ROUNDS="$rounds" QT_QPA_PLATFORM=offscreen build/tests/tst_crash -silent
