#!/usr/bin/env bash
# Installs the Debian packages the build, the programs and the tests need, when missing.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libsqlite3-dev libicu-dev
  qt6-translations-l10n pxlib-dev libzip-dev libxlsxwriter-dev libqscintilla2-qt6-dev
  adwaita-icon-theme fonts-liberation2 fonts-wine
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Hiányzó csomagok telepítése: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
