#!/usr/bin/env bash
# Builds the programs (not the tests or the benchmarks) and opens the bundled
# demo recording in the main window; without a display it prints the demo's
# summary instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
# Only what runs here: the program, the command line, the simulator and the
# legacy-file converter it calls. scripts/test.sh builds the rest in the same
# folder later, reusing all of this.
cmake --build build -j"$(nproc)" --target ks318 ks318-cli ks318-sim fileconv
export LANGUAGE= LC_ALL=ja_JP.UTF-8
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/src/app/ks318 samples/DEMO.DAT
fi
build/tools/ks318-cli summary samples/DEMO.DAT
echo "No display found: on a desktop, open the window with: build/src/app/ks318 samples/DEMO.DAT"
