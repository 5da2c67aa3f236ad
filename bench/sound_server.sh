#!/usr/bin/env bash
# The game's sound through a desktop sound server (a private PulseAudio server with a null
# sink, recorded): three minutes of each piece (dropouts, loudness), every sound effect
# over each piece (peak), and the time from a click to its sound.
# Usage: bench/sound_server.sh [build-dir] [bench_sound_server options]
# Needs the Debian packages pulseaudio and pulseaudio-utils; takes about twelve minutes.
set -euo pipefail
build=${1:-build}
shift || true
exec "$build/bench/bench_sound_server" "$@"
