#!/bin/sh
# The wizard, the desktop and the command line under ThreadSanitizer: a build of their three
# test programs only (with the programs they start), every test halting at its first report.
# Then the mount out of memory, in a small build without sanitizers, which reserve more address
# space than that test's limits allow.
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
      -DLUMBRA_SANITIZE_THREAD=ON -DLUMBRA_WERROR=ON -DLUMBRA_BUILD_BENCH=OFF >/dev/null
cmake --build build-tsan --target app_tests gui_tests cli_tests -j"$(nproc)"
# The tests that fill in Qt's file dialogs are left out: the dialog's model starts Qt's file
# information thread, which hands data to the GUI thread under Qt Core's own locks; Qt is not
# built for the race checker, so every such hand-over is reported, with both sides inside Qt Core.
(cd build-tsan &&
 QT_QPA_PLATFORM=offscreen TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$(pwd)/../tests/tsan.supp" \
     ctest -L '^(app_tests|cli_tests|gui_tests)$' \
       -E '^(WindowSafety\.ReplacingASnapshotAsksAboutTheFileReallyWritten|WindowSafety\.ShiftTabAfterALoadedSnapshotStaysWithTheTreeAndTheList|ScannedArchive\.RecoversAllSavesASnapshotAndLoadsItBack)$' \
       --output-on-failure -j"$(nproc)" --timeout 900)

cmake -S . -B build-plain -DCMAKE_BUILD_TYPE=Release -DLUMBRA_WERROR=ON -DLUMBRA_BUILD_GUI=OFF \
      -DLUMBRA_BUILD_BENCH=OFF >/dev/null
cmake --build build-plain --target lumbra-nss-cli make-scale-image -j"$(nproc)"
(cd build-plain && ctest -R '^OutOfMemory\.' --output-on-failure)
