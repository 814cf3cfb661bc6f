#!/bin/sh
# Builds everything with warnings as errors, AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test. The benchmarks are built by the run command, not here: they measure
# speed, which a sanitized build does not show.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-dependencies.sh
# The compiler cache keys on paths inside the tree, so that a fresh clone in another folder reuses
# what an earlier build of the same sources compiled.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(pwd)}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
# --tsan: only the race and out-of-memory checks that otherwise follow the suite.
if [ "${1:-}" = "--tsan" ]; then exec sh scripts/test-threads.sh; fi
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DLUMBRA_SANITIZE=ON -DLUMBRA_WERROR=ON -DLUMBRA_BUILD_BENCH=OFF >/dev/null
cmake --build build-test -j"$(nproc)"
cd build-test
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j"$(nproc)" --timeout 600

cd ..
# The fuzz targets, built with clang in build-fuzz (core libraries only): every regression
# input once, then each target for 20 seconds from the seeds the image builder writes.
sh scripts/fuzz.sh --check 20
# The wizard and command-line tests under ThreadSanitizer, then the mount out of memory.
sh scripts/test-threads.sh
