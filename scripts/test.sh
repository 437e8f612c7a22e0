#!/usr/bin/env bash
# Checks that no include points up a layer, installs the dependencies, builds Kestrova and runs the whole
# suite: once as built, once more under AddressSanitizer and UndefinedBehaviorSanitizer, once under
# ThreadSanitizer, and the fuzz targets briefly.
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

echo "== layering"
scripts/check-layers.sh

scripts/install-deps.sh
jobs=$(nproc)

build_and_test() {  # folder, cmake options...
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

echo "== build and test"
build_and_test build -DCMAKE_BUILD_TYPE=RelWithDebInfo

echo "== AddressSanitizer and UndefinedBehaviorSanitizer"
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" UBSAN_OPTIONS=print_stacktrace=1 \
  build_and_test build-asan -DCMAKE_BUILD_TYPE=Debug -DKESTROVA_SANITIZE=ON -DKESTROVA_BENCH=OFF

echo "== ThreadSanitizer"
TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/tests/tsan.supp" \
  build_and_test build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTROVA_TSAN=ON -DKESTROVA_BENCH=OFF

echo "== fuzz targets"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTROVA_FUZZ=ON -DKESTROVA_BENCH=OFF \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
if cmake --build build-fuzz --target help | grep '^fuzzers:' >/dev/null; then
  cmake --build build-fuzz -j "$jobs" --target fuzzers
  scripts/run-fuzzers.sh build-fuzz
else
  echo "fuzz: no targets"
fi
