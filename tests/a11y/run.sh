#!/usr/bin/env bash
# The game on a desktop of its own for the accessibility test: a private session bus
# (dbus-run-session; the accessibility bus is started on it by D-Bus activation), an X
# server with a window manager that gives the game's window the keyboard, fresh settings,
# and the reading done by /usr/bin/python3, where Debian's Atspi bindings live.
#   run.sh GAME CLI [DEAL]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
game="$1" cli="$2" deal="${3:-5}"

for need in dbus-run-session Xvfb openbox /usr/bin/python3; do
  command -v "$need" >/dev/null || { echo "missing $need (scripts/packages.txt installs it)"; exit 1; }
done
/usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null ||
  { echo "missing the Atspi bindings (python3-pyatspi, gir1.2-atspi-2.0)"; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_STATE_HOME="$work/state"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_CONFIG_HOME/Quorlix/Torvella" "$XDG_DATA_HOME" "$XDG_STATE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# English, quiet, no language question.
printf '[common]\ntongue=0\nsound=0\nmusic=0\n' > "$XDG_CONFIG_HOME/Quorlix/Torvella/V1.ini"

# The X server first, so that the session bus and every service it starts (the
# accessibility bus, its registry that synthesises the keys) know the display.
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
n=""
for _ in $(seq 100); do n="$(cat "$work/display")"; [[ -n "$n" ]] && break; sleep 0.1; done
[[ -n "$n" ]] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$n"

dbus-run-session -- /bin/bash -c '
  openbox --sm-disable >"$0/openbox.log" 2>&1 &
  wm=$!
  /usr/bin/python3 "$1/board_a11y.py" "$2" "$3" "$4"
  status=$?
  kill $wm 2>/dev/null
  exit $status
' "$work" "$here" "$game" "$cli" "$deal"
