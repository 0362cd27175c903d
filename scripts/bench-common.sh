# What the benchmark scripts share, sourced by each: the bench build, the
# core and rounds, a work folder, and a run timed against its floor.
# Environment: BENCH_CPU (core to run on, default the last one),
# BENCH_ROUNDS and BENCH_RUNS (hyperfine rounds, runs per round), BENCH_DIR
# (where the runs write; default a folder in /dev/shm, a tmpfs, where the
# file system adds the least noise, else in the temporary directory).
bash scripts/setup.sh $(cat scripts/build-packages.txt) libbenchmark-dev hyperfine time jq
cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null

build="$PWD/build/bench"
cpu=${BENCH_CPU:-$(($(nproc) - 1))}
rounds=${BENCH_ROUNDS:-10}
runs=${BENCH_RUNS:-30}
if [ -n "${BENCH_DIR:-}" ]; then
  work=$(mktemp -d "$BENCH_DIR/brelquim-bench.XXXXXX")
elif [ -d /dev/shm ] && [ -w /dev/shm ]; then
  work=$(mktemp -d /dev/shm/brelquim-bench.XXXXXX)
else
  work=$(mktemp -d)
fi
trap 'rm -rf "$work"' EXIT
on_core() { taskset -c "$cpu" "$@"; }
# Times a run against its floor in alternating hyperfine rounds, from the
# current folder, and leaves the median wall time of each in run.txt and
# floor.txt; the JSON of each round in $work/<name>-<round>.json.
#   timeRounds <name> <prepare command> <run command> <floor command>
timeRounds() {
  for round in $(seq "$rounds"); do
    on_core hyperfine -N --warmup 3 --runs "$runs" --prepare "$2" --export-json "$work/$1-$round.json" "$3" "$4" \
      >/dev/null 2>>"$work/hyperfine.log" || { cat "$work/hyperfine.log" >&2; exit 1; }
  done
  jq -s '[.[].results[0].times[]] | sort | .[length / 2 | floor]' "$work/$1"-*.json >"$work/run.txt"
  jq -s '[.[].results[1].times[]] | sort | .[length / 2 | floor]' "$work/$1"-*.json >"$work/floor.txt"
}
