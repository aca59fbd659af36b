#!/usr/bin/env bash
# Takes a screenshot of the KestrowDemo dialog, or of a box it opens, from the X side of
# a virtual X display (Xvfb), inside a Wine virtual desktop so that Wine draws the
# caption and frame itself.
#
# Usage: docs/make-screenshot.sh BUILD_DIR OUTPUT.png [--generate|--generate-unicode|--notice|--about|
#                                                     --check|--check-refused]
#   BUILD_DIR   a windows-x64 build holding app/KestrowDemo.exe and app/KestrowDemoDriver.exe
#   --generate  type a sample key and Access Key ID and press "&Generate" first
#               (that is how docs/screenshot.png is made)
#   --generate-unicode  the same with a Chinese key and a Greek and Chinese prefix
#               (docs/screenshot-unicode.png)
#   --notice    the same without an Access Key ID: the "Notice" box is taken
#   --about     the About box is taken
#   --check     the "Check a signed request" dialog over a Generate without an Access Key ID,
#               with its URL pasted
#   --check-refused  the same with one character of the signature changed
# The Wine prefix is $KESTROW_WINEPREFIX if set, else the build's own.
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 BUILD_DIR OUTPUT.png [--generate|--generate-unicode|--notice|--about|--check|--check-refused]" >&2
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

# wine-run.sh creates the build's Wine prefix if needed; the driver without arguments
# only prints its usage.
status=0
errors=$("$wine_run" "$driver" 2>&1 >/dev/null) || status=$?
if [ $status -ne 2 ]; then
  echo "$errors" >&2
  exit 1
fi
export WINEPREFIX=${KESTROW_WINEPREFIX:-$build_dir/wineprefix} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }
rect_file=$work/rect.txt
done_file=$work/done

# The driver starts the program inside a Wine virtual desktop, where Wine draws the
# dialog's caption and frame itself (there is no window manager).
args=("$(winpath "$program")" "$(winpath "$rect_file")" "$(winpath "$done_file")")
case "$mode" in
  "") args+=(dialog) ;;
  --generate | --generate-unicode | --notice | --about | --check | --check-refused)
    args+=("${mode#--}") ;;
  *) echo "make-screenshot: unknown option '$mode'" >&2; exit 2 ;;
esac
"$wine" explorer /desktop=KestrowDemo,1000x740 "$driver" "${args[@]}" >/dev/null 2>&1 &
explorer_pid=$!

for _ in $(seq 600); do
  [ -s "$rect_file" ] && break
  sleep 0.1
done
if [ ! -s "$rect_file" ]; then
  echo "make-screenshot: KestrowDemo did not show what was asked (${mode:-the dialog})" >&2
  touch "$done_file"
  exit 1
fi
read -r x y w h <"$rect_file"
# The root window's pixels as the X server shows them. Not xwd: Wine's windows carry
# their own colormap, so xwd rebuilds the picture window by window, and a window lying
# wholly inside another (a box over the dialog) comes out black.
import -silent -window root -crop "${w}x${h}+${x}+${y}" +repage "$output"
touch "$done_file"

# The driver closes the program; should anything hang, end this prefix's Wine processes.
if ! timeout 30 tail --pid="$explorer_pid" -f /dev/null || ! timeout 30 "$wineserver" -w; then
  echo "make-screenshot: KestrowDemo did not end; stopping Wine" >&2
  "$wineserver" -k || true
fi
echo "$output"
