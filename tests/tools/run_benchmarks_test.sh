#!/usr/bin/env bash
# The benchmark runner behind `make bench`: a crashing or failing program
# makes the run fail, the other programs still run, and a folder without
# programs is an error. Only programs named <area>_bench run.
set -uo pipefail
runner=${1:?usage: run_benchmarks_test.sh RUNNER}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

program() {  # program DIR NAME BODY
  printf '#!/bin/sh\necho "$0 $*" >> %s/ran\n%s\n' "$work" "$3" > "$1/$2"
  chmod +x "$1/$2"
}

mkdir "$work/good" "$work/bad" "$work/empty"
program "$work/good" a_bench 'exit 0'
program "$work/good" b_bench 'exit 0'
printf 'not a program\n' > "$work/good/notes.txt"
program "$work/good" bench_old 'exit 5'  # left by a build under an older name
mkdir "$work/good/CMakeFiles"

bash "$runner" "$work/good" --benchmark_min_time=0 > /dev/null || fail "passing programs fail the run"
[[ $(grep -c -- '--benchmark_min_time=0' "$work/ran") -eq 2 ]] || fail "arguments not passed to both"

rm -f "$work/ran"
program "$work/bad" a_crash_bench 'kill -SEGV $$'
program "$work/bad" b_fails_bench 'exit 3'
program "$work/bad" c_passes_bench 'exit 0'
if bash "$runner" "$work/bad" > /dev/null 2> "$work/err"; then fail "failing programs pass the run"; fi
[[ $(wc -l < "$work/ran") -eq 3 ]] || fail "a failure stopped the other programs"
grep -q 'a_crash_bench' "$work/err" && grep -q 'b_fails_bench (exit status 3)' "$work/err" ||
  fail "failures not listed: $(cat "$work/err")"
grep -q 'c_passes_bench' "$work/err" && fail "a passing program listed as failed"

if bash "$runner" "$work/empty" > /dev/null 2>&1; then fail "an empty folder passes"; fi
echo "ok"
