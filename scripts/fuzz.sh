#!/usr/bin/env bash
# Builds the libFuzzer targets (clang-14, address and undefined-behaviour
# sanitizers) and runs each in turn on its seeds from fuzz/corpus, printing
# the runs, the coverage at the start and the end, and the peak memory.
# Usage: bash scripts/fuzz.sh [seconds per target, default 300] [targets...]
# Targets: wave music bmp script recording options settings (default: all).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(wave music bmp script recording options settings)
bash scripts/setup.sh
command -v clang++-14 >/dev/null || { echo "fuzz: clang-14 is needed (apt-get install clang-14 libclang-rt-14-dev)" >&2; exit 1; }
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${targets[@]/%/_fuzz}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A small quarantine keeps ASan's own memory from looking like a leak of ours.
export ASAN_OPTIONS=quarantine_size_mb=16:malloc_context_size=10:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for t in "${targets[@]}"; do
  mkdir -p "$work/$t"
  log="$work/$t.log"
  # New inputs go to the work folder; the committed seeds stay as they are.
  if ./build-fuzz/fuzz/${t}_fuzz -max_total_time="$seconds" -rss_limit_mb=1024 -malloc_limit_mb=256 \
       -print_final_stats=1 -artifact_prefix="$work/$t-" "$work/$t" "fuzz/corpus/$t" >"$log" 2>&1; then
    result=clean
  else
    result="FAILED (see below)"
    status=1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo ?)
  start=$(grep -m1 -o 'INITED cov: [0-9]*' "$log" | grep -o '[0-9]*$' || echo ?)
  end=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*$' || echo ?)
  rss=$(grep -o 'stat::peak_rss_mb: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo ?)
  echo "fuzz: $t ${seconds}s: $result, runs $runs, coverage $start -> $end, peak RSS ${rss} MB"
  if [ "$result" != clean ]; then
    tail -40 "$log"
    mkdir -p build-fuzz/artifacts && cp "$work/$t-"* build-fuzz/artifacts/ 2>/dev/null || true
  fi
done
exit $status
