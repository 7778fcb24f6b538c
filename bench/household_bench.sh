# Helpers of the benchmarks that run the whole application against the simulated household
# (bench/whole_app.sh, bench/misbehaving_households.sh). Sourced, not run.

die() {
  echo "$bench_name: $*" >&2
  exit 1
}

# Runs the calling script again inside network, process and mount namespaces of its own:
# loopback only, every process ends with the script, and /proc shows the namespace's own
# process ids. Inside, brings loopback up and refuses to go on if anything else is reachable.
#   enter_private_namespace "$0" ARGUMENTS...
enter_private_namespace() {
  if [[ "${ORVELLA_BENCH_INSIDE:-}" != "1" ]]; then
    local unshare_args=(--net --pid --fork --kill-child --mount-proc)
    [[ $(id -u) -ne 0 ]] && unshare_args=(--map-root-user "${unshare_args[@]}")
    exec unshare "${unshare_args[@]}" env ORVELLA_BENCH_INSIDE=1 "$@"
  fi
  ip link set lo up || die "could not bring loopback up in the private network namespace"
  if ip -o link show | awk -F': ' '{print $2}' | grep -qv '^lo$'; then
    die "the network namespace is not private; refusing to start"
  fi
}

# Fails unless every program named is built.
require_built() {
  local bin
  for bin in "$@"; do
    [[ -x "$bin" ]] || die "$bin is not built"
  done
}

# Makes the benchmark's scratch folder `work` (named after $1) and ends every process in `pids`
# and removes the folder when the script ends.
start_scratch() {
  work=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
  pids=()
  trap end_scratch EXIT
  trap 'exit 130' INT TERM
}
end_scratch() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}

now_ms() { date +%s%3N; }
rss_kib() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }
peak_rss_kib() { awk '/^VmHWM:/ {print $2}' "/proc/$1/status"; }
anon_kib() { awk '/^RssAnon:/ {print $2}' "/proc/$1/status"; }
mib() { awk -v k="$1" 'BEGIN {print k / 1024}'; }
# Processor time (user and system) of process $1 so far, in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# $1 clock ticks over $2 seconds as a share of one core, in per cent.
cpu_percent() { awk -v t="$1" -v hz="$(getconf CLK_TCK)" -v s="$2" 'BEGIN {printf "%.2f", 100 * t / hz / s}'; }

# Waits up to $2 seconds for a line matching $3 in file $1.
wait_for_line() {
  local file=$1 seconds=$2 pattern=$3 waited=0
  until grep -q -- "$pattern" "$file" 2>/dev/null; do
    ((waited++ < seconds * 10)) || return 1
    sleep 0.1
  done
}

# The stamp of the first probe line of kind $2 in file $1.
first_stamp() { awk -v e="$2" '$1 == "probe" && $2 == e {print $3; exit}' "$1"; }

sleep_until_ms() {
  local left=$(($1 - $(now_ms)))
  ((left > 0)) && sleep "$(awk -v ms="$left" 'BEGIN {printf "%.3f", ms / 1000}')"
  return 0
}

# Starts the fake household with the options after $2, in the run's folder $1, waits until it
# has listed its $2 speakers that listen in $1/fake.out (standard error goes to $1/fake.err),
# and sets fake_pid.
start_fake_household() {
  local run=$1 speakers=$2
  shift 2
  # Made before the background job opens it itself, so the wait below can read it at once.
  : >"$run/fake.out"
  "$fake_bin" "$@" >"$run/fake.out" 2>"$run/fake.err" &
  fake_pid=$!
  local waited=0
  while (($(wc -l <"$run/fake.out") < speakers)); do
    kill -0 "$fake_pid" 2>/dev/null || { cat "$run/fake.err" >&2; die "the fake household stopped"; }
    ((waited++ < 100)) || die "the fake household did not start within 10 s"
    sleep 0.1
  done
}

# Writes the speaker cache a previous run would have left for the speakers in $1/fake.out into
# the data folder $2, so the application's first sweep asks those addresses.
write_cached_speakers() {
  awk 'BEGIN {printf "{\"speakers\":["}
       { match($1, /[0-9.]+:/); ip = substr($1, RSTART, RLENGTH - 1)
         printf "%s{\"id\":\"%s\",\"roomName\":\"Room %d\",\"model\":{\"unrecognized\":{\"modelNumber\":\"\",\"displayName\":\"Speaker\"}},\"reachability\":{\"online\":{\"ip\":\"%s\"}},\"volume\":0,\"bondedSatellites\":[]}", (NR > 1 ? "," : ""), $2, NR, ip }
       END {printf "],\"rf\":{\"bands\":[],\"strengths\":[]}}"}' "$1/fake.out" >"$2/cached-speakers.json"
}

# Makes the folders of one run of the application under $1.
make_app_folders() {
  mkdir -p "$1/data" "$1/config" "$1/cache" && mkdir -m 0700 "$1/runtime" "$1/data/Orvella"
}

# Starts the application with its folders under $1, the probe set to $2, standard error to
# $1/app.err, and sets app_pid and app_start.
start_app() {
  app_start=$(now_ms)
  XDG_DATA_HOME=$1/data XDG_CONFIG_HOME=$1/config XDG_CACHE_HOME=$1/cache XDG_RUNTIME_DIR=$1/runtime \
    ORVELLA_PERF_PROBE=$2 "$app_bin" 2>"$1/app.err" &
  app_pid=$!
}
