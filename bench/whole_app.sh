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

die() {
  echo "bench/whole_app.sh: $*" >&2
  exit 1
}

app_bin=$build_dir/bin/orvella
fake_bin=$build_dir/tools/fake-household/orvella-fake-household
empty_bin=$build_dir/bench/bench_empty_window
for bin in "$app_bin" "$fake_bin" "$empty_bin"; do
  [[ -x "$bin" ]] || die "$bin is not built"
done
[[ "$idle" =~ ^[0-9]+$ ]] && ((idle >= 5)) || die "--idle takes whole seconds, at least 5"

if [[ "${ORVELLA_BENCH_INSIDE:-}" != "1" ]]; then
  # Network, process and mount namespaces: loopback only, every process ends with the script,
  # and /proc shows the namespace's own process ids.
  unshare_args=(--net --pid --fork --kill-child --mount-proc)
  [[ $(id -u) -ne 0 ]] && unshare_args=(--map-root-user "${unshare_args[@]}")
  mode_args=()
  $playing && mode_args+=(--playing)
  exec unshare "${unshare_args[@]}" env ORVELLA_BENCH_INSIDE=1 "$0" "${mode_args[@]}" --idle "$idle" --sizes "$sizes" --build-dir "$build_dir"
fi

# ---- inside the private network namespace ----

ip link set lo up || die "could not bring loopback up in the private network namespace"
if ip -o link show | awk -F': ' '{print $2}' | grep -qv '^lo$'; then
  die "the network namespace is not private; refusing to start"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/orvella-bench.XXXXXX")
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

ticks_per_second=$(getconf CLK_TCK)
now_ms() { date +%s%3N; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
rss_kib() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }
anon_kib() { awk '/^RssAnon:/ {print $2}' "/proc/$1/status"; }
# Waits up to $2 seconds for a line matching $3 in file $1.
wait_for_line() {
  local file=$1 seconds=$2 pattern=$3 waited=0
  until grep -q -- "$pattern" "$file" 2>/dev/null; do
    ((waited++ < seconds * 10)) || return 1
    sleep 0.1
  done
}
first_stamp() { awk -v e="$2" '$1 == "probe" && $2 == e {print $3; exit}' "$1"; }
# Probe lines of kind $2 stamped within [$3, $4].
count_between() { awk -v e="$2" -v a="$3" -v b="$4" '$1 == "probe" && $2 == e && $3 >= a && $3 <= b {n++} END {print n + 0}' "$1"; }
sleep_until_ms() {
  local left=$(($1 - $(now_ms)))
  ((left > 0)) && sleep "$(awk -v ms="$left" 'BEGIN {printf "%.3f", ms / 1000}')"
  return 0
}
files_state() { find "$1" -type f -printf '%i %T@ %s %p\n' 2>/dev/null | sort; }

export QT_QPA_PLATFORM=offscreen
results=()

for size in $sizes; do
  speakers=${size%/*}
  groups=${size#*/}
  run=$work/$speakers
  mkdir -p "$run/data" "$run/config" "$run/cache" && mkdir -m 0700 "$run/runtime" "$run/data/Orvella"

  fake_args=(--first 127.0.0.2 --count "$speakers" --groups "$groups" --report-sweeps)
  $playing && fake_args+=(--playing)
  # The background job opens its output itself, maybe after the wait below first reads it.
  : >"$run/fake.out"
  : >"$run/fake.err"
  "$fake_bin" "${fake_args[@]}" >"$run/fake.out" 2>"$run/fake.err" &
  fake_pid=$!
  pids+=("$fake_pid")
  waited=0
  while (($(wc -l <"$run/fake.out") < speakers)); do
    kill -0 "$fake_pid" 2>/dev/null || { cat "$run/fake.err" >&2; die "the fake household stopped"; }
    ((waited++ < 100)) || die "the fake household did not start within 10 s"
    sleep 0.1
  done
  # The speaker cache a previous run would have left: the first sweep asks these addresses.
  awk 'BEGIN {printf "{\"speakers\":["}
       { match($1, /[0-9.]+:/); ip = substr($1, RSTART, RLENGTH - 1)
         printf "%s{\"id\":\"%s\",\"roomName\":\"Room %d\",\"model\":{\"unrecognized\":{\"modelNumber\":\"\",\"displayName\":\"Speaker\"}},\"reachability\":{\"online\":{\"ip\":\"%s\"}},\"volume\":0,\"bondedSatellites\":[]}", (NR > 1 ? "," : ""), $2, NR, ip }
       END {printf "],\"rf\":{\"bands\":[],\"strengths\":[]}}"}' "$run/fake.out" >"$run/data/Orvella/cached-speakers.json"

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
  app_start=$(now_ms)
  XDG_DATA_HOME=$run/data XDG_CONFIG_HOME=$run/config XDG_CACHE_HOME=$run/cache XDG_RUNTIME_DIR=$run/runtime \
    ORVELLA_PERF_PROBE=1 "$app_bin" 2>"$run/app.err" &
  app_pid=$!
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
  cpu() { awk -v t="$1" -v hz="$ticks_per_second" -v s="$idle_seconds" 'BEGIN {printf "%.2f", 100 * t / hz / s}'; }
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
  mib() { awk -v k="$1" 'BEGIN {print k / 1024}'; }
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
