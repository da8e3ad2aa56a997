#!/usr/bin/env bash
# Builds Gratinel "Free", installs it with the starter book into its program folder, puts it in
# the desktop's menu, and starts it.
# The folder is $GRATINEL_DIR, by default ~/Gratinel. An existing book there is never replaced.
set -euo pipefail
cd "$(dirname "$0")/.."

dir="${GRATINEL_DIR:-$HOME/Gratinel}"

scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target gratinel gratinel-book gratinel-reader
cmake --install build --prefix "$dir" >/dev/null

have=0
for f in GRTN1.DAT GRTN2.DAT GRTN3.DAT GRTN4.DAT; do
  [ -e "$dir/$f" ] && have=$((have + 1))
done
if [ "$have" -eq 0 ]; then
  "$dir/gratinel-book" create "$dir" data/livre.txt
elif [ "$have" -lt 4 ]; then
  echo "Attention : le livre de $dir est incomplet ($have fichiers sur 4) ; il est laissé tel quel."
fi
scripts/desktop-entry.sh "$dir"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Pas d'écran graphique (ni DISPLAY ni WAYLAND_DISPLAY) : Gratinel est installé dans $dir, lancez $dir/gratinel depuis une session graphique."
  exit 1
fi
exec "$dir/gratinel"
