#!/bin/sh
# Plants a sample of faults in each FILE (a path under src/), one at a time, in a Release build
# without the desktop, and prints how many the tests of the file's layer catch:
#   sh scripts/mutation.sh [--per-file N] [--label TEST_PROGRAM] FILE...
# The sample of a file is always the same, so that a later run shows whether its tests got sharper.
set -eu
cd "$(dirname "$0")/.."
[ "$#" -gt 0 ] || { sed -n '2,5p' "$0"; exit 2; }
cmake -S . -B build-mutation -DCMAKE_BUILD_TYPE=Release -DLUMBRA_BUILD_GUI=OFF -DLUMBRA_BUILD_BENCH=OFF >/dev/null
cmake --build build-mutation -j"$(nproc)" >/dev/null
exec python3 scripts/mutation_sample.py build-mutation "$@"
