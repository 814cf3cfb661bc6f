#!/bin/sh
# grab_windows_check.sh MAKE_DEMO_IMAGE GRAB_WINDOWS WORK_FOLDER
# The window grabber walks the whole wizard over the demo disk and ends, leaving one picture
# of every step, dialog and menu.
set -eu
make_image=$1 grab=$2 work=$3
rm -rf "$work"
mkdir -p "$work"
"$make_image" "$work/demo.img" >/dev/null
"$grab" "$work/demo.img" "$work/pictures"
for name in step-0-start step-0-disk-selected step-0-search-partition step-0-scanning step-1-pools \
            dialog-mode-of-recovery step-2-volumes step-2-mounting step-3-browse step-3-icons dialog-message \
            menu-1 menu-2 menu-3 menu-4 menu-file-list menu-window dialog-settings dialog-file-filters \
            dialog-properties dialog-drive-information dialog-about dialog-saving dialog-find; do
  if [ ! -s "$work/pictures/$name.png" ]; then
    echo "missing picture: $name.png"
    exit 1
  fi
done
rm -rf "$work"
