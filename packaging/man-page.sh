#!/bin/sh
# man-page.sh PROGRAM NAME_LINE INCLUDE OUTPUT.gz [commands]
# Writes the manual page of PROGRAM from its own --help and --version, so the page never drifts
# from the program; with "commands", each command's --help becomes a section of its own.
set -eu
program=$1 name=$2 include=$3 output=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$include" "$work/include.h2m"
if [ "${5:-}" = commands ]; then
  {
    echo "[COMMANDS]"
    "$program" --help | sed -n '/^Commands:/,$p' | awk 'NR > 1 && /^  [a-z]/ { print $1 }' |
      while read -r command; do
        echo ".SS $command"
        echo ".nf"
        "$program" "$command" --help | sed -e 's/\\/\\e/g' -e "s/^\([.']\)/\\\\\&\1/"
        echo ".fi"
      done
  } >> "$work/include.h2m"
fi
help2man --no-info --no-discard-stderr --name="$name" --include="$work/include.h2m" \
  --output="$work/page.1" "$program"
gzip -9n -c "$work/page.1" > "$output"
