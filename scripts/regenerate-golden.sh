#!/usr/bin/env bash
# Rewrites the golden pictures under tests/data/golden from the current
# code. Run it only on purpose, look at every changed picture, and commit
# them with the change that explains them.
#   scripts/regenerate-golden.sh            every suite
#   scripts/regenerate-golden.sh RenderGolden   only tests matching the pattern
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build -j "$(nproc)"
LUMIVAR_REGENERATE_GOLDEN=1 ctest --test-dir build -R "${1:-.}" --output-on-failure
git status --short tests/data/golden
