#!/usr/bin/env bash
# Builds in release mode and runs every benchmark, then lists each figure
# beside its floor or target as a ratio measured in the same run:
#   x_floor   the generator's serial chain of 1,249,000 steps, state in a register
#   x_copy    a plain copy of one 640 x 480 16-bit picture
#   x_period  the frame period, 1/60 s
#   share_of_period_pct, period_pct  one audio period (512 frames), in per cent
#   p99_us, max_us  how late the MIDI output thread sends, in microseconds
# Extra arguments go to every benchmark binary (e.g. --benchmark_filter=Title).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release --target ruzov_bench ruzov_frames_bench sound_bench ruzov_music_bench

bin=build-release/bench
out="$PWD/build-release/perf"  # absolute: a benchmark may change directory
mkdir -p "$out"
for b in ruzov_bench ruzov_frames_bench sound_bench ruzov_music_bench; do
  echo "== $b"
  "$bin/$b" --benchmark_out="$out/$b.json" --benchmark_out_format=json "$@"
done

echo
echo "== figures (processor time per iteration, real time where named; ratios against the same run's references)"
for b in ruzov_bench ruzov_frames_bench sound_bench ruzov_music_bench; do
  awk '
    /^ *"name":/ { gsub(/[",]/, "", $2); name = $2; figures = "" }
    /^ *"(cpu|real)_time":/ { gsub(/,/, "", $2); t[$1] = $2 }
    /^ *"time_unit":/ { gsub(/[",]/, "", $2); unit = $2 }
    /^ *"(x_[a-z]+|share_of_period_pct|period_pct|p99_us|max_us)":/ {
      key = $1; gsub(/[":]/, "", key); gsub(/,/, "", $2)
      figures = figures sprintf("  %s=%.4g", key, $2)
    }
    /^ *}/ && name != "" {
      # a benchmark timed on the real clock is listed by it
      clock = name ~ /real_time/ ? "\"real_time\":" : "\"cpu_time\":"
      printf "%-40s %10.4g %s%s\n", name, t[clock], unit, figures
      name = ""
    }
  ' "$out/$b.json"
done
