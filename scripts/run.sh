#!/bin/sh
# Builds the programs and the bundled demo disk image, then starts the desktop application on
# the demo image: on the user's display, or under a virtual one when there is none.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-dependencies.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMBRA_BUILD_GUI=ON >/dev/null
cmake --build build -j"$(nproc)" --target lumbra-nss lumbra-nss-cli lumbra-nss-open-device make-demo-image grab-windows \
  Disk32 disk2
image=build/demo/demo-nss.img
if [ ! -f "$image" ]; then
  mkdir -p build/demo
  build/bin/make-demo-image "$image" --manifest build/demo/demo-manifest.json
fi
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/lumbra-nss --image "$image" "$@"
fi
echo "No display: starting lumbra-nss on a virtual display (xvfb-run)."
exec xvfb-run -a -s "-screen 0 1024x768x24" build/bin/lumbra-nss --image "$image" "$@"
