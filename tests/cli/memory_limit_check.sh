#!/bin/sh
# memory_limit_check.sh CLI MAKE_SCALE_IMAGE WORK_DIR
# The mount of a volume of 1,000,000 files under address-space limits that let the program
# start but not hold the volume's records: every run ends with the out-of-memory message and
# exit code 1, never with a signal. Sanitizers reserve more address space than any such limit,
# so this runs against a build without them.
set -eu
cli=$1 maker=$2 work=$3
mkdir -p "$work"
image=$work/scale.img
"$maker" "$image" 1000000

# Without a limit the mount is whole: what stops the others is the limit.
"$cli" --no-drives --image "$image" list --drive 0 --pool 0 --volume 0 >/dev/null 2>"$work/err.txt" ||
    { cat "$work/err.txt"; exit 1; }
# Each limit runs out at another point of the mount (the program needs about 48 MiB to start and
# 170 MiB for the whole mount).
for mib in 56 96 136; do
    code=0
    prlimit --as=$((mib * 1048576)) -- "$cli" --no-drives --image "$image" list --drive 0 --pool 0 --volume 0 \
        >/dev/null 2>"$work/err.txt" || code=$?
    if [ "$code" -ne 1 ] || ! grep -q -e "Out of memory, close other applications and run again" \
                                     -e "Memory Allocation Error" "$work/err.txt"; then
        echo "under $mib MiB of address space: exit code $code"
        cat "$work/err.txt"
        exit 1
    fi
done
rm -f "$image"
