#!/usr/bin/env bash
# The game's footprint beside the floor of any Qt program (a blank Qt 6 Widgets window of
# 702 x 462, bench/blank_window.cpp), measured side by side in one run under a virtual X
# display with SDL's dummy audio driver:
#   - launch to the first painted frame (median of RUNS starts of each, interleaved),
#   - resident memory once the window has settled, music off and music on,
#   - processor time while idle over IDLE_SECONDS in a freshly dealt game, music off and on,
#   - the shared libraries mapped once settled,
#   - and, as the floor for the game's pulse, the blank window repainting four small dots
#     every 100 ms (TORVELLA_BLANK_PULSE): the game repaints its servable cakes' dots so.
# Printed as absolute figures and as ratios to the floor.
#
# Usage: bench/footprint.sh [build-dir]    (take figures from a Release build)
# Environment: RUNS (launch runs, default 15), IDLE_RUNS (settled runs per case, default 3),
#   IDLE_SECONDS (default 20), SETTLE_SECONDS (default 5), GAME and FLOOR (executables,
#   default build-dir/app/torvella and build-dir/bench/bench_blank_window).
set -euo pipefail
if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
build=${1:-build}
runs=${RUNS:-15}
idle_runs=${IDLE_RUNS:-3}
idle_seconds=${IDLE_SECONDS:-20}
settle=${SETTLE_SECONDS:-5}
game=${GAME:-$build/app/torvella}
floor=${FLOOR:-$build/bench/bench_blank_window}
for exe in "$game" "$floor"; do
  [[ -x "$exe" ]] || { echo "footprint: $exe is missing (build the torvella and bench_blank_window targets)" >&2; exit 1; }
done
btype=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null || true)
[[ "$btype" == Release ]] || echo "footprint: note: $build is a '${btype:-unknown}' build; take figures from Release" >&2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
hz=$(getconf CLK_TCK)
export SDL_AUDIODRIVER=dummy

# A store with the language chosen (the question would come after the first frame) and
# music switched on or off.
store() { # name music
  mkdir -p "$work/$1/Quorlix/Torvella"
  printf '[common]\ntongue=0\nmusic=%s\nsound=1\n' "$2" > "$work/$1/Quorlix/Torvella/V1.ini"
  echo "$work/$1"
}
cfg_off=$(store off 0)
cfg_on=$(store on 1)

median() { sort -n | awk '{a[NR]=$1} END {if (NR == 0) print "nan"; else if (NR % 2) print a[(NR+1)/2]; else print (a[NR/2]+a[NR/2+1])/2}'; }

launch_ms() { # exe cfg
  local t0 t1
  t0=$(date +%s%N)
  XDG_CONFIG_HOME="$2" TORVELLA_EXIT_AFTER_FIRST_PAINT=1 "$1" >/dev/null 2>&1
  t1=$(date +%s%N)
  echo $(( (t1 - t0) / 1000 ))   # microseconds
}

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# One settled run: prints "rss_kB cpu_ms_per_s libraries".
settled() { # exe cfg
  XDG_CONFIG_HOME="$2" "$1" >/dev/null 2>&1 &
  local pid=$!
  sleep "$settle"
  local rss libs c0 c1
  rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")
  libs=$(awk '$6 ~ /\.so/ {print $6}' "/proc/$pid/maps" | sort -u | wc -l)
  c0=$(cpu_ticks "$pid")
  sleep "$idle_seconds"
  c1=$(cpu_ticks "$pid")
  kill -KILL "$pid"
  wait "$pid" 2>/dev/null || true
  awk -v r="$rss" -v a="$c0" -v b="$c1" -v hz="$hz" -v s="$idle_seconds" -v l="$libs" \
    'BEGIN {printf "%d %.2f %d\n", r, (b - a) * 1000 / hz / s, l}'
}

echo "footprint: $runs launches each, then $idle_runs settled runs per case (${settle} s to settle, ${idle_seconds} s idle)" >&2
: > "$work/launch_floor"; : > "$work/launch_game"
for _ in $(seq "$runs"); do
  launch_ms "$floor" "$cfg_off" >> "$work/launch_floor"
  launch_ms "$game" "$cfg_off" >> "$work/launch_game"
done
for case in floor pulse off on; do : > "$work/settled_$case"; done
for _ in $(seq "$idle_runs"); do
  settled "$floor" "$cfg_off" >> "$work/settled_floor"
  TORVELLA_BLANK_PULSE=1 settled "$floor" "$cfg_off" >> "$work/settled_pulse"
  settled "$game" "$cfg_off" >> "$work/settled_off"
  settled "$game" "$cfg_on" >> "$work/settled_on"
done

lf=$(median < "$work/launch_floor"); lg=$(median < "$work/launch_game")
col() { awk -v c="$2" '{print $c}' "$work/settled_$1" | median; }
rf=$(col floor 1); ro=$(col off 1); rn=$(col on 1)
cf=$(col floor 2); co=$(col off 2); cn=$(col on 2); cp=$(col pulse 2)
nf=$(col floor 3); no=$(col off 3); nn=$(col on 3)

awk -v lf="$lf" -v lg="$lg" -v rf="$rf" -v ro="$ro" -v rn="$rn" -v cf="$cf" -v co="$co" -v cn="$cn" \
    -v cp="$cp" -v nf="$nf" -v no="$no" -v nn="$nn" -v runs="$runs" -v idle="$idle_runs" 'BEGIN {
  printf "%-44s %12s %12s %8s   %s\n", "figure (medians)", "blank Qt 6", "Torvella", "ratio", "goal"
  printf "%-44s %9.1f ms %9.1f ms %7.2fx   <= 1.5x\n", "launch to first painted frame (" runs " runs)", lf/1000, lg/1000, lg/lf
  printf "%-44s %9.1f MB %9.1f MB %7.2fx   <= 40 MB\n", "resident memory settled, music off", rf/1024, ro/1024, ro/rf
  printf "%-44s %12s %9.1f MB %7.2fx   <= 55 MB\n", "resident memory settled, music on", "-", rn/1024, rn/rf
  printf "%-44s %7.2f ms/s %7.2f ms/s %8s   <= 2 ms/s\n", "idle CPU, dealt game, music off", cf, co, "-"
  printf "%-44s %12s %7.2f ms/s %8s   <= 10 ms/s\n", "idle CPU, dealt game, music on", "-", cn, "-"
  printf "%-44s %7.2f ms/s %12s %8s\n", "idle CPU, blank window with a 100 ms pulse", cp, "-", "-"
  printf "%-44s %12d %12d %7.2fx\n", "shared libraries mapped, music off", nf, no, no/nf
  printf "%-44s %12s %12d\n", "shared libraries mapped, music on", "-", nn
}'
echo "(memory and idle CPU: medians of $idle_runs runs; launch: median of $runs)"
