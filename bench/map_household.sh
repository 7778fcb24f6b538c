#!/usr/bin/env bash
# Measures the whole application with a large household on its map, while half of the groups
# play, inside a private network namespace (only loopback up), beside an empty Qt Quick window.
#
#   bench/map_household.sh [--sizes "32/8 128/16"] [--soak SECONDS] [--runs N] [--build-dir DIR]
#
# For each size (speakers/groups) and run it starts the fake household, the application
# offscreen with a fresh data folder that knows the speakers' addresses, and the empty window;
# once the household shows, the first half of the groups start playing and their positions
# advance every 2 s (as a playing speaker's do), and after 5 s more the soak begins. It reports:
#   shown     ms from start to the first frame that draws the household (the probe's
#             "household-shown", then the next frame);
#   busy      the longest stretch (ms) in which the GUI thread ran without a pause of 1 ms,
#             from the household shown to the end of the soak: a stall, as the user feels it;
#   gap       the longest time (ms) between two frames during the soak: the highlight asks for
#             a frame every 34 ms, so a larger gap is a frame the map could not keep;
#   fps       frames a second during the soak;
#   CPU %     of one core during the soak (the empty window's beside it);
#   RSS MiB   resident memory at the end of the soak (the empty window's beside it);
#   states    the store's state notifications during the soak (a sweep that saw a position
#             move publishes one).
# With ORVELLA_BENCH_PERF=<folder> the soak is also profiled with `perf record` (call graphs,
# processor-clock samples) into <folder>/perf-<speakers>-<run>.data.
# Build first (cmake --build build). Needs python3 for the GUI thread's sampler.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$root/build
sizes="32/8 128/16"
soak=20
runs=1

while (($#)); do
  case "$1" in
    --sizes) sizes=$2; shift ;;
    --soak) soak=$2; shift ;;
    --runs) runs=$2; shift ;;
    --build-dir) build_dir=$2; shift ;;
    -h | --help) sed -n '2,25p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "bench/map_household.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done

bench_name=bench/map_household.sh
# shellcheck source=bench/household_bench.sh
source "$root/bench/household_bench.sh"

app_bin=$build_dir/bin/orvella
fake_bin=$build_dir/tools/fake-household/orvella-fake-household
empty_bin=$build_dir/bench/bench_empty_window
require_built "$app_bin" "$fake_bin" "$empty_bin"
command -v python3 >/dev/null || die "python3 is needed to sample the GUI thread"
command -v curl >/dev/null || die "curl is needed to start the groups playing"
[[ "$soak" =~ ^[0-9]+$ ]] && ((soak >= 5)) || die "--soak takes whole seconds, at least 5"
[[ "$runs" =~ ^[0-9]+$ ]] && ((runs >= 1)) || die "--runs takes a whole number, at least 1"

enter_private_namespace "$0" --sizes "$sizes" --soak "$soak" --runs "$runs" --build-dir "$build_dir"

# ---- inside the private network namespace ----

start_scratch orvella-map-bench


# One SOAP call to a fake speaker's AVTransport ($1 base URL, $2 action, $3 arguments).
transport() {
  curl -s -o /dev/null --max-time 2 -X POST "$1/MediaRenderer/AVTransport/Control" \
    -H 'Content-Type: text/xml; charset="utf-8"' \
    -H "SOAPACTION: \"urn:schemas-upnp-org:service:AVTransport:1#$2\"" \
    --data "<?xml version=\"1.0\" encoding=\"utf-8\"?><s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\" s:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"><s:Body><u:$2 xmlns:u=\"urn:schemas-upnp-org:service:AVTransport:1\">$3</u:$2></s:Body></s:Envelope>" ||
    true
}

# Samples the GUI thread's run time (/proc/PID/task/PID/schedstat, nanoseconds) every 2 ms
# until the file $3 exists, and prints the longest stretch in ms in which it never paused for
# a whole sample, from unix time $2 (ms) on.
sample_gui_thread() {
  python3 - "$1" "$2" "$3" <<'EOF'
import os, sys, time
pid, since_ms, stop = sys.argv[1], int(sys.argv[2]), sys.argv[3]
path = f"/proc/{pid}/task/{pid}/schedstat"
longest = 0.0
run_start = None
last_wall = last_run = None
while not os.path.exists(stop):
    try:
        with open(path) as f:
            ran = int(f.read().split()[0])
    except (OSError, ValueError, IndexError):
        break
    wall = time.monotonic_ns()
    if last_wall is not None and time.time() * 1000 >= since_ms:
        idle = (wall - last_wall) - (ran - last_run)
        if idle < 1_000_000:
            if run_start is None:
                run_start = last_wall
            longest = max(longest, (wall - run_start) / 1e6)
        else:
            run_start = None
    last_wall, last_run = wall, ran
    time.sleep(0.002)
print(f"{longest:.0f}")
EOF
}

export QT_QPA_PLATFORM=offscreen
results=()

for size in $sizes; do
  speakers=${size%/*}
  groups=${size#*/}
  for ((r = 1; r <= runs; r++)); do
    run=$work/$speakers-$r
    make_app_folders "$run"
    start_fake_household "$run" "$speakers" --first 127.0.0.2 --count "$speakers" --groups "$groups"
    pids+=("$fake_pid")
    write_cached_speakers "$run" "$run/data/Orvella"
    # The coordinators of the first half of the groups (the fake leads each group with its
    # first speaker).
    mapfile -t urls < <(awk '{print $1}' "$run/fake.out")
    players=()
    for ((g = 0; g < groups / 2; g++)); do players+=("${urls[$((speakers * g / groups))]}"); done

    "$empty_bin" 2>"$run/empty.err" &
    empty_pid=$!
    pids+=("$empty_pid")
    wait_for_line "$run/empty.err" 30 "probe first-frame" || die "the empty window showed no frame"

    start_app "$run" 1
    pids+=("$app_pid")
    wait_for_line "$run/app.err" 60 "probe household-shown" || { tail -20 "$run/app.err" >&2; die "the household did not show within 60 s"; }
    shown_stamp=$(first_stamp "$run/app.err" household-shown)
    sample_gui_thread "$app_pid" "$shown_stamp" "$run/stop" >"$run/busy" &
    sampler_pid=$!
    pids+=("$sampler_pid")

    # Half the groups play once the household has been swept and shown.
    sleep_until_ms $((shown_stamp + 3000))
    for url in "${players[@]}"; do transport "$url" Play "<InstanceID>0</InstanceID><Speed>1</Speed>"; done
    play_start=$(now_ms)
    soak_start=$((play_start + 5000))
    soak_end=$((soak_start + soak * 1000))
    seek() {
      local position
      position=$(printf '0:%02d:%02d' $(($1 / 60)) $(($1 % 60)))
      for url in "${players[@]}"; do
        transport "$url" Seek "<InstanceID>0</InstanceID><Unit>REL_TIME</Unit><Target>$position</Target>"
      done
    }
    next_seek=$((play_start + 2000))
    position=41
    while (($(now_ms) < soak_start)); do
      sleep_until_ms "$next_seek"; seek "$position"; position=$((position + 2)); next_seek=$((next_seek + 2000))
    done
    app_ticks=$(cpu_ticks "$app_pid")
    empty_ticks=$(cpu_ticks "$empty_pid")
    perf_pid=""
    if [[ -n "${ORVELLA_BENCH_PERF:-}" ]]; then
      mkdir -p "$ORVELLA_BENCH_PERF"
      perf record -q --call-graph dwarf,16384 -F 499 -e cpu-clock -p "$app_pid" -o "$ORVELLA_BENCH_PERF/perf-$speakers-$r.data" 2>/dev/null &
      perf_pid=$!
    fi
    while (($(now_ms) < soak_end)); do
      sleep_until_ms "$((next_seek < soak_end ? next_seek : soak_end))"
      if (($(now_ms) >= next_seek)); then
        seek "$position"; position=$((position + 2)); next_seek=$((next_seek + 2000))
      fi
    done
    app_ticks=$(($(cpu_ticks "$app_pid") - app_ticks))
    empty_ticks=$(($(cpu_ticks "$empty_pid") - empty_ticks))
    soak_end=$(now_ms)
    if [[ -n "$perf_pid" ]]; then kill -INT "$perf_pid" 2>/dev/null || true; wait "$perf_pid" 2>/dev/null || true; fi
    app_rss=$(rss_kib "$app_pid")
    empty_rss=$(rss_kib "$empty_pid")
    touch "$run/stop"
    wait "$sampler_pid" 2>/dev/null || true
    for pid in "$app_pid" "$empty_pid" "$fake_pid"; do kill "$pid" 2>/dev/null || true; done
    wait "$app_pid" "$empty_pid" "$fake_pid" 2>/dev/null || true
    pids=()

    seconds=$(awk -v a="$soak_start" -v b="$soak_end" 'BEGIN {print (b - a) / 1000}')
    cpu() { cpu_percent "$1" "$seconds"; }
    shown=$(awk -v s="$shown_stamp" -v a="$app_start" '$1 == "probe" && $2 == "frame" && $3 >= s {print $3 - a; exit}' "$run/app.err")
    frames=$(awk -v a="$soak_start" -v b="$soak_end" '$1 == "probe" && $2 == "frame" && $3 >= a && $3 <= b' "$run/app.err")
    gap=$(awk -v a="$soak_start" -v b="$soak_end" '
      $1 == "probe" && $2 == "frame" && $3 >= a && $3 <= b { if (last) { d = $3 - last; if (d > g) g = d } last = $3 }
      END {print g + 0}' "$run/app.err")
    fps=$(awk -v n="$(printf '%s\n' "$frames" | grep -c . || true)" -v s="$seconds" 'BEGIN {printf "%.1f", n / s}')
    states=$(awk -v a="$soak_start" -v b="$soak_end" '$1 == "probe" && $2 == "state" && $3 >= a && $3 <= b {n++} END {print n + 0}' "$run/app.err")
    results+=("$(printf '%3s/%-3s %3s %8s %6s %6s %6s %7s (%5s) %7s (%5s) %6s' "$speakers" "$groups" "$r" "${shown:--}" \
      "$(cat "$run/busy")" "$gap" "$fps" "$(cpu "$app_ticks")" "$(cpu "$empty_ticks")" "$(printf '%.1f' "$(mib "$app_rss")")" "$(printf '%.1f' "$(mib "$empty_rss")")" "$states")")
    echo "measured $speakers speakers in $groups groups, run $r" >&2
  done
done

echo "half the groups playing; soak ${soak} s; figures in brackets: the empty window of the same run"
echo "spk/grp run shown ms busy ms gap ms    fps   CPU % (empty) RSS MiB (empty) states"
printf '%s\n' "${results[@]}"
