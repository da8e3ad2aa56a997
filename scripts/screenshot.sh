#!/usr/bin/env bash
# Takes the README's screenshot: the program on the starter book, under a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh xvfb xauth imagemagick openbox
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target gratinel gratinel-mkbook

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp build/src/app/gratinel "$work/"
build/tools/gratinel-mkbook data/livre.txt "$work" >/dev/null
out="${1:-docs/screenshot.png}"

xvfb-run -a -s "-screen 0 1040x800x24" bash -c "
  openbox & wm=\$!
  sleep 1
  '$work/gratinel' & pid=\$!
  sleep 3
  import -window root '$out'
  kill \$pid \$wm"
convert "$out" -trim +repage "$out"
echo "Capture : $out"
