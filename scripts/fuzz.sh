#!/bin/sh
# Fuzzes the parsers with libFuzzer, in the clang build folder build-fuzz.
#
#   scripts/fuzz.sh [TARGET|all] [SECONDS]   a session of one target or of every one
#                                            (default all, 300 s each, as many at a time as
#                                            there are cores); the corpus grows in
#                                            build-fuzz/corpus/TARGET, findings land in
#                                            build-fuzz/findings/TARGET
#   scripts/fuzz.sh --check [SECONDS]        what the test command runs: every regression
#                                            input of tests/fuzz/regressions once, then each
#                                            target for SECONDS (default 20) from its seeds
#   scripts/fuzz.sh --totals                 the executions of every session so far, per
#                                            target, from build-fuzz/ledger
#
# Two calls may fuzz the same target side by side, one per core: the corpus folder is shared,
# and each call keeps its own log until it ends, when it becomes findings/TARGET/run.log.
#
# Every session appends a line per target to build-fuzz/ledger: when, the commit, the seconds,
# the executions, the coverage and whether it ended with a finding. The totals of a target count
# only the executions after its last finding.
#
# The seeds are written afresh by make-fuzz-seeds from the image builder on every call. A
# finding (a crash or a violated property) makes the script fail; minimise it with
# `build-fuzz/bin/TARGET -minimize_crash=1 -runs=100000 FILE` and keep it under
# tests/fuzz/regressions/TARGET/ once the fault is fixed.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
build="$root/build-fuzz"
targets="fuzz_partitions fuzz_signature_scan fuzz_volume_discovery fuzz_mount fuzz_snapshot fuzz_markup fuzz_rescue_map"

# Sums the ledger per target: executions since the last finding, the sessions and seconds they
# took, and the coverage of the last session.
print_totals() {
  printf '%-22s %14s %9s %9s  %s\n' target executions sessions seconds "last cov/ft"
  awk -F '\t' '
    { t = $3
      if ($8 == "finding") { runs[t] = 0; sessions[t] = 0; secs[t] = 0; last[t] = "finding " $1; next }
      runs[t] += $5; sessions[t]++; secs[t] += $4; last[t] = $6 "/" $7; seen[t] = 1 }
    END { for (t in seen) printf "%-22s %14d %9d %9d  %s\n", t, runs[t], sessions[t], secs[t], last[t] }
  ' "$1" | sort
}

check=0
if [ "${1:-}" = "--totals" ]; then
  ledger="$build/ledger"
  [ -e "$ledger" ] || { echo "fuzz.sh: no session yet ($ledger)" >&2; exit 1; }
  print_totals "$ledger"
  exit 0
fi
if [ "${1:-}" = "--check" ]; then
  check=1
  shift
  chosen=all
  seconds=${1:-20}
else
  chosen=${1:-all}
  seconds=${2:-300}
fi
if [ "$chosen" != all ]; then
  case " $targets " in
    *" $chosen "*) targets=$chosen ;;
    *) echo "fuzz.sh: unknown target $chosen (one of: $targets)" >&2; exit 2 ;;
  esac
fi

launcher=""
command -v ccache >/dev/null 2>&1 && launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
# Only the core libraries the targets use are built: no Qt, no tests, no benchmarks.
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMBRA_FUZZ=ON \
  -DLUMBRA_BUILD_GUI=OFF -DLUMBRA_BUILD_TESTS=OFF -DLUMBRA_BUILD_BENCH=OFF $launcher >/dev/null
cmake --build "$build" --target fuzz-targets -j"$(nproc)"
rm -rf "$build/seeds"
"$build/bin/make-fuzz-seeds" "$build/seeds"

# A single allocation driven by disk data beyond this is a finding; the largest legitimate one
# is the copy of a fuzz image (4 MiB at most).
options="-rss_limit_mb=2048 -malloc_limit_mb=256 -timeout=30 -print_final_stats=1"

# Appends a session of one target to the ledger: date, commit, target, seconds, executions,
# coverage, features, outcome.
record_session() {
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$2" | tail -n 1)
  coverage=$(grep -E 'cov: ' "$2" | tail -n 1 | sed -n 's/.*cov: \([0-9]*\) ft: \([0-9]*\).*/\1\t\2/p')
  [ -n "$coverage" ] || coverage="0\t0"
  commit=$(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo unknown)
  printf '%s\t%s\t%s\t%s\t%s\t%b\t%s\n' "$(date -u +%Y-%m-%dT%H:%MZ)" "$commit" "$1" "$seconds" \
    "${executions:-0}" "$coverage" "$3" >>"$build/ledger"
}

# Runs one target; its summary goes to findings/TARGET/summary-PID, and a file failed-PID beside
# it marks a finding (PID is this call's, so calls side by side keep apart).
run_target() {
  target=$1
  program="$build/bin/$target"
  findings="$build/findings/$target"
  mkdir -p "$findings"
  rm -f "$findings/failed-$$"
  summary="$findings/summary-$$"
  : >"$summary"
  regressions="$root/tests/fuzz/regressions/$target"
  if [ "$check" = 1 ] && [ -d "$regressions" ] && [ -n "$(ls -A "$regressions")" ]; then
    echo "== $target: regression inputs" >>"$summary"
    if ! "$program" $options -artifact_prefix="$findings/" "$regressions"/* >"$findings/regressions-$$.log" 2>&1; then
      tail -n 40 "$findings/regressions-$$.log" >>"$summary"
      touch "$findings/failed-$$"
      return
    fi
  fi
  if [ "$check" = 1 ]; then
    corpus="$findings/check-corpus-$$"
    rm -rf "$corpus"
  else
    corpus="$build/corpus/$target"
  fi
  mkdir -p "$corpus"
  # Disk images are mutated up to 256 KiB (longer seeds are cut there): enough for a partition
  # table, a chain of headers and a pool's trees, and small enough to keep the runs fast.
  case $target in
    fuzz_snapshot|fuzz_markup|fuzz_rescue_map) length="" ;;
    *) length="-max_len=262144" ;;
  esac
  echo "== $target: $seconds s" >>"$summary"
  log="$findings/run-$$.log"
  if "$program" $options $length -max_total_time="$seconds" -artifact_prefix="$findings/" \
       "$corpus" "$build/seeds/$target" >"$log" 2>&1; then
    grep -E 'cov: ' "$log" | tail -n 1 | sed 's/^/   /' >>"$summary"
    grep -E '^stat::number_of_executed_units|^Done ' "$log" | sed 's/^/   /' >>"$summary"
    outcome=clean
  else
    tail -n 30 "$log" >>"$summary"
    touch "$findings/failed-$$"
    outcome=finding
  fi
  [ "$check" = 1 ] || record_session "$target" "$log" "$outcome"
  [ "$check" = 1 ] && rm -rf "$corpus"
  return 0
}

# As many targets at a time as there are cores.
jobs=$(nproc)
running=0
for target in $targets; do
  run_target "$target" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait
    running=0
  fi
done
wait

failed=""
for target in $targets; do
  findings="$build/findings/$target"
  cat "$findings/summary-$$"
  [ -e "$findings/failed-$$" ] && failed="$failed $target"
  [ -e "$findings/run-$$.log" ] && mv "$findings/run-$$.log" "$findings/run.log"
  [ -e "$findings/regressions-$$.log" ] && mv "$findings/regressions-$$.log" "$findings/regressions.log"
  rm -f "$findings/summary-$$" "$findings/failed-$$"
done
if [ -n "$failed" ]; then
  echo "fuzz.sh: findings in:$failed (inputs in $build/findings)" >&2
  exit 1
fi
exit 0
