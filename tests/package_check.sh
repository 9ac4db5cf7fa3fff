#!/usr/bin/env bash
# The Debian package installs and runs: builds it from BUILD_DIR with CPack
# (or takes KS318_DEB), unpacks it into a scratch root with dpkg -x, and runs
# the installed ks318-cli on the demo recording from there. Exit 77 (skipped)
# when cpack or dpkg-deb is missing.
# Usage: package_check.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
command -v dpkg-deb >/dev/null && command -v cpack >/dev/null || { echo "no cpack or dpkg-deb"; exit 77; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

deb=${KS318_DEB:-}
if [ -z "$deb" ]; then
  (cd "$build" && cpack -G DEB -B "$scratch/dist" >"$scratch/cpack.log" 2>&1) || { cat "$scratch/cpack.log"; fail "cpack"; }
  deb=$(ls "$scratch"/dist/*.deb)
fi
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ "$(dpkg-deb -f "$deb" Version)" = "$version-1" ] || fail "package version $(dpkg-deb -f "$deb" Version), not $version-1"
depends=$(dpkg-deb -f "$deb" Depends)
for d in fonts-ipafont-gothic fonts-ipafont-mincho libqt6widgets6; do
  [[ $depends == *"$d"* ]] || fail "Depends lacks $d: $depends"
done

root=$scratch/root
dpkg -x "$deb" "$root"
for f in usr/bin/ks318 usr/bin/ks318-cli usr/bin/ks318-sim usr/bin/fileconv \
         usr/share/applications/ks318.desktop usr/share/icons/hicolor/256x256/apps/ks318.png \
         usr/share/metainfo/org.ks318.analysis.metainfo.xml \
         usr/share/man/man1/ks318.1.gz usr/share/man/man1/ks318-cli.1.gz \
         usr/share/man/man1/ks318-sim.1.gz usr/share/man/man1/fileconv.1.gz; do
  [ -e "$root/$f" ] || fail "$f missing from the package"
done
[ "$("$root/usr/bin/ks318-cli" --version)" = "ks318-cli $version" ] || fail "ks318-cli --version"
[ "$("$root/usr/bin/ks318" --version)" = "ks318 $version" ] || fail "ks318 --version"

# The installed command line reads the demo as the built one does: its string
# table travels inside the program.
cp "$source/samples/DEMO.DAT" "$source/samples/DEMO.p30" "$scratch/"
cd "$scratch"
"$root/usr/bin/ks318-cli" summary DEMO.DAT >installed.txt || fail "installed ks318-cli summary"
"$build/tools/ks318-cli" summary DEMO.DAT >built.txt
[ -s installed.txt ] && cmp -s installed.txt built.txt || fail "the installed summary differs from the built one"
echo "ok: $(basename "$deb") installs and runs"
