#!/usr/bin/env bash
# Runs the whole application against households that misbehave the way real ones do, and in the
# same run against a well-behaved one, inside a private network namespace (only loopback up).
#
#   bench/misbehaving_households.sh [--soak SECONDS] [--runs N] [--only "NAME ..."]
#                                   [--build-dir DIR] [--fake-build-dir DIR]
#
# Households (speakers/groups, every group paused in its own queue; see orvella-fake-household
# --help): well (8/2), hanging (8/2, one member accepts and never answers), unusable (8/2, one
# member's reply header never ends, another refuses every request), largest (128/32, the most
# the application takes), rooms-1000 (1,000 listed rooms, 4 of them there: refused as too large),
# presets-1000, presets-4mb, presets-emoji (a name of 20,000 emoji), presets-malformed (8/2 with
# such a presets value), artwork-50mb (8/2, album art replies of 50 MB), hostile-names (60/30,
# room names of 200 code points: emoji of every kind, right-to-left text, combining-mark floods)
# and plain-names (the same household with plain names of the same length).
#
# For each it reports: when the household showed (ms after start: the store held it, and the
# end of the first frame that shows it), the longest stall of the GUI thread while it came on
# screen and the longest one that began once it was (the application's probe,
# ORVELLA_PERF_PROBE=stalls, tells stalls over 50 ms), the peak resident memory, the sweep period and the requests per
# sweep (median; counted by the fake), and for well and hanging the time from a pause made by
# another controller 12 s after start to the application's first state change after it. Each
# runs for the soak time (20 s by default) after the household shows; with --runs N each
# household runs N times, one after the other, and every figure is the median. The hard names
# need a colour emoji font to cost what they cost on a desktop (fonts-noto-color-emoji): the
# script says so when none is installed. --fake-build-dir takes the fake household from another
# build, to measure an older application against today's households. Build first
# (cmake --build build).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$root/build
fake_build_dir=""
soak=20
runs=1
only=""

while (($#)); do
  case "$1" in
    --soak) soak=$2; shift ;;
    --runs) runs=$2; shift ;;
    --fake-build-dir) fake_build_dir=$2; shift ;;
    --only) only=$2; shift ;;
    --build-dir) build_dir=$2; shift ;;
    -h | --help) sed -n '2,29p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "bench/misbehaving_households.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done

bench_name=bench/misbehaving_households.sh
# shellcheck source=bench/household_bench.sh
source "$root/bench/household_bench.sh"

app_bin=$build_dir/bin/orvella
fake_bin=${fake_build_dir:-$build_dir}/tools/fake-household/orvella-fake-household
require_built "$app_bin" "$fake_bin"
[[ "$soak" =~ ^[0-9]+$ ]] && ((soak >= 5)) || die "--soak takes whole seconds, at least 5"
[[ "$runs" =~ ^[0-9]+$ ]] && ((runs >= 1)) || die "--runs takes a whole number, at least 1"

enter_private_namespace "$0" --soak "$soak" --runs "$runs" --only "$only" --build-dir "$build_dir" \
  --fake-build-dir "${fake_build_dir:-$build_dir}"

# ---- inside the private network namespace ----

start_scratch orvella-misbehaving

# name | speakers that listen | the fake's options
households=(
  "well|8|--count 8 --groups 2 --pause-after-ms 12000"
  "hanging|8|--count 8 --groups 2 --hang 7 --pause-after-ms 12000"
  "unusable|8|--count 8 --groups 2 --endless-header 6 --forbid 7"
  "largest|128|--count 128 --groups 32"
  "rooms-1000|4|--count 4 --rooms 1000"
  "presets-1000|8|--count 8 --groups 2 --presets many"
  "presets-4mb|8|--count 8 --groups 2 --presets large"
  "presets-emoji|8|--count 8 --groups 2 --presets emoji"
  "presets-malformed|8|--count 8 --groups 2 --presets malformed"
  "artwork-50mb|8|--count 8 --groups 2 --artwork-bytes 52428800"
  "hostile-names|60|--count 60 --groups 30 --hostile-rooms"
  "plain-names|60|--count 60 --groups 30 --plain-rooms"
)

median() { sort -n | awk '{v[NR] = $1} END {print (NR ? v[int((NR + 1) / 2)] : "-")}'; }
# Sweeps the fake counted after the fake's own time $2 (ms since it started): field $3 of each.
sweep_field_after() { awk -F'[ =]' -v from="$2" -v f="$3" '$1 == "sweep" && $7 >= from {print $f}' "$1"; }

export QT_QPA_PLATFORM=offscreen
if ! fc-list : family 2>/dev/null | grep -qi 'color emoji'; then
  echo "no colour emoji font is installed: emoji in names cost less here than on a desktop" >&2
fi
results=()

# One run of household $1 ($2 speakers that listen, the fake's options $3) in folder $4: prints
# shown, shown frame, stall at show, stall after, peak KiB, period, requests and pause.
measure() {
  local name=$1 speakers=$2 options=$3 run=$4
  make_app_folders "$run"

  local fake_start
  fake_start=$(now_ms)
  # shellcheck disable=SC2086 # the options are words on purpose
  start_fake_household "$run" "$speakers" --first 127.0.0.2 $options --report-sweeps
  pids+=("$fake_pid")
  write_cached_speakers "$run" "$run/data/Orvella"

  start_app "$run" stalls
  pids+=("$app_pid")
  local shown_at=""
  if wait_for_line "$run/app.err" 30 "probe household-shown"; then
    shown_at=$(first_stamp "$run/app.err" household-shown)
  fi
  sleep_until_ms $((${shown_at:-$(now_ms)} + soak * 1000))
  local peak
  peak=$(peak_rss_kib "$app_pid")
  for pid in "$app_pid" "$fake_pid"; do kill "$pid" 2>/dev/null || true; done
  wait "$app_pid" "$fake_pid" 2>/dev/null || true
  pids=()

  local from=${shown_at:-$app_start}
  local shown=${shown_at:+$((shown_at - app_start))}
  # The household is on screen once the first frame drawn after the store held it is out.
  local frame_at framed
  frame_at=$(awk -v from="$from" '$1 == "probe" && $2 == "frame" && $3 >= from {print $3; exit}' "$run/app.err")
  framed=${shown_at:+${frame_at:+$((frame_at - app_start))}}
  local to=${frame_at:-$from}
  # A stall line is stamped when the loop comes back (stamp minus length is when it began): at
  # show are those that end while the household comes on screen, from the store holding it to
  # the end of the first frame that shows it; after, the longest that began once it was on screen.
  local stall show_stall
  stall=$(awk -v to="$to" '$1 == "probe" && $2 == "stall" && $3 - $4 >= to && $4 > m {m = $4} END {print m + 0}' "$run/app.err")
  show_stall=$(awk -v from="$from" -v to="$to" '$1 == "probe" && $2 == "stall" && $3 - $4 < to && $3 >= from && $4 > m {m = $4} END {print m + 0}' "$run/app.err")
  # The fake's clock starts with the fake: sweeps after the household showed, the first of them left out.
  local steady_from=$((from - fake_start + 2500))
  local period requests pause="-" paused
  period=$(sweep_field_after "$run/fake.err" "$steady_from" 7 | awk 'NR > 1 {print $1 - last} {last = $1}' | median)
  requests=$(sweep_field_after "$run/fake.err" "$steady_from" 3 | median)
  if paused=$(awk '$1 == "paused" {print $2; exit}' "$run/fake.err") && [[ -n "$paused" ]]; then
    pause=$(awk -v p="$paused" '$1 == "probe" && $2 == "state" && $3 >= p {print $3 - p; exit}' "$run/app.err")
    pause=${pause:-never}
  fi
  echo "${shown:-never} ${framed:-never} $show_stall $stall $peak $period $requests $pause"
}

# Column $1 of the runs' figures in $figures: the median when every run has a number there.
col() {
  local values
  values=$(awk -v c="$1" '{print $c}' "$figures")
  if grep -qv '^[0-9.]*$' <<<"$values"; then awk -v c="$1" '{print $c; exit}' "$figures"; else median <<<"$values"; fi
}

declare -A framed_of
for entry in "${households[@]}"; do
  IFS='|' read -r name speakers options <<<"$entry"
  if [[ -n "$only" && " $only " != *" $name "* ]]; then continue; fi
  figures=$work/$name.figures
  for ((r = 1; r <= runs; r++)); do
    measure "$name" "$speakers" "$options" "$work/$name-$r" >>"$figures"
    rm -rf "${work:?}/$name-$r"
  done
  peak=$(col 5)
  [[ "$peak" == never ]] && peak=0
  framed_of[$name]=$(col 2)
  results+=("$(printf '%-18s %8s %8s %10s %9s %9.1f %9s %9s %9s' "$name" "$(col 1)" "$(col 2)" "$(col 3)" "$(col 4)" \
    "$(mib "$peak")" "$(col 6)" "$(col 7)" "$(col 8)")")
  echo "measured $name" >&2
done

echo "soak ${soak} s after the household shows, ${runs} run(s) each (medians); stalls of the GUI thread over"
echo "50 ms: the longest while the household comes on screen (at show: from the store holding it to the end"
echo "of the first frame that shows it, the stall that ends as the store takes it included), and the longest"
echo "that began once it was on screen (after)"
echo "household          shown ms frame ms  at show ms  after ms  peak MiB period ms  req/sweep  pause ms"
printf '%s\n' "${results[@]}"
hard=${framed_of[hostile-names]:-} plain=${framed_of[plain-names]:-}
if [[ "$hard" =~ ^[0-9]+$ && "$plain" =~ ^[0-9]+$ ]] && ((plain > 0)); then
  awk -v h="$hard" -v p="$plain" 'BEGIN {printf "hard names on screen in %.2f times the plain names'"'"' time\n", h / p}'
fi
