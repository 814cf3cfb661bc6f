#!/bin/sh
# The wizard, the command line and the desktop under ThreadSanitizer: a build of their three test
# programs only (with the programs they start), every test halting at its first report.
# Then the mount out of memory, in a small build without sanitizers, which reserve more address
# space than that test's limits allow.
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
      -DLUMBRA_SANITIZE_THREAD=ON -DLUMBRA_WERROR=ON -DLUMBRA_BUILD_BENCH=OFF >/dev/null
cmake --build build-tsan --target app_tests cli_tests gui_tests -j"$(nproc)"
(cd build-tsan &&
 TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
     ctest -L '^(app_tests|cli_tests)$' --output-on-failure -j"$(nproc)" --timeout 900)
# Debian's Qt is not built for the race checker: its own code is not watched, and the copies it
# makes through the C library are left unwatched too, since the locks that order them (Qt's
# futexes) are invisible. Every access made by this project's code is still checked, and the
# hand-overs between its workers and the GUI thread are made of parts the checker sees.
(cd build-tsan &&
 QT_QPA_PLATFORM=offscreen TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ignore_noninstrumented_modules=1" \
     ctest -L '^gui_tests$' --output-on-failure -j"$(nproc)" --timeout 900)

cmake -S . -B build-plain -DCMAKE_BUILD_TYPE=Release -DLUMBRA_WERROR=ON -DLUMBRA_BUILD_GUI=OFF \
      -DLUMBRA_BUILD_BENCH=OFF >/dev/null
cmake --build build-plain --target lumbra-nss-cli make-scale-image -j"$(nproc)"
(cd build-plain && ctest -R '^OutOfMemory\.' --output-on-failure)
