#!/usr/bin/env bash
# Builds the program and runs it on the bundled demo recording.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
export LC_ALL=ja_JP.UTF-8
exec build/tools/ks318-cli list samples/DEMO.DAT
