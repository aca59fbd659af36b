#!/usr/bin/env bash
# Runs a command with an X display: the current one, or else one virtual display (Xvfb)
# shared by everything the command starts. Wine programs that run at the same time on one
# wineserver must share one display; each on its own Xvfb, they can fail with X errors.
# Usage: with-display.sh COMMAND [ARGS...]
set -euo pipefail
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
