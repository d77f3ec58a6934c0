#!/usr/bin/env bash
# The game against the toolkit's floor: a bare Qt window from the same build, both started and
# watched on a private X server, then a flight of the game played by a bot. Prints a markdown
# table with the targets.
#
#   bench/run-bench.sh
#   BUILD_DIR=dir   the build to measure (default: build/), built first if anything is missing
#   RUNS=10         start-ups of each program, after one that is not counted
#   FLIGHT_S=20     seconds of the flight
#   SOUND=1         with a private sound server (0: without one, as on a machine with no sound)
set -euo pipefail
repo=$(cd "$(dirname "$(readlink -f "$0")")/.." && pwd)
build=$(readlink -f "${BUILD_DIR:-$repo/build}")
runs=${RUNS:-10}
flight_s=${FLIGHT_S:-20}
sound=${SOUND:-1}

name="ピルネノ翼"
bare_name="pirune-bare-window"
like_name="pirune-bare-window-like-game"
game_dir=$build/game
bare=$build/bench/bare_window
like=$build/bench/bare_window_like_game
probe=$build/bench/probe

for tool in Xvfb cmake; do
  command -v "$tool" >/dev/null || { echo "run-bench: $tool is missing (scripts/install-deps.sh test)" >&2; exit 1; }
done

# An up-to-date build costs only a look; a missing one is made.
[[ -f $build/CMakeCache.txt ]] || cmake -S "$repo" -B "$build" >/dev/null
cmake --build "$build" --target pirune bare_window bare_window_like_game probe --parallel "$(nproc)" >/dev/null
[[ -x $probe ]] || { echo "run-bench: no probe was built (libx11-dev, libxtst-dev)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/pirune-bench.XXXXXX")
xvfb_pid=""
cleanup() {
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && wait "$xvfb_pid" 2>/dev/null || true
  if declare -F stop_test_pulse >/dev/null; then stop_test_pulse; fi
  rm -rf "$work"
}
trap cleanup EXIT

# The programs draw on the X server, not offscreen, and find their Japanese font by locale.
unset QT_QPA_PLATFORM
export LC_ALL=C.UTF-8
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

sound_note="none (the music cannot open)"
if [[ $sound == 1 ]]; then
  # shellcheck source=../scripts/pulse-for-tests.sh
  source "$repo/scripts/pulse-for-tests.sh"
  start_test_pulse
  if [[ -n ${test_pulse_pid:-} ]] && pactl info >/dev/null 2>&1; then
    sound_note="a private PulseAudio server with a null output"
  else
    sound_note="none (PulseAudio did not start)"
  fi
fi

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 3>"$work/display" &
xvfb_pid=$!
for _ in $(seq 100); do
  [[ -s $work/display ]] && break
  sleep 0.05
done
[[ -s $work/display ]] || { echo "run-bench: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

# The game from a copy of its folder, so that its scr.dat is this run's own.
cp -r "$game_dir" "$work/game"
game=$work/game/$name

value() { sed -n "s/^$1=//p" "$2"; }
median() { sort -n | awk '{v[NR] = $1} END {if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

startup() {  # label name expect program
  local out=$work/$1-$run.txt
  "$probe" startup --name "$2" --expect "$3" --settle-ms 1000 -- "$4" >"$out" 2>"$work/$1-$run.err" ||
    { echo "run-bench: start-up of $1 failed: $(cat "$work/$1-$run.err")" >&2; exit 1; }
  if ((run > 0)); then
    value startup_ms "$out" >>"$work/$1.startup"
    value hwm_kb "$out" >>"$work/$1.hwm"
  fi
}

echo "start-up runs: 1 + $runs of each program, taking turns" >&2
for ((run = 0; run <= runs; run++)); do
  startup bare "$bare_name" black "$bare"
  startup like "$like_name" black "$like"
  startup game "$name" picture "$game"
done

echo "flight: $flight_s s with the background effect on" >&2
flight=$work/flight.txt
PIRUNE_FRAME_STATS=$work/frames.txt "$probe" flight --name "$name" --stats "$work/frames.txt" \
  --seconds "$flight_s" --xserver-pid "$xvfb_pid" -- "$game" >"$flight" 2>"$work/flight.err" ||
  { echo "run-bench: the flight failed: $(cat "$work/flight.err") $(cat "$flight")" >&2; exit 1; }

echo "the bare window animating four squares for $flight_s s" >&2
animated=$work/animated.txt
"$probe" cpu --name "$bare_name" --expect black --seconds "$flight_s" --xserver-pid "$xvfb_pid" \
  -- "$bare" --animate >"$animated" 2>"$work/animated.err" ||
  { echo "run-bench: the animated window failed: $(cat "$work/animated.err")" >&2; exit 1; }

f() { value "$1" "$flight"; }

awk -v bare_start="$(median <"$work/bare.startup")" -v like_start="$(median <"$work/like.startup")" \
  -v game_start="$(median <"$work/game.startup")" -v bare_hwm="$(median <"$work/bare.hwm")" \
  -v like_hwm="$(median <"$work/like.hwm")" -v title_hwm="$(median <"$work/game.hwm")" \
  -v game_hwm="$(f hwm_kb)" -v runs="$runs" -v secs="$(f flight_s)" \
  -v cpu="$(f cpu_s)" -v cpu_pct="$(f cpu_percent)" -v xcpu="$(f xserver_cpu_s)" \
  -v anim_cpu="$(value cpu_s "$animated")" -v anim_pct="$(value cpu_percent "$animated")" \
  -v anim_xcpu="$(value xserver_cpu_s "$animated")" \
  -v paints="$(f paints)" -v paints_s="$(f paints_per_s)" -v unchanged="$(f unchanged_paints)" \
  -v gap="$(f shortest_gap_ms)" -v short_gaps="$(f gaps_under_frame)" -v ticks="$(f ticks_per_s)" \
  -v shp="$(f ticks_SHPTIM_per_s)" -v fly="$(f ticks_piruneTIM_per_s)" -v mus="$(f ticks_MMCTIM)" \
  -v clicks="$(f clicks)" -v lat_n="$(f latency_samples)" -v lat_med="$(f latency_median_ms)" \
  -v lat_p90="$(f latency_p90_ms)" -v lat_max="$(f latency_max_ms)" '
function verdict(ok) { return ok ? "met" : "**missed**" }
function mib(kb) { return sprintf("%.1f MiB", kb / 1024) }
BEGIN {
  rs = game_start / bare_start; rm = game_hwm / bare_hwm
  printf "| Measure | Bare Qt window | Bare window with the game'"'"'s libraries, sound output and Japanese menus | ピルネノ翼 | Game / bare | Target | Result |\n"
  printf "|---|---|---|---|---|---|---|\n"
  printf "| Start-up to the first painted frame (median of %d) | %.1f ms | %.1f ms | %.1f ms | %.2f× | ≤ 1.2× | %s |\n", \
    runs, bare_start, like_start, game_start, rs, verdict(rs <= 1.2)
  printf "| Peak RSS (VmHWM; the game after its flight) | %s | %s | %s | %.2f× | ≤ 1.3× | %s |\n", \
    mib(bare_hwm), mib(like_hwm), mib(game_hwm), rm, verdict(rm <= 1.3)
  printf "| Peak RSS a second after the first frame (median) | %s | %s | %s | %.2f× | | |\n", \
    mib(bare_hwm), mib(like_hwm), mib(title_hwm), title_hwm / bare_hwm
  printf "| CPU over %.0f s: the game in a bot-played flight with the background effect on; the bare window animating four squares at 60 Hz | %.2f s (%.2f %%) | | %.2f s (%.2f %% of a core) | %.2f× | < 2 %% | %s |\n", \
    secs, anim_cpu, anim_pct, cpu, cpu_pct, cpu / anim_cpu, verdict(cpu_pct < 2)
  printf "| CPU of the X server in the same %.0f s (the game'"'"'s run includes the bot'"'"'s screen reading) | %.2f s | | %.2f s | | | |\n", \
    secs, anim_xcpu, xcpu
  printf "| Paints per second / timer ticks per second | | | %.1f / %.1f (SHPTIM %.1f, piruneTIM %.1f, MMCTIM %d in all) | | ≤ 60 paints/s | %s |\n", \
    paints_s, ticks, shp, fly, mus, verdict(paints_s <= 60)
  printf "| Paints begun less than one 60 Hz frame (16.7 ms) after the one before | | | %d of %d (shortest gap %.1f ms) | | 0 | %s |\n", \
    short_gaps, paints, gap, verdict(short_gaps == 0)
  printf "| Paints with nothing changed in the window | | | %d of %d | | 0 | %s |\n", unchanged, paints, verdict(unchanged == 0)
  printf "| XTEST press to the frame with the new distance (%d of %d clicks move it) | | | median %.1f ms, p90 %.1f ms, max %.1f ms | | | |\n", \
    lat_n, clicks, lat_med, lat_p90, lat_max
}'
echo
echo "Machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg) at the end;" \
  "Xvfb 1280×1024×24 without a window manager; sound server: $sound_note;" \
  "Qt $(pkg-config --modversion Qt6Core 2>/dev/null || echo 6)."
