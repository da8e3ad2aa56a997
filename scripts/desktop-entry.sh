#!/usr/bin/env bash
# Puts Gratinel in the desktop's menu: writes gratinel.desktop for the program folder given
# (by default ~/Gratinel) into the user's applications folder, and the program's icon into the
# hicolor theme of the user's icons. Both under $XDG_DATA_HOME, by default ~/.local/share.
set -euo pipefail
cd "$(dirname "$0")/.."

dir="$(cd "${1:-${GRATINEL_DIR:-$HOME/Gratinel}}" && pwd)"
data="${XDG_DATA_HOME:-$HOME/.local/share}"
apps="$data/applications"
icons="$data/icons/hicolor/scalable/apps"
mkdir -p "$apps" "$icons"
cp src/mainwin/icons/gratinel.svg "$icons/gratinel.svg"

# Exec takes the path quoted, with ", `, $ and \ escaped inside the quotes; every backslash of
# a desktop entry's value is then doubled once more. Path is a plain value.
quoted=$(printf '%s' "$dir/gratinel" | sed -e 's/[\\"`$]/\\&/g' -e 's/\\/\\\\/g')
plain=$(printf '%s' "$dir" | sed -e 's/\\/\\\\/g')
entry="$apps/gratinel.desktop"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat > "$work/gratinel.desktop" <<DESKTOP
[Desktop Entry]
Type=Application
Version=1.0
Name=Gratinel "Free"
GenericName=Livre de recettes
Comment=Votre livre de recettes : parcourir, ajouter, chercher et imprimer vos recettes
Exec="$quoted"
Path=$plain
Icon=gratinel
Terminal=false
Categories=Utility;
Keywords=recette;cuisine;livre;
DESKTOP

if command -v desktop-file-validate >/dev/null; then
  if ! desktop-file-validate "$work/gratinel.desktop"; then
    echo "gratinel.desktop refusé par desktop-file-validate : l'entrée du menu n'est pas installée." >&2
    exit 1
  fi
fi
mv "$work/gratinel.desktop" "$entry"
command -v update-desktop-database >/dev/null && update-desktop-database -q "$apps" 2>/dev/null || true
command -v gtk-update-icon-cache >/dev/null && gtk-update-icon-cache -q -t "$data/icons/hicolor" 2>/dev/null || true
echo "Gratinel est dans le menu du bureau ($entry)."
