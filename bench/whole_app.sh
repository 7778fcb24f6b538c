#!/usr/bin/env bash
# Measures the whole application against the simulated household, beside an empty Qt Quick
# window built the same way, inside a private network namespace (only loopback up).
#
#   bench/whole_app.sh [--playing] [--idle SECONDS] [--sizes "8/2 32/8 64/16"] [--build-dir DIR]
#
# For each size (speakers/groups; every group paused in its own queue, or with --playing every
# other group playing, its position moving on) it starts the fake
# household with those speakers, the application offscreen with a fresh data folder that knows
# their addresses, and the empty window (for its first frame also one with the controls'
# application window and menu bar), and reports: time to first frame, time until the
# household shows, resident memory 30 s after start and the anonymous part of it (heap and
# pictures, as opposed to mapped libraries and fonts), CPU over the idle window (60 s by
# default), requests per sweep (first, steady, telemetry; counted by the fake), and during the
# idle window the data files written, the store's state notifications and the frames drawn, with
# their rate, and the objects the window holds at its first frame and once the household shows
# (told by the application's probe, ORVELLA_PERF_PROBE). Build first (cmake --build build).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$root/build
idle=60
sizes="8/2 32/8 64/16"
playing=false

while (($#)); do
  case "$1" in
    --playing) playing=true ;;
    --idle) idle=$2; shift ;;
    --sizes) sizes=$2; shift ;;
    --build-dir) build_dir=$2; shift ;;
    -h | --help) sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "bench/whole_app.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done

bench_name=bench/whole_app.sh
# shellcheck source=bench/household_bench.sh
source "$root/bench/household_bench.sh"

app_bin=$build_dir/bin/orvella
fake_bin=$build_dir/tools/fake-household/orvella-fake-household
empty_bin=$build_dir/bench/bench_empty_window
require_built "$app_bin" "$fake_bin" "$empty_bin"
[[ "$idle" =~ ^[0-9]+$ ]] && ((idle >= 5)) || die "--idle takes whole seconds, at least 5"

mode_args=()
$playing && mode_args+=(--playing)
enter_private_namespace "$0" "${mode_args[@]}" --idle "$idle" --sizes "$sizes" --build-dir "$build_dir"

# ---- inside the private network namespace ----

start_scratch orvella-bench

# Probe lines of kind $2 stamped within [$3, $4].
count_between() { awk -v e="$2" -v a="$3" -v b="$4" '$1 == "probe" && $2 == e && $3 >= a && $3 <= b {n++} END {print n + 0}' "$1"; }
files_state() { find "$1" -type f -printf '%i %T@ %s %p\n' 2>/dev/null | sort; }

export QT_QPA_PLATFORM=offscreen
results=()

for size in $sizes; do
  speakers=${size%/*}
  groups=${size#*/}
  run=$work/$speakers
  make_app_folders "$run"

  fake_args=(--first 127.0.0.2 --count "$speakers" --groups "$groups" --report-sweeps)
  $playing && fake_args+=(--playing)
  start_fake_household "$run" "$speakers" "${fake_args[@]}"
  pids+=("$fake_pid")
  write_cached_speakers "$run" "$run/data/Orvella"

  # The empty windows first, so the first frames do not compete: the one with the controls'
  # application window and menu bar only for its first frame.
  controls_start=$(now_ms)
  : >"$run/controls.err"
  QT_QUICK_CONTROLS_STYLE=Basic "$empty_bin" --controls 2>"$run/controls.err" &
  controls_pid=$!
  pids+=("$controls_pid")
  wait_for_line "$run/controls.err" 30 "probe first-frame" || die "the empty window with controls showed no frame"
  kill "$controls_pid" 2>/dev/null || true
  wait "$controls_pid" 2>/dev/null || true
  empty_start=$(now_ms)
  : >"$run/empty.err"
  "$empty_bin" 2>"$run/empty.err" &
  empty_pid=$!
  pids+=("$empty_pid")
  wait_for_line "$run/empty.err" 30 "probe first-frame" || die "the empty window showed no frame"

  : >"$run/app.err"
  start_app "$run" 1
  pids+=("$app_pid")
  wait_for_line "$run/app.err" 60 "probe household-shown" || { tail -20 "$run/app.err" >&2; die "the household did not show within 60 s"; }

  sleep_until_ms $((app_start + 30000))
  app_rss=$(rss_kib "$app_pid")
  empty_rss=$(rss_kib "$empty_pid")
  app_anon=$(anon_kib "$app_pid")
  empty_anon=$(anon_kib "$empty_pid")

  idle_start=$(now_ms)
  app_ticks=$(cpu_ticks "$app_pid")
  empty_ticks=$(cpu_ticks "$empty_pid")
  files_before=$(files_state "$run/data")
  sweeps_before=$(wc -l <"$run/fake.err")
  sleep "$idle"
  app_ticks=$(($(cpu_ticks "$app_pid") - app_ticks))
  empty_ticks=$(($(cpu_ticks "$empty_pid") - empty_ticks))
  idle_end=$(now_ms)
  files_after=$(files_state "$run/data")
  for pid in "$app_pid" "$empty_pid" "$fake_pid"; do kill "$pid" 2>/dev/null || true; done
  wait "$app_pid" "$empty_pid" "$fake_pid" 2>/dev/null || true
  pids=()

  idle_seconds=$(awk -v a="$idle_start" -v b="$idle_end" 'BEGIN {print (b - a) / 1000}')
  cpu() { cpu_percent "$1" "$idle_seconds"; }
  app_frame=$(($(first_stamp "$run/app.err" first-frame) - app_start))
  empty_frame=$(($(first_stamp "$run/empty.err" first-frame) - empty_start))
  controls_frame=$(($(first_stamp "$run/controls.err" first-frame) - controls_start))
  shown=$(($(first_stamp "$run/app.err" household-shown) - app_start))
  first_sweep=$(awk -F'[ =]' 'NR == 1 {print $3}' "$run/fake.err")
  # Sweeps of the idle window: without telemetry (median) and with it (largest).
  steady=$(tail -n +"$((sweeps_before + 1))" "$run/fake.err" | awk -F'[ =]' '$5 == 0 {print $3}' | sort -n |
           awk '{v[NR] = $1} END {print (NR ? v[int((NR + 1) / 2)] : "-")}')
  telemetry=$(tail -n +2 "$run/fake.err" | awk -F'[ =]' '$5 > 0 {print $3}' | sort -n | tail -1)
  writes=$(diff <(echo "$files_before") <(echo "$files_after") | grep -c '^>' || true)
  states=$(count_between "$run/app.err" state "$idle_start" "$idle_end")
  frames=$(count_between "$run/app.err" frame "$idle_start" "$idle_end")
  objects() { awk -v at="at=$1" '$1 == "probe" && $2 == "contents" && $4 == at {sub("objects=", "", $5); print $5; exit}' "$run/app.err"; }
  fps=$(awk -v n="$frames" -v s="$idle_seconds" 'BEGIN {printf "%.1f", n / s}')
  results+=("$(printf '%3s/%-3s %6s (%4s/%4s) %9s %8.1f (%5.1f) %7.1f (%5.1f) %7s (%5s) %6s %6s %9s %6s %6s %6s %5s %5s/%-5s' \
    "$speakers" "$groups" "$app_frame" "$empty_frame" "$controls_frame" "$shown" \
    "$(mib "$app_rss")" "$(mib "$empty_rss")" "$(mib "$app_anon")" "$(mib "$empty_anon")" \
    "$(cpu "$app_ticks")" "$(cpu "$empty_ticks")" "$first_sweep" "$steady" "${telemetry:--}" "$writes" "$states" "$frames" "$fps" "$(objects first-frame)" "$(objects household-shown)")")
  echo "measured $speakers speakers in $groups groups" >&2
done

$playing && echo "every other group playing" || echo "every group paused"
echo "idle window ${idle} s; figures in brackets: the empty window of the same run (first frame: bare/with controls)"
echo "spk/grp  frame ms (empty/ctls) shown ms  RSS MiB (empty) anon MiB (empty)  CPU %  (empty)  first steady telemetry writes states frames   fps objects"
printf '%s\n' "${results[@]}"
