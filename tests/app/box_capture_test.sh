#!/usr/bin/env bash
# The "Notice" box and the About box reach the X display: each is opened in the real
# program and taken from the X side of a virtual display, as docs/make-screenshot.sh
# takes the README's pictures, and must show a picture, not a black or blank rectangle.
# Usage: box_capture_test.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
source_dir=$1
build_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A prefix of its own: the screenshot runs on a display of its own, and one wineserver
# must not serve two displays.
export KESTROW_WINEPREFIX=$build_dir/wineprefix-capture
failed=0
for box in notice about; do
  shot=$work/$box.png
  if ! "$source_dir/docs/make-screenshot.sh" "$build_dir" "$shot" "--$box" >/dev/null; then
    echo "FAIL: the $box box was not shown"
    failed=1
    continue
  fi
  # The share of pixels that are not black, and how many colours there are.
  read -r lit colours < <(convert "$shot" \( +clone -fill white +opaque black \) -delete 0 \
    -format "%[fx:mean] " info: && convert "$shot" -format "%k\n" info:)
  echo "$box box: $(identify -format "%wx%h" "$shot"), ${lit} of it not black, $colours colours"
  if awk -v lit="$lit" -v colours="$colours" 'BEGIN { exit !(lit < 0.5 || colours < 4) }'; then
    echo "FAIL: the $box box reached the display black or blank"
    failed=1
  fi
done
exit $failed
