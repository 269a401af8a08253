#!/usr/bin/env bash
# Starts the viewer on a virtual display and captures its window as a PNG.
#   scripts/viewer-screenshot.sh CALFILE|DIR OUT.png [VIEWER ARGUMENTS...]
# e.g. scripts/viewer-screenshot.sh demo-out/atlas shot.png --landmarks demo-out/capitals.xml capitals
# Needs xvfb-run (xvfb, xauth) and ImageMagick's import. VIEWER, SIZE and
# SETTLE (seconds to wait after the window first shows) may be set.
set -euo pipefail

# Inside the virtual display (the script runs itself there): the window
# fills the screen (no window manager, so no frame); once the screen is no
# longer blank, wait for the map to settle and capture the screen.
if [[ ${1:-} == --inside ]]; then
  shift
  viewer=$1 size=$2 settle=$3 out=$4
  shift 4
  QT_QPA_PLATFORM=xcb "$viewer" -qwindowgeometry "$size+0+0" "$@" &
  pid=$!
  trap 'kill $pid 2>/dev/null || true' EXIT
  shot=$(mktemp --suffix=.png)
  for _ in $(seq 100); do
    sleep 0.2
    kill -0 $pid 2>/dev/null || { echo "viewer-screenshot: the viewer ended early" >&2; exit 1; }
    import -window root "$shot" 2>/dev/null || continue
    [[ $(convert "$shot" -format '%[fx:maxima>0]' info:) == 1 ]] && break
  done
  rm -f "$shot"
  sleep "$settle"
  import -window root "$out"
  exit 0
fi

[[ $# -ge 2 ]] || { echo "usage: $0 CALFILE|DIR OUT.png [VIEWER ARGUMENTS...]" >&2; exit 2; }
target=$1 out=$2
shift 2
viewer=${VIEWER:-build/tools/lumivar-view/lumivar-view}
size=${SIZE:-1000x700}
settle=${SETTLE:-2}
[[ -x "$viewer" ]] || { echo "$0: no viewer at $viewer (make build, where Qt 6 is found)" >&2; exit 1; }
for tool in xvfb-run import convert; do
  command -v "$tool" >/dev/null || { echo "$0: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done

xvfb-run -a -s "-screen 0 ${size}x24" bash "$0" --inside "$viewer" "$size" "$settle" "$out" \
  "$target" "$@"
echo "viewer-screenshot: $out"
