#!/usr/bin/env bash
# Runs a Windows program under 64-bit Wine, quietly, in a Wine prefix of its own
# ($KEMPTOR_WINEPREFIX, else ~/.cache/kemptor-wine), so the user's ~/.wine is never touched.
# Used by the Windows build as the runner of its tests and by scripts/check-windows.sh.
set -euo pipefail
wine=""
for candidate in wine64 /usr/lib/wine/wine64 /usr/lib64/wine/wine64 wine; do
  if command -v "$candidate" >/dev/null 2>&1; then
    wine=$(command -v "$candidate")
    break
  fi
done
if [ -z "$wine" ]; then
  echo "wine-run: wine64 not found (Debian package wine64)" >&2
  exit 127
fi
export WINEPREFIX="${KEMPTOR_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/kemptor-wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No dialogs offering to install Mono or Gecko: console programs need neither.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  # The first start creates the prefix; do it once, alone, so parallel tests do not race for it.
  (
    flock 9
    [ -f "$WINEPREFIX/system.reg" ] || "$wine" wineboot --init >/dev/null 2>&1 || true
  ) 9>"$WINEPREFIX.lock"
fi
exec "$wine" "$@"
