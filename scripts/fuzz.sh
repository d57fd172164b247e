#!/usr/bin/env bash
# Builds the libFuzzer targets (clang-14 with sanitizers) and runs each for a
# while: the WAV reader on any bytes, the music readers on any text, the
# command line and the settings file.
# Usage: bash scripts/fuzz.sh [seconds per target, default 300]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}
bash scripts/setup.sh
command -v clang++-14 >/dev/null || { echo "fuzz: clang-14 is needed (apt-get install clang-14 libclang-rt-14-dev)" >&2; exit 1; }
cmake --preset fuzz
cmake --build --preset fuzz --target wave_fuzz music_fuzz options_fuzz settings_fuzz
work=$(mktemp -d)
mkdir -p "$work/wave" "$work/music"
cp build/data/*.wav "$work/wave/" 2>/dev/null || true
cp data/music/* "$work/music/"
./build-fuzz/tests/wave_fuzz -max_total_time="$seconds" "$work/wave"
./build-fuzz/tests/music_fuzz -max_total_time="$seconds" "$work/music"
for target in options_fuzz settings_fuzz; do
  cp -r "fuzz/corpus/$target" "$work/$target"
  ./build-fuzz/tests/$target -max_total_time="$seconds" "$work/$target"
done
rm -rf "$work"
