#!/bin/sh
# Builds the Debian package of both programs (build-package/lumbra-nss_VERSION_ARCH.deb), installed
# under /usr. Install it with: sudo apt-get install ./build-package/lumbra-nss_*.deb
# Only what the install rules take is built (the installed-parts target of packaging/CMakeLists.txt):
# packing does not wait for the tests and tools.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-dependencies.sh
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DLUMBRA_BUILD_GUI=ON -DLUMBRA_BUILD_BENCH=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build build-package -j"$(nproc)" --target installed-parts
cd build-package
cpack -G DEB
