#!/usr/bin/env bash
# Runs one Windows executable under Wine, unattended, and exits with its exit code.
# Usage: wine-run.sh PROGRAM.exe [ARGS...]
#
# - Wine prefix: $KESTROW_WINEPREFIX if set, else <build folder>/wineprefix, where the
#   build folder is the nearest parent of PROGRAM holding CMakeCache.txt. It is created
#   once, under a lock, so parallel ctest runs do not race to build it.
# - Quiet: WINEDEBUG=-all; no Mono/Gecko install prompts (mscoree, mshtml disabled).
# - A program that crashes exits with an error status (no crash dialog to wait on).
# - Windows are not managed by an X window manager (none runs under Xvfb; Wine would
#   otherwise wait up to 2 s for one whenever a window is hidden).
# - No DISPLAY: the run gets its own Xvfb screen, which lives until this prefix's
#   wineserver has gone, so no Wine process outlives the display it was started on.
#   Runs in parallel need one shared display instead (cmake/with-display.sh gives one
#   to a whole ctest run, as `make test` does).
set -uo pipefail

if [ $# -lt 1 ]; then
  echo "usage: wine-run.sh PROGRAM.exe [ARGS...]" >&2
  exit 2
fi

wine=${KESTROW_WINE:-/usr/lib/wine/wine64}
if [ ! -x "$wine" ]; then
  wine=$(command -v wine64 || command -v wine || true)
fi
if [ -z "$wine" ]; then
  echo "wine-run: no Wine loader found (install wine64)" >&2
  exit 127
fi
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver || echo wineserver)

program=$1
shift
if [ ! -f "$program" ]; then
  echo "wine-run: no such program: $program" >&2
  exit 127
fi

find_build_dir() {
  local dir
  dir=$(cd "$(dirname "$1")" && pwd)
  while [ "$dir" != "/" ]; do
    if [ -f "$dir/CMakeCache.txt" ]; then
      echo "$dir"
      return 0
    fi
    dir=$(dirname "$dir")
  done
  return 1
}

if [ -n "${KESTROW_WINEPREFIX:-}" ]; then
  prefix=$KESTROW_WINEPREFIX
elif build_dir=$(find_build_dir "$program"); then
  prefix=$build_dir/wineprefix
else
  prefix=${XDG_CACHE_HOME:-$HOME/.cache}/kestrow-wineprefix
fi

export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

mkdir -p "$(dirname "$prefix")"
(
  flock 9
  if [ ! -f "$prefix/.kestrow-prefix-v3" ]; then
    rm -rf "$prefix"
    echo "wine-run: creating Wine prefix $prefix" >&2
    if ! DISPLAY= "$wine" wineboot --init >/dev/null 2>&1; then
      echo "wine-run: wineboot failed for $prefix" >&2
      exit 1
    fi
    # Windows not handed to an X window manager: there is none under Xvfb, and Wine
    # would otherwise wait for one on every window it hides.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    # A crashing program ends with an error status instead of waiting on a crash dialog.
    "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      >/dev/null 2>&1
    "$wineserver" -w
    touch "$prefix/.kestrow-prefix-v3"
  fi
) 9>"$prefix.lock" || exit 1

if [ -n "${DISPLAY:-}" ]; then
  exec "$wine" "$program" "$@"
fi

export KESTROW_WINESERVER=$wineserver
# shellcheck disable=SC2016
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
  '"$0" "$@"; rc=$?; "$KESTROW_WINESERVER" -w; exit $rc' "$wine" "$program" "$@"
