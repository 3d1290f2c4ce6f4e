#!/usr/bin/env bash
# Builds the Debian package of BUILD_DIR into OUT_DIR with cpack, checks that
# the programs, manual pages, desktop and software-centre entries are in it,
# and runs lintian on it: any error fails, warnings are printed.
# Usage: check_deb.sh BUILD_DIR OUT_DIR
set -euo pipefail
build=$1
out=$2
rm -rf "$out"
mkdir -p "$out"
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 \
  || { cat "$out/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$(ls "$out"/*.deb)
listing=$(dpkg-deb -c "$deb")
status=0
for path in usr/bin/vek usr/bin/vek-relax usr/bin/vek-tube-picture usr/bin/vek-atlas \
            usr/share/man/man1/vek.1.gz usr/share/man/man1/vek-relax.1.gz usr/share/man/man1/vek-tube-picture.1.gz \
            usr/share/man/man1/vek-atlas.1.gz usr/share/vek/atlas/Snakefile usr/share/vek/atlas/profiles/slurm/config.yaml \
            usr/share/vek/data/knots.csv usr/share/vek/data/best-ropelength.csv \
            usr/share/applications/vek.desktop usr/share/metainfo/org.example.vek.metainfo.xml \
            usr/share/doc/vek/copyright usr/share/doc/vek/changelog.gz \
            usr/share/vek/data/knots.csv usr/share/vek/data/best-ropelength.csv; do
  grep -q " \./$path\$" <<<"$listing" || { echo "FAIL: $path is not in the package"; status=1; }
done
lintian --fail-on error "$deb" 2>&1 | grep -v "root privileges" || true
lintian --fail-on error "$deb" >/dev/null 2>&1 || { echo "FAIL: lintian reports errors"; status=1; }
exit $status
