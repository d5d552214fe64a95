#!/usr/bin/env bash
# Installs what building and testing need on Debian 12; quiet when all is there.
set -euo pipefail
packages=(cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-i686-dev mingw-w64-x86-64-dev
          wine wine64 xvfb xauth x11-utils googletest binutils-mingw-w64-i686)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
echo "installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
