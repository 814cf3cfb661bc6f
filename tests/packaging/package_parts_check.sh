#!/bin/sh
# package_parts_check.sh SOURCE_FOLDER WORK_FOLDER
# Configures the sources as scripts/package.sh does (the desktop program included, installed under
# /usr), asking CMake's file API for the build's model, and checks that the targets the script
# builds give everything the install rules take. Only configured, never built: a few seconds.
set -eu
source=$1 work=$2
rm -rf "$work"
mkdir -p "$work/.cmake/api/v1/query"
: >"$work/.cmake/api/v1/query/codemodel-v2"
cmake -S "$source" -B "$work" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DLUMBRA_BUILD_GUI=ON -DLUMBRA_BUILD_BENCH=OFF -DLUMBRA_BUILD_TESTS=OFF >/dev/null
cmake -DBUILD="$work" -DSCRIPT="$source/scripts/package.sh" -P "$source/tests/packaging/installed_parts_check.cmake"
rm -rf "$work"
