#!/bin/sh
# Installs the Debian 12 packages that building, running and testing need (clang and its
# libFuzzer runtime build the fuzz targets; qt6-wayland runs the window on a Wayland session,
# weston is the compositor its test runs under; x11-utils, openbox, xdotool and imagemagick drive
# and look at the windows of the X and Wayland checks; fuse3 and libfuse3-dev serve the faulty disk of
# the tests, and gddrescue, the rescue copier, images it and runs the
# rescue-plan round). Idempotent; uses sudo when not run as root.
set -eu
packages="build-essential cmake pkg-config git googletest libgtest-dev libgmock-dev libbenchmark-dev \
qt6-base-dev qt6-wayland weston libgl-dev libxcb1-dev xvfb xauth x11-utils openbox xdotool imagemagick \
fonts-dejavu-core fonts-dejavu-extra \
adwaita-icon-theme shared-mime-info \
help2man desktop-file-utils appstream file dpkg-dev mount coreutils util-linux \
libxml2-dev libssl-dev nlohmann-json3-dev clang libclang-rt-14-dev ccache python3 \
fuse3 libfuse3-dev gddrescue"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
as_root=""
[ "$(id -u)" -ne 0 ] && as_root="sudo"
export DEBIAN_FRONTEND=noninteractive
$as_root apt-get update -qq
$as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
