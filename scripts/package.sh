#!/usr/bin/env bash
# Builds the Debian package into dist/: the four programs, the desktop entry
# and icon, the man pages and the AppStream metainfo (validated first). Only
# what the package holds is compiled, in build-package/ (no tests, no
# benchmarks). Install it with: apt install ./dist/ks318_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
# Beyond building: dpkg-shlibdeps for the dependencies, appstreamcli for the
# metainfo check.
bash scripts/deps.sh dpkg-dev appstream file

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DKS318_TESTS=OFF -DKS318_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build build-package -j"$(nproc)"

# The metainfo and the desktop entry and icon it points at, as installed.
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install build-package >/dev/null
appstreamcli validate --no-net "$stage"/usr/share/metainfo/*.metainfo.xml
appstreamcli validate-tree --no-net "$stage"

mkdir -p dist
(cd build-package && cpack -G DEB -B "$PWD/../dist" >/dev/null)
rm -rf dist/_CPack_Packages
deb=$(ls -t dist/*.deb | head -n1)
echo "Built $deb ($(du -h "$deb" | cut -f1))"
dpkg-deb -f "$deb" Package Version Depends
