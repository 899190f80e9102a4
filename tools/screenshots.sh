#!/bin/sh
# Makes the README pictures: runs the program's real screens offscreen on freshly written demo
# books and saves them to docs/screenshots (or the folder given). ALL=1 saves every window.
#   tools/screenshots.sh [OUT_DIR]
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
OUT_DIR=${1:-docs/screenshots}
[ -f "$BUILD_DIR/build.ninja" ] || cmake -S . -B "$BUILD_DIR" -G Ninja
cmake --build "$BUILD_DIR" -j "${JOBS:-2}" --target qinghe_screenshots
mkdir -p "$OUT_DIR"
set -- --out "$OUT_DIR"
[ "${ALL:-0}" = 1 ] && set -- "$@" --all
# The same fonts and style on every machine: no desktop theme, Fusion, offscreen.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
env -u QT_QPA_PLATFORMTHEME QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR="${QT_SCALE_FACTOR:-1}" \
  "./$BUILD_DIR/tools/qinghe_screenshots" "$@" 2>"$log" || status=$?
# The offscreen platform's notes about raising windows are no news.
grep -v -e 'This plugin does not support' -e 'XDG_RUNTIME_DIR' "$log" >&2 || true
exit $status
