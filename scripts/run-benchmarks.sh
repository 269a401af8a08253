#!/usr/bin/env bash
# Runs every benchmark program (<area>_bench) of a folder and fails when any of them fails
# or when there is none. A failing program does not stop the others; the
# failures are listed at the end. Further arguments go to every program
# (e.g. --benchmark_repetitions=5).
#   scripts/run-benchmarks.sh build/bench [ARGS...]
set -uo pipefail

dir=${1:?usage: run-benchmarks.sh DIR [ARGS...]}
shift
failed=()
ran=0
# Only the current naming: programs left in the folder by older builds
# under other names are not run.
for program in "$dir"/*_bench; do
  [[ -f "$program" && -x "$program" ]] || continue
  echo "== $program"
  ran=$((ran + 1))
  "$program" "$@"
  status=$?
  [[ $status -eq 0 ]] || failed+=("${program##*/} (exit status $status)")
done

if [[ $ran -eq 0 ]]; then
  echo "run-benchmarks: no benchmark programs in $dir" >&2
  exit 1
fi
if [[ ${#failed[@]} -gt 0 ]]; then
  echo "run-benchmarks: ${#failed[@]} of $ran benchmark programs failed:" >&2
  printf '  %s\n' "${failed[@]}" >&2
  exit 1
fi
