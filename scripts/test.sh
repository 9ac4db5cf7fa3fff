#!/usr/bin/env bash
# Builds everything and runs all tests, then runs the unit and window tests
# again in a second build with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=$(nproc)
export LANGUAGE= LC_ALL=ja_JP.UTF-8 QT_QPA_PLATFORM=offscreen

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure --no-tests=error -LE slow -j"$jobs"
# The real-time tests (a recorder simulator on a pseudo-terminal) run alone,
# so that no other test's load shifts their timing; one retry absorbs a
# scheduling hiccup of the machine.
ctest --test-dir build --output-on-failure --no-tests=error -L slow --repeat until-pass:2

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKS318_SANITIZE=ON -DKS318_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure --no-tests=error -L 'unit|gui' -j"$jobs"
