#!/usr/bin/env bash
# Starts the GUI on a project. Without a display (a fresh server, CI) it runs under a virtual one.
set -euo pipefail
program=$1; shift
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || [ "${QT_QPA_PLATFORM:-}" = offscreen ]; then
  exec "$program" "$@"
fi
echo "run-gui: no display found; starting under xvfb-run (set DISPLAY to see the window)" >&2
exec xvfb-run -a -s "-screen 0 1280x900x24" "$program" "$@"
