#!/usr/bin/env bash
# `make run`: installs what is missing, builds the 64-bit Windows program and starts it:
# under Wine on Linux, directly on Windows. With a display, the desktop's window manager
# manages its windows; without one it shows the program in a virtual display and leaves
# a screenshot of its dialog in build/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."

on_windows=false
case "$(uname -s)" in
  MINGW* | MSYS* | CYGWIN*) on_windows=true ;;
esac
[ "${OS:-}" = "Windows_NT" ] && on_windows=true

build_dir=build/windows-x64
jobs=${JOBS:-2}

if $on_windows; then
  cmake --preset windows-x64 >/dev/null
  cmake --build --preset windows-x64 --target KestrowDemo -j "$jobs"
  exec "$build_dir/app/KestrowDemo.exe"
fi

bash scripts/install-deps.sh windows
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 --target KestrowDemo KestrowDemoDriver -j "$jobs"

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting KestrowDemo under Wine (close its window to end)."
  # A prefix of its own in which the desktop's window manager frames, activates and
  # focuses the program's windows (the tests' prefix keeps them unmanaged).
  KESTROW_WINEPREFIX=$PWD/$build_dir/wineprefix-desktop KESTROW_WINE_MANAGED=Y \
    exec cmake/wine-run.sh "$build_dir/app/KestrowDemo.exe"
fi

shot=build/screenshots/KestrowDemo-$(date -u +%Y%m%d-%H%M%S).png
echo "No display (DISPLAY is not set): running KestrowDemo in a virtual display instead,"
echo "taking a screenshot of its dialog and closing it again."
docs/make-screenshot.sh "$build_dir" "$shot" >/dev/null
echo "Screenshot of the KestrowDemo dialog: $PWD/$shot"
