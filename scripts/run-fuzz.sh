#!/usr/bin/env bash
# Runs every fuzz target of a build for a bounded time on a copy of its seeds
# (fuzz/corpus/<target>), so the repository's corpus does not grow.
#   scripts/run-fuzz.sh BUILD_DIR [SECONDS_PER_TARGET]
# Targets run side by side, one per core. Exits non-zero when a target
# crashes, leaks or breaks an invariant; the input that did it is kept in
# BUILD_DIR/fuzz-artifacts.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: scripts/run-fuzz.sh BUILD_DIR [SECONDS_PER_TARGET]}
seconds=${2:-60}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"

run_one() {
  local target=$1 name
  name=$(basename "$target")
  mkdir -p "$work/$name"
  [[ -d "fuzz/corpus/$name" ]] && cp -r "fuzz/corpus/$name/." "$work/$name/"
  if "$target" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$artifacts/$name-" "$work/$name" >"$work/$name.log" 2>&1; then
    echo "$name: $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/$name.log" | grep -o '[0-9]*$') runs," \
         "coverage $(grep -o 'cov: [0-9]*' "$work/$name.log" | tail -1 | grep -o '[0-9]*')"
  else
    echo "$name: FAILED"
    tail -n 60 "$work/$name.log"
    return 1
  fi
}
export -f run_one
export work seconds artifacts

targets=$(find "$build/fuzz" -maxdepth 1 -type f -name '*_fuzz' -perm -u+x | sort)
[[ -n "$targets" ]] || { echo "run-fuzz: no fuzz targets in $build/fuzz" >&2; exit 1; }
echo "$targets" | xargs -P "$(nproc)" -I{} bash -c 'run_one "$1"' _ {}
