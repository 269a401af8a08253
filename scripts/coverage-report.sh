#!/usr/bin/env bash
# Prints the line coverage of each module from the gcov data of a coverage
# build whose tests have run (make coverage does both).
#   scripts/coverage-report.sh BUILD_DIR
# The per-file figures land in BUILD_DIR/coverage-files.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: scripts/coverage-report.sh BUILD_DIR}
modules=(platform support geobasics geodb geomap geoatlas)
filters=()
for m in "${modules[@]}"; do filters+=(--filter "$m/"); done
gcovr --root . --object-directory "$build" "${filters[@]}" --exclude-unreachable-branches \
  -j "$(nproc)" --json-summary "$build/coverage.json" --txt "$build/coverage-files.txt" >/dev/null
python3 - "$build/coverage.json" "${modules[@]}" <<'PY'
import json, sys
files = json.load(open(sys.argv[1]))["files"]
print(f"{'module':<10} {'lines':>7} {'covered':>8} {'coverage':>9}")
total = covered = 0
for module in sys.argv[2:]:
    mine = [f for f in files if f["filename"].startswith(module + "/")]
    lines = sum(f["line_total"] for f in mine)
    hit = sum(f["line_covered"] for f in mine)
    total += lines
    covered += hit
    share = f"{100.0 * hit / lines:.1f} %" if lines else "-"
    print(f"{module:<10} {lines:>7} {hit:>8} {share:>9}")
print(f"{'all':<10} {total:>7} {covered:>8} {100.0 * covered / total:.1f} %".replace("  ", " ", 0))
PY
