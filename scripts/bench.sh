#!/usr/bin/env bash
# Builds the benchmarks in build-bench and runs them all:
#   1. reading, choosing and assembling a quote, in-process, against the floor
#      of one read and one UTF-8 decode of the same file;
#   2. start-up latency (exec to the quote window mapped) and peak memory of
#      the whole program on its own Xvfb, against a bare Qt window.
# Starts and stops its own X server and session bus; leaves nothing running.
#
# Environment: BENCH_RUNS (start-up runs per case, default 31),
# BENCH_REPETITIONS (in-process repetitions, default 9),
# BENCH_DISPLAYS (X display numbers to try, default "160 ... 169").
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-bench
runs=${BENCH_RUNS:-31}
repetitions=${BENCH_REPETITIONS:-9}
displays=${BENCH_DISPLAYS:-"160 161 162 163 164 165 166 167 168 169"}

# Tests are left out: this build only needs the program and the benchmarks.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DQUOTESHOW_BUILD_BENCH=ON -DQUOTESHOW_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2

work=$(mktemp -d)
xvfb_pid=
bus_pid=
stop() {
  if [[ -n $1 ]]; then
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
  fi
}
cleanup() {
  stop "$bus_pid"
  stop "$xvfb_pid"
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

echo "== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "== $(date -u '+%Y-%m-%d %H:%M UTC'), $(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo 'no git')"

echo
echo "== Reading a quote file in-process (median of $repetitions repetitions)"
"$build/bench/quote_file_bench" \
  --benchmark_repetitions="$repetitions" \
  --benchmark_enable_random_interleaving=true \
  --benchmark_report_aggregates_only=true \
  --benchmark_min_time=0.2 \
  --benchmark_out="$work/quote_file.json" --benchmark_out_format=json >/dev/null
python3 "$root/bench/quote_file_ratios.py" "$work/quote_file.json"

# An X server of our own, on the first display number that is free.
display=
for n in $displays; do
  [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do
    if xdpyinfo -display ":$n" >/dev/null 2>&1; then
      display=:$n
      break
    fi
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  [[ -n $display ]] && break
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=
done
if [[ -z $display ]]; then
  echo "bench.sh: no free X display among: $displays" >&2
  exit 1
fi

# A session bus of our own, as a desktop has one. Without it, every Qt
# program would autolaunch a bus through the X server (a dbus-launch run on
# each start) and leave that bus running after the benchmark.
dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$work/bus-address" 2>/dev/null &
bus_pid=$!
for _ in $(seq 50); do
  [[ -s $work/bus-address ]] && break
  sleep 0.1
done
if [[ ! -s $work/bus-address ]]; then
  echo "bench.sh: the session bus did not start" >&2
  exit 1
fi
export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus-address")

# The quote files: the sample under its default name, the largest file that
# shows, and the first sample quote alone for xmessage.
"$build/bench/make_quote_files" "$work"
cp "$root/examples/Jokes.TXT" "$work/Jokes.TXT"
sed -n '/^\*\*\*/q;p' "$work/Jokes.TXT" | tr -d '\r' >"$work/one_quote.txt"

echo
echo "== Start-up to the window mapped, and peak memory, on Xvfb $display (no window manager)"
cd "$work"
DISPLAY=$display "$build/bench/startup_latency" --runs "$runs" \
  --case bare "$build/bench/bare_window" \
  --case sample "$build/quoteshow" \
  --case largest "$build/quoteshow" "$work/Largest.TXT" \
  --case xmessage xmessage -file "$work/one_quote.txt" | tee "$work/startup.txt"

# Goals: start-up within 1.10x (sample) and 1.25x (largest) of the bare
# window, and the largest file within 10 MiB of its peak memory. Wall-clock
# latency counts time spent waiting for a CPU that other processes hold
# (runq_ms); CPU time to the map does not, so both are judged.
awk '
  function verdict(ok) { return ok ? "met" : "MISSED" }
  function startup(name, goal) {
    printf "goal: %s start-up <= %.2fx the bare window: wall %s (paired %s) %s; CPU %s %s\n",
           name, goal, $5, $6, verdict($5 + 0 <= goal), $8, verdict($8 + 0 <= goal)
  }
  $1 == "sample"  { startup("sample", 1.10) }
  $1 == "largest" { startup("largest", 1.25)
                    printf "goal: largest peak memory <= bare window + 10 MiB: %+.1f MiB, %s\n", $11, verdict($11 + 0 <= 10) }
' "$work/startup.txt"
