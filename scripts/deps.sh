#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, when it is missing,
# and any further Debian packages named as arguments.
# Usage: scripts/deps.sh [PACKAGE...]
set -euo pipefail
packages=(cmake g++ make pkg-config qt6-base-dev libgl-dev libbenchmark-dev locales
          fonts-ipafont-gothic fonts-ipafont-mincho qt6-translations-l10n qt6-l10n-tools xvfb xauth x11-utils poppler-utils "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
# The tests pin the Japanese locale; Qt needs it to exist in glibc.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
