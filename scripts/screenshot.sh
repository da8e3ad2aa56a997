#!/usr/bin/env bash
# Takes the README's screenshot and one of each page of the recipe book ("Liste",
# "Ajouter", "Modifier", "Supprimer"): the program on the starter book, under a virtual
# display. Usage: scripts/screenshot.sh [folder]   (docs by default). QT_SCALE_FACTOR=1.5
# in the environment gives the pictures of a 144-dpi screen.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh xvfb xauth imagemagick openbox xdotool
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target gratinel gratinel-book

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp build/src/app/gratinel "$work/"
build/tools/gratinel-book create "$work" data/livre.txt >/dev/null
out="${1:-docs}"
mkdir -p "$out"
scale="${QT_SCALE_FACTOR:-1}"
width=$(awk "BEGIN { print int(1040 * $scale) }")
height=$(awk "BEGIN { print int(800 * $scale) }")

# Ctrl+Page down goes to the next page, as a user would from the keyboard.
xvfb-run -a -s "-screen 0 ${width}x${height}x24" bash -c "
  openbox & wm=\$!
  sleep 1
  '$work/gratinel' & pid=\$!
  sleep 3
  xdotool search --sync --onlyvisible --pid \$pid | tail -1 | xargs xdotool windowactivate --sync || true
  import -window root '$out/screenshot.png'
  cp '$out/screenshot.png' '$out/page-liste.png'
  for page in ajouter modifier supprimer; do
    xdotool key --clearmodifiers ctrl+Next
    sleep 1
    import -window root \"$out/page-\$page.png\"
  done
  kill \$pid \$wm"
for f in screenshot page-liste page-ajouter page-modifier page-supprimer; do
  convert "$out/$f.png" -trim +repage "$out/$f.png"
  echo "Capture : $out/$f.png"
done
