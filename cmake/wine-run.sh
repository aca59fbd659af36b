#!/usr/bin/env bash
# Runs one Windows executable under Wine, unattended, and exits with its exit code.
# Usage: wine-run.sh PROGRAM.exe [ARGS...]
#        wine-run.sh NAME [ARGS...]       a program of the prefix itself (msiexec, reg)
#
# - Wine prefix: $KESTROW_WINEPREFIX if set, else <build folder>/wineprefix, where the
#   build folder is the nearest parent of PROGRAM holding CMakeCache.txt. It is created
#   once, under a lock, so parallel ctest runs do not race to build it.
# - Quiet: WINEDEBUG=-all; no Mono/Gecko install prompts (mscoree, mshtml disabled), and
#   no menu entries for the desktop from shortcuts an installer makes (winemenubuilder).
# - A program that crashes exits with an error status (no crash dialog to wait on).
# - The prefix has Wine's own fonts ("MS Sans Serif", "Tahoma", "Marlett", ...) copied
#   from the fonts-wine package ($KESTROW_WINE_FONTS, else /usr/share/wine/fonts);
#   without them every face falls back to a wider one. No fonts: an error, no prefix.
# - Chinese, Japanese and Korean text, which those fonts lack, is drawn in WenQuanYi Micro
#   Hei (fonts-wqy-microhei; $KESTROW_WINE_CJK_FONT), copied in too: Wine's text layout
#   takes SimSun for such text in any face, and the prefix has SimSun stand for it. The
#   dialogs' own faces stay as they are.
# - Windows are not managed by an X window manager (none runs under Xvfb; Wine would
#   otherwise wait up to 2 s for one whenever a window is hidden), unless
#   KESTROW_WINE_MANAGED=Y (a desktop's window manager frames and activates them).
# - KESTROW_WINE_DPI sets the prefix's display resolution (96 by default).
#   A prefix is made again when its settings or this script's version mark differ.
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
if [ ! -f "$program" ] && [[ "$program" == */* || "$program" == *.[eE][xX][eE] ]]; then
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
elif [ -f "$program" ] && build_dir=$(find_build_dir "$program"); then
  prefix=$build_dir/wineprefix
else
  prefix=${XDG_CACHE_HOME:-$HOME/.cache}/kestrow-wineprefix
fi

export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export WINEARCH=win64

managed=${KESTROW_WINE_MANAGED:-N}
dpi=${KESTROW_WINE_DPI:-96}
case "$managed" in Y | N) ;; *)
  echo "wine-run: KESTROW_WINE_MANAGED must be Y or N, not '$managed'" >&2
  exit 2 ;;
esac
if ! [[ "$dpi" =~ ^[0-9]+$ ]] || [ "$dpi" -lt 48 ] || [ "$dpi" -gt 480 ]; then
  echo "wine-run: KESTROW_WINE_DPI must be a whole number from 48 to 480, not '$dpi'" >&2
  exit 2
fi
fonts_dir=${KESTROW_WINE_FONTS:-/usr/share/wine/fonts}
cjk_font=${KESTROW_WINE_CJK_FONT:-/usr/share/fonts/truetype/wqy/wqy-microhei.ttc}
mark=$prefix/.kestrow-prefix-v5
settings="managed=$managed dpi=$dpi"

mkdir -p "$(dirname "$prefix")"
(
  flock 9
  if [ "$(cat "$mark" 2>/dev/null)" != "$settings" ]; then
    # Checked before anything is made: a prefix without these fonts draws every dialog
    # in another face and size.
    if ! compgen -G "$fonts_dir/*.tt[fc]" >/dev/null; then
      echo "wine-run: no Wine fonts in $fonts_dir (install the fonts-wine package:" \
        "scripts/install-deps.sh windows)" >&2
      exit 1
    fi
    if [ ! -f "$cjk_font" ]; then
      echo "wine-run: no CJK font $cjk_font (install the fonts-wqy-microhei package:" \
        "scripts/install-deps.sh windows)" >&2
      exit 1
    fi
    rm -rf "$prefix"
    echo "wine-run: creating Wine prefix $prefix ($settings)" >&2
    if ! DISPLAY= "$wine" wineboot --init >/dev/null 2>&1; then
      echo "wine-run: wineboot failed for $prefix" >&2
      exit 1
    fi
    # Wine finds fonts in the prefix's Fonts folder, not in the package's.
    if ! cp -- "$fonts_dir"/* "$cjk_font" "$prefix/drive_c/windows/Fonts/"; then
      echo "wine-run: cannot copy the fonts from $fonts_dir and $cjk_font into $prefix" >&2
      exit 1
    fi
    "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
      /v SimSun /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f >/dev/null 2>&1
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
      >/dev/null 2>&1
    # A crashing program ends with an error status instead of waiting on a crash dialog.
    "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      >/dev/null 2>&1
    "$wineserver" -w
    echo "$settings" >"$mark"
  fi
) 9>"$prefix.lock" || exit 1

if [ -n "${DISPLAY:-}" ]; then
  exec "$wine" "$program" "$@"
fi

export KESTROW_WINESERVER=$wineserver
# shellcheck disable=SC2016
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
  '"$0" "$@"; rc=$?; "$KESTROW_WINESERVER" -w; exit $rc' "$wine" "$program" "$@"
