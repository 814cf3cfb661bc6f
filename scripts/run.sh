#!/bin/sh
# Builds the programs and the bundled demo disk image, then starts the desktop application on
# the demo image: on the user's display, or under a virtual one when there is none. Without
# the desktop application (built without Qt) it shows the demo image through the command line.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-dependencies.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
image=build/demo/demo-nss.img
if [ ! -f "$image" ]; then
  mkdir -p build/demo
  build/bin/make-demo-image "$image" --manifest build/demo/demo-manifest.json
fi
gui=build/bin/lumbra-nss
if [ -x "$gui" ]; then
  if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$gui" --image "$image" "$@"
  fi
  echo "No display: starting lumbra-nss on a virtual display (xvfb-run)."
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$gui" --image "$image" "$@"
fi
cli=build/bin/lumbra-nss-cli
echo "== Drives (the demo image is the last row) =="
"$cli" --image "$image" drives
row=$("$cli" --image "$image" drives --json | tr '{' '\n' | grep -c '"row"')
row=$((row - 1))
echo "== Pools of the demo image, from its partition table =="
"$cli" --image "$image" pools --drive "$row"
echo "== First sector of the demo image =="
"$cli" --image "$image" read --drive "$row" --sector 0 | head -n 8
