#!/usr/bin/env bash
# Runs every fuzz target for SECONDS each (default 60) with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, in build-fuzz (clang). New inputs that widen the coverage are
# merged into tests/fuzz/corpus/TARGET, which the tests replay; a crash leaves its input in
# build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
scripts/deps.sh clang libclang-rt-14-dev
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRATINEL_BUILD_TESTS=ON \
    -DGRATINEL_BUILD_BENCH=OFF -DGRATINEL_FUZZ=ON "${launcher[@]}" >/dev/null
targets=$(sed -n 's/^add_gratinel_fuzz_target(\([a-z0-9_]*\) .*/\1/p' tests/CMakeLists.txt)
cmake --build build-fuzz --target $targets
mkdir -p build-fuzz/findings
status=0
for t in $targets; do
  corpus=tests/fuzz/corpus/$t
  work=build-fuzz/work/$t
  mkdir -p "$corpus" "$work"
  echo "== $t : ${seconds} s"
  # The importer's process grows under AddressSanitizer by some 75 KB an input over a long run
  # (its live heap stays near 40 MB, and one input read again and again stays flat): it gets
  # room for ten minutes. A single allocation is still held to 256 MB.
  rss=2048
  [ "$t" = fuzz_importer ] && rss=4096
  # Each input's files are small: no single allocation may come near the limit.
  (cd build-fuzz && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
     LSAN_OPTIONS=suppressions=../tests/fuzz/lsan.supp \
     UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
     tests/$t -max_total_time="$seconds" -timeout=20 -rss_limit_mb="$rss" -malloc_limit_mb=256 \
       -max_len=400000 -artifact_prefix=findings/$t- -print_final_stats=1 \
       "work/$t" "../$corpus") || status=1
  # Keep only the inputs that add coverage.
  mkdir -p "$work.min"
  (cd build-fuzz && QT_QPA_PLATFORM=offscreen tests/$t -merge=1 "work/$t.min" "../$corpus" "work/$t" >/dev/null 2>&1) || true
  if [ -n "$(ls -A "$work.min")" ]; then rm -f "$corpus"/*; cp "$work.min"/* "$corpus"/; fi
  rm -rf "$work.min"
done
exit $status
