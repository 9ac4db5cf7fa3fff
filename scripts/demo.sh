#!/usr/bin/env bash
# Builds the program and opens the bundled demo recording in the main window;
# without a display it prints the demo's summary instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
export LC_ALL=ja_JP.UTF-8
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/src/app/ks318 samples/DEMO.DAT
fi
build/tools/ks318-cli summary samples/DEMO.DAT
echo "No display found: on a desktop, open the window with: build/src/app/ks318 samples/DEMO.DAT"
