#!/usr/bin/env bash
# Takes a screenshot of the KestrowDemo dialog in a virtual X display (Xvfb), inside a
# Wine virtual desktop so that Wine draws the caption and frame itself.
#
# Usage: docs/make-screenshot.sh BUILD_DIR OUTPUT.png [--generate]
#   BUILD_DIR   a windows-x64 build holding app/KestrowDemo.exe and app/KestrowDemoDriver.exe
#   --generate  type a sample key and Access Key ID and press "&Generate" first
#               (that is how docs/screenshot.png is made)
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 BUILD_DIR OUTPUT.png [--generate]" >&2
  exit 2
fi
build_dir=$(cd "$1" && pwd)
output=$2
mode=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")

program=$build_dir/app/KestrowDemo.exe
driver=$build_dir/app/KestrowDemoDriver.exe
for f in "$program" "$driver"; do
  [ -f "$f" ] || { echo "make-screenshot: missing $f (build the windows-x64 preset first)" >&2; exit 1; }
done
mkdir -p "$(dirname "$output")"
output=$(cd "$(dirname "$output")" && pwd)/$(basename "$output")

# Everything below runs on one private X display.
if [ -z "${KESTROW_SCREENSHOT_INSIDE:-}" ]; then
  export KESTROW_SCREENSHOT_INSIDE=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build_dir" "$output" $mode
fi

wine_run=$root/cmake/wine-run.sh
wine=${KESTROW_WINE:-/usr/lib/wine/wine64}
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver || echo wineserver)

# The driver's first run creates the build's Wine prefix if needed (wine-run.sh does it).
"$wine_run" "$driver" --help >/dev/null 2>&1 || true
export WINEPREFIX=$build_dir/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64

# The program and the driver share one Wine virtual desktop, so the driver can find the
# dialog and Wine draws the dialog's caption and frame (there is no window manager).
desktop=/desktop=KestrowDemo,800x600
"$wine" explorer "$desktop" "$program" >/dev/null 2>&1 &
explorer_pid=$!

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
rect_file=$work/rect.txt
rect_file_win="Z:$(echo "$rect_file" | tr / '\\')"
if [ "$mode" = "--generate" ]; then
  "$wine" explorer "$desktop" "$driver" show "$rect_file_win" "kestrow-demo-secret" "AKIAKESTROWEXAMPLE"
else
  "$wine" explorer "$desktop" "$driver" show "$rect_file_win"
fi
for _ in $(seq 600); do
  [ -s "$rect_file" ] && break
  sleep 0.1
done
if [ ! -s "$rect_file" ]; then
  echo "make-screenshot: the KestrowDemo dialog did not appear" >&2
  "$wine" explorer "$desktop" "$driver" close >/dev/null 2>&1 || true
  exit 1
fi
read -r x y w h <"$rect_file"

xwd -root -silent | convert xwd:- -crop "${w}x${h}+${x}+${y}" +repage "$output"

"$wine" explorer "$desktop" "$driver" close >/dev/null 2>&1
wait "$explorer_pid" 2>/dev/null || true
timeout 30 "$wineserver" -w 2>/dev/null || true
echo "$output"
