#!/usr/bin/env bash
# The benchmarks and the I/O floor program build (nothing is timed here;
# scripts/bench.sh runs them).
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/setup.sh $(cat scripts/build-packages.txt) libbenchmark-dev
cmake --preset bench >/dev/null
cmake --build --preset bench
build/bench/bench/brelquim_bench --benchmark_list_tests >/dev/null
