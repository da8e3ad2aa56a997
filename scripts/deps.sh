#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those missing (with sudo when not root).
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev qt6-svg-dev qt6-translations-l10n
          qt6-image-formats-plugins libgl-dev libicu-dev xdg-utils shared-mime-info file
          libwmf-dev fonts-urw-base35 libemf2svg-dev desktop-file-utils ccache libgumbo-dev poppler-utils "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installation des paquets manquants : ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
