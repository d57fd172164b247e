#!/usr/bin/env bash
# Keeps the layers apart: the game and the music never see SDL, FluidSynth or
# the SDL platform; drawing and sound never see the game or the program's
# entry; the music library and base/ need nothing but base/. Follows the
# tree's own headers, so an include through another header counts as well.
# Prints every offence with its chain; fails on any.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.c' '*.inc')
declare -A tracked=()
for f in "${files[@]}"; do tracked[$f]=1; done

# What a file includes: tree files by their path, anything else as <name>.
declare -A direct=()
for f in "${files[@]}"; do
  list=""
  while IFS= read -r name; do
    if [ -n "${tracked[$name]:-}" ]; then
      list+=" $name"
    elif [ -n "${tracked[$(dirname "$f")/$name]:-}" ]; then
      list+=" $(dirname "$f")/$name"
    else
      list+=" <$name>"
    fi
  done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]+)[>"].*/\1/p' "$f")
  direct[$f]=$list
done

# Everything a file reaches, each with the chain that reaches it.
declare -A via=()
reach() {
  local from=$1 chain=$2 to
  for to in ${direct[$from]}; do
    [ -n "${via[$to]:-}" ] && continue
    via[$to]="$chain -> $to"
    [ -n "${tracked[$to]:-}" ] && reach "$to" "$chain -> $to"
  done
  return 0
}

offences=0
# check LAYER_DIRS FORBIDDEN_REGEX WHAT
check() {
  local dirs=$1 forbidden=$2 what=$3 f to
  for f in "${files[@]}"; do
    [[ $f =~ ^($dirs)/ ]] || continue
    via=()
    reach "$f" "$f"
    for to in "${!via[@]}"; do
      if [[ $to =~ $forbidden ]]; then
        echo "check-layers: $what: ${via[$to]}" >&2
        offences=$((offences + 1))
      fi
    done
  done
}

check 'game|music' '^(<SDL|<fluidsynth|platform/sdl/)' "game and music code reaches SDL, FluidSynth or platform/sdl"
check 'gfx|audio' '^(app|game)/' "drawing and sound reach the game or the program's entry"
# The music library and the shared helpers link alone.
check 'music' '^(app|audio|game|gfx|platform|tools)/' "the music library reaches beyond base/"
check 'base' '^(<SDL|<fluidsynth|(app|audio|game|gfx|music|platform|tools)/)' "the shared helpers reach beyond base/"

if [ "$offences" -gt 0 ]; then
  echo "check-layers: $offences includes against the layers" >&2
  exit 1
fi
echo "check-layers: the layers hold"
