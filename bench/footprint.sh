#!/usr/bin/env bash
# The game's footprint beside the floor of any Qt program (a blank Qt 6 Widgets window of
# 702 x 462, bench/blank_window.cpp), measured side by side in one run under one virtual X
# display with SDL's dummy audio driver, once on a quiet machine and once with one core
# kept busy by a spinning shell (as a new player's machine is while something else runs):
#   - launch to the first painted frame (median of RUNS starts of each, interleaved), and
#     beside it the blank window with one line of text (TORVELLA_BLANK_TEXT): what any
#     window pays for showing text, the font configuration read at the first text,
#   - resident memory once the window has settled, music off and music on,
#   - processor time while idle over IDLE_SECONDS in a freshly dealt game, music off and
#     on, beside the blank window repainting four small dots every 100 ms
#     (TORVELLA_BLANK_PULSE), the floor for the game's pulse of servable cakes,
#   - the opening animation: milliseconds from its first to its last step and the
#     processor time the game spent meanwhile (TORVELLA_EXPLODE_REPORT),
#   - the shared libraries mapped once settled, and how many of them are Qt Help or Qt Sql.
# Every ratio compares figures of the same run and the same machine state.
#
# Usage: bench/footprint.sh [build-dir]    (compare builds of one type; Release for absolutes)
# Environment: RUNS (launch runs, default 11), IDLE_RUNS (settled runs per case, default 3),
#   IDLE_SECONDS (default 10), SETTLE_SECONDS (default 4), ANIM_RUNS (default 5),
#   STATES (default "quiet busy"), GAME and FLOOR (executables, default
#   build-dir/app/torvella and build-dir/bench/bench_blank_window).
set -euo pipefail
if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
build=${1:-build}
runs=${RUNS:-11}
idle_runs=${IDLE_RUNS:-3}
idle_seconds=${IDLE_SECONDS:-10}
settle=${SETTLE_SECONDS:-4}
anim_runs=${ANIM_RUNS:-5}
states=${STATES:-quiet busy}
game=${GAME:-$build/app/torvella}
floor=${FLOOR:-$build/bench/bench_blank_window}
for exe in "$game" "$floor"; do
  [[ -x "$exe" ]] || { echo "footprint: $exe is missing (build the torvella and bench_blank_window targets)" >&2; exit 1; }
done
btype=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null || true)
[[ "$btype" == Release ]] || echo "footprint: note: $build is a '${btype:-unknown}' build; take absolute figures from Release" >&2

work=$(mktemp -d)
spinner=
cleanup() {
  [[ -n "$spinner" ]] && kill "$spinner" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
export SDL_AUDIODRIVER=dummy

# A home with the language chosen (the question would come after the first frame) and
# music switched on or off; state and data folders of its own, so no run sees another's.
home() { # name music
  mkdir -p "$work/$1/config/Quorlix/Torvella" "$work/$1/state" "$work/$1/data"
  printf '[common]\ntongue=0\nmusic=%s\nsound=1\n' "$2" > "$work/$1/config/Quorlix/Torvella/V1.ini"
  echo "$work/$1"
}
home_off=$(home off 0)
home_on=$(home on 1)
# The environment of a home, for env(1): the program started through it keeps env's
# process id, so $! is the program itself.
home_env() { echo "XDG_CONFIG_HOME=$1/config XDG_STATE_HOME=$1/state XDG_DATA_HOME=$1/data"; }

median() { sort -n | awk '{a[NR]=$1} END {if (NR == 0) print "nan"; else if (NR % 2) print a[(NR+1)/2]; else print (a[NR/2]+a[NR/2+1])/2}'; }

launch_us() { # exe home
  local t0 t1
  t0=$(date +%s%N)
  env $(home_env "$2") TORVELLA_EXIT_AFTER_FIRST_PAINT=1 "$1" >/dev/null 2>&1
  t1=$(date +%s%N)
  echo $(( (t1 - t0) / 1000 ))
}

# Processor time of all the process's threads in nanoseconds, from the scheduler's own
# account: the clock ticks of /proc/PID/stat (10 ms each) are too coarse for an idle
# window's few milliseconds a second.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{n += $1} END {printf "%.0f\n", n}'; }

# One settled run: prints "rss_kB cpu_ms_per_s libraries help_or_sql_libraries".
settled() { # exe home
  env $(home_env "$2") "$1" >/dev/null 2>>"$work/said" &
  local pid=$!
  sleep "$settle"
  local rss libs helpsql c0 c1
  rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")
  libs=$(awk '$6 ~ /\.so/ {print $6}' "/proc/$pid/maps" | sort -u | wc -l)
  helpsql=$(awk '$6 ~ /libQt6(Help|Sql)/ {print $6}' "/proc/$pid/maps" | sort -u | wc -l)
  c0=$(cpu_ns "$pid")
  sleep "$idle_seconds"
  c1=$(cpu_ns "$pid")
  kill -KILL "$pid"
  wait "$pid" 2>/dev/null || true
  awk -v r="$rss" -v a="$c0" -v b="$c1" -v s="$idle_seconds" -v l="$libs" -v h="$helpsql" \
    'BEGIN {printf "%d %.2f %d %d\n", r, (b - a) / 1e6 / s, l, h}'
}

# One opening animation: prints "wall_ms cpu_ms", or nothing when none was reported.
animation() {
  local report=$work/anim.txt
  rm -f "$report"
  env $(home_env "$home_off") TORVELLA_EXPLODE_REPORT="$report" "$game" >/dev/null 2>&1 &
  local pid=$! i
  for i in $(seq 150); do
    [[ -s "$report" ]] && break
    sleep 0.1
  done
  kill -KILL "$pid"
  wait "$pid" 2>/dev/null || true
  [[ -s "$report" ]] && awk '{print $4, $6, $8}' "$report"
  return 0
}

measure() { # state
  : > "$work/launch_floor"; : > "$work/launch_text"; : > "$work/launch_game"; : > "$work/anim"; : > "$work/said"
  for case in floor text pulse off on; do : > "$work/settled_$case"; done
  for _ in $(seq "$runs"); do
    launch_us "$floor" "$home_off" >> "$work/launch_floor"
    TORVELLA_BLANK_TEXT=1 launch_us "$floor" "$home_off" >> "$work/launch_text"
    launch_us "$game" "$home_off" >> "$work/launch_game"
  done
  for _ in $(seq "$anim_runs"); do animation >> "$work/anim"; done
  for _ in $(seq "$idle_runs"); do
    settled "$floor" "$home_off" >> "$work/settled_floor"
    TORVELLA_BLANK_TEXT=1 settled "$floor" "$home_off" >> "$work/settled_text"
    TORVELLA_BLANK_PULSE=1 settled "$floor" "$home_off" >> "$work/settled_pulse"
    settled "$game" "$home_off" >> "$work/settled_off"
    settled "$game" "$home_on" >> "$work/settled_on"
  done

  local lf lt lg rf rt ro rn cf co cn cp nf no nn ho hn aw ac af an
  lf=$(median < "$work/launch_floor"); lt=$(median < "$work/launch_text"); lg=$(median < "$work/launch_game")
  col() { awk -v c="$2" '{print $c}' "$work/$1" | median; }
  rf=$(col settled_floor 1); rt=$(col settled_text 1); ro=$(col settled_off 1); rn=$(col settled_on 1)
  cf=$(col settled_floor 2); co=$(col settled_off 2); cn=$(col settled_on 2); cp=$(col settled_pulse 2)
  nf=$(col settled_floor 3); no=$(col settled_off 3); nn=$(col settled_on 3)
  ho=$(col settled_off 4); hn=$(col settled_on 4)
  an=$(wc -l < "$work/anim"); aw=$(col anim 1); ac=$(col anim 2); af=$(col anim 3)

  awk -v state="$1" -v load="$2" -v lf="$lf" -v lt="$lt" -v lg="$lg" -v rf="$rf" -v rt="$rt" -v ro="$ro" -v rn="$rn" -v cf="$cf" \
      -v co="$co" -v cn="$cn" -v cp="$cp" -v nf="$nf" -v no="$no" -v nn="$nn" -v ho="$ho" -v hn="$hn" \
      -v an="$an" -v aw="$aw" -v ac="$ac" -v af="$af" -v runs="$runs" -v idle="$idle_runs" -v ar="$anim_runs" 'BEGIN {
    printf "\n== %s machine (load average before: %s)\n", state, load
    printf "%-46s %12s %12s %8s   %s\n", "figure (medians)", "blank Qt 6", "Torvella", "ratio", "goal"
    printf "%-46s %9.1f ms %9.1f ms %7.2fx   <= 1.2x\n", "launch to first painted frame (" runs " runs)", lf/1000, lg/1000, lg/lf
    printf "%-46s %9.1f ms %9.1f ms %7.2fx   (game against it)\n", "  blank window with one line of text", lt/1000, lg/1000, lg/lt
    printf "%-46s %9.1f MB %9.1f MB %7.2fx   <= 34 MB\n", "resident memory settled, music off", rf/1024, ro/1024, ro/rf
    printf "%-46s %9.1f MB %9.1f MB %7.2fx   (game against it)\n", "  blank window with one line of text", rt/1024, ro/1024, ro/rt
    printf "%-46s %12s %9.1f MB %7.2fx   <= 48 MB\n", "resident memory settled, music on", "-", rn/1024, rn/rf
    printf "%-46s %7.2f ms/s %7.2f ms/s %7.2fx   <= 1.2x the pulse\n", "idle CPU music off (blank: 100 ms pulse)", cp, co, (cp > 0 ? co/cp : 0)
    printf "%-46s %12s %7.2f ms/s %8s   <= 7 ms/s\n", "idle CPU music on", "-", cn, "-"
    printf "%-46s %7.2f ms/s %12s %8s\n", "idle CPU, blank window without the pulse", cf, "-", "-"
    if (an > 0) {
      printf "%-46s %12s %9.0f ms %8s   <= 600 ms\n", "opening animation, first to last step (" an "/" ar ")", "-", aw, "-"
      printf "%-46s %12s %9.1f ms %8s   <= %.0f ms\n", "  processor time meanwhile", "-", ac, "-", aw/10
      if (af > 0) printf "%-46s %12s %12d\n", "  timer events that showed its 80 steps", "-", af
    } else
      printf "%-46s %12s %12s\n", "opening animation", "-", "no report"
    printf "%-46s %12d %12d %7.2fx\n", "shared libraries mapped, music off", nf, no, no/nf
    printf "%-46s %12s %12d\n", "shared libraries mapped, music on", "-", nn
    printf "%-46s %12s %5d / %-5d %8s   0\n", "  of them Qt Help or Qt Sql (off / on)", "-", ho, hn, "-"
  }'
  # A settled run whose music could not start measures a game without music (and with a
  # message up): say so rather than report it as music on.
  if grep -qi "music" "$work/said"; then
    echo "  note: the game said in a settled run: $(grep -i -m1 music "$work/said")"
  fi
}

echo "footprint: per state $runs launches each, $anim_runs animations, $idle_runs settled runs per case" \
     "(${settle} s to settle, ${idle_seconds} s idle); $(nproc) cores" >&2
for state in $states; do
  if [[ "$state" == busy ]]; then
    ( while :; do :; done ) &
    spinner=$!
    sleep 1
  fi
  measure "$state" "$(cut -d' ' -f1-3 /proc/loadavg)"
  if [[ -n "$spinner" ]]; then
    kill "$spinner" 2>/dev/null || true
    wait "$spinner" 2>/dev/null || true
    spinner=
  fi
done
echo "(memory and idle CPU: medians of $idle_runs runs; launch: median of $runs; animation: median of its runs)"
