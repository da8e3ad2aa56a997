#!/usr/bin/env bash
# Takes the README's screenshot and one of each page of the recipe book ("Liste",
# "Ajouter", "Modifier", "Supprimer"), then one of each other window (search, found recipe,
# about box, image viewer, help, a message box): the program on the starter book, whose
# recipes all show one large photo, under a virtual display of 1040 x 800.
# Usage: scripts/screenshot.sh [folder]   (docs by default).
# In the environment, QT_SCALE_FACTOR=1.5 gives the pictures of a 144-dpi screen of the same
# logical size (the display grows with it); QT_FONT_DPI=144 gives those of a cook who sets
# large fonts on that very 1040 x 800 screen (the display keeps its size).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh xvfb xauth imagemagick openbox xdotool
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target gratinel gratinel-book

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp build/src/app/gratinel data/grt.hlp "$work/"
# Every recipe shows a photo larger than the screen, for the image viewer's picture.
convert -size 1600x1200 gradient:orange-darkred "$work/photo.jpg"
awk -v img="$work/photo.jpg" '{ print } /^## / { print "!! " img }' data/livre.txt > "$work/livre.txt"
build/tools/gratinel-book create "$work" "$work/livre.txt" >/dev/null
out="${1:-docs}"
mkdir -p "$out"
scale="${QT_SCALE_FACTOR:-1}"
width=$(awk "BEGIN { print int(1040 * $scale) }")
height=$(awk "BEGIN { print int(800 * $scale) }")

# Ctrl+Page down goes to the next page, as a user would from the keyboard; the other windows
# come from the menus' keys, and each closes as a user closes it.
shots=(screenshot page-liste page-ajouter page-modifier page-supprimer fenetre-rechercher
       fenetre-recette-trouvee fenetre-a-propos fenetre-image fenetre-aide fenetre-message)
xvfb-run -a -s "-screen 0 ${width}x${height}x24" bash -c "
  shot() { sleep 1.5; import -window root \"$out/\$1.png\"; }
  openbox & wm=\$!
  sleep 1
  '$work/gratinel' & pid=\$!
  sleep 3
  xdotool search --sync --onlyvisible --pid \$pid | tail -1 | xargs xdotool windowactivate --sync || true
  shot screenshot
  cp '$out/screenshot.png' '$out/page-liste.png'
  for page in ajouter modifier supprimer; do
    xdotool key --clearmodifiers ctrl+Next
    shot page-\$page
  done
  xdotool key --clearmodifiers ctrl+Prior ctrl+Prior ctrl+Prior
  xdotool key --clearmodifiers ctrl+f; shot fenetre-rechercher
  xdotool type --delay 50 oignon; xdotool key Return; shot fenetre-recette-trouvee
  xdotool key Escape
  xdotool key --clearmodifiers alt+question p; shot fenetre-a-propos
  xdotool key Return
  xdotool key --clearmodifiers alt+h i i; shot fenetre-image
  xdotool key Escape
  xdotool key --clearmodifiers alt+question s; shot fenetre-aide
  xdotool key Escape
  xdotool key --clearmodifiers ctrl+f; sleep 1; xdotool type --delay 50 zzzz; xdotool key Return
  shot fenetre-message
  xdotool key Return
  kill \$pid \$wm"
for f in "${shots[@]}"; do
  convert "$out/$f.png" -trim +repage "$out/$f.png"
  echo "Capture : $out/$f.png"
done
