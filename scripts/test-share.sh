#!/usr/bin/env bash
# Lines of tests against lines of code (non-blank, non-comment lines of
# .c/.cpp/.h files): tests are everything under tests/ and fuzz/ and any file
# named *_test.* or test_*. We aim for a quarter to a third.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { [ $# -eq 0 ] && { echo 0; return; }; cat "$@" | grep -v -E '^\s*(//.*)?$' | wc -l; }
mapfile -t all < <(git ls-files '*.c' '*.cpp' '*.h')
tests=() code=()
for f in "${all[@]}"; do
  case "$f" in
    tests/* | fuzz/* | *_test.* | */test_* | test_*) tests+=("$f") ;;
    *) code+=("$f") ;;
  esac
done
t=$(count "${tests[@]}") c=$(count "${code[@]}")
echo "tests $t lines, code $c lines: $((100 * t / c))%"
