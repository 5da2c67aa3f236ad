#!/usr/bin/env bash
# Start-up time of the game: from process start to the end of the board's first paint,
# under a virtual X display. Usage: bench/startup.sh [build-dir] [runs]
set -euo pipefail
if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi
build=${1:-build}
runs=${2:-10}
exe="$build/app/torvella"
cfg=$(mktemp -d)
trap 'rm -rf "$cfg"' EXIT
measure() {
  local times=()
  for _ in $(seq "$runs"); do
    local t0 t1
    t0=$(date +%s%N)
    XDG_CONFIG_HOME="$cfg" SDL_AUDIODRIVER=dummy TORVELLA_EXIT_AFTER_FIRST_PAINT=1 "$exe"
    t1=$(date +%s%N)
    times+=($(( (t1 - t0) / 1000000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "start to first paint: median %d ms, min %d ms, max %d ms over %d runs\n", a[int((NR+1)/2)], a[1], a[NR], NR}'
}
# the language question would come after the first paint; a stored language keeps the runs alike
mkdir -p "$cfg/Quorlix/Torvella" && printf '[common]\ntongue=0\n' > "$cfg/Quorlix/Torvella/V1.ini"
measure
