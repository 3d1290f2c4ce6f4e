#!/usr/bin/env bash
# The knot atlas through its front end on this machine's two cores: three
# knots made from their names and tightened, one more whose run fails (a
# stand-in program that refuses it); the table's certified ropelengths are
# those of the written polygons as vek-relax certifies them again, the
# failure is in the table and stopped nothing, every tile's picture exists
# and the gallery loads in a real browser with all its pictures; a second
# run finishes no knot again.
#
# Usage: atlas.sh VEK_ATLAS VEK_RELAX VEK_TUBE_PICTURE OUTPUT_DIR
set -uo pipefail
atlas=$1
relax=$2
picture=$3
out=$4
rm -rf "$out"
mkdir -p "$out"
# shellcheck source=relax_checks.sh
source "$(dirname "$0")/relax_checks.sh"

# A vek-relax that refuses 5_2 and is the real one otherwise.
cat >"$out/relax-but-5_2" <<EOF
#!/usr/bin/env bash
for a in "\$@"; do [ "\$a" = 5_2 ] && { echo "vek-relax: refused for the test" >&2; exit 1; }; done
exec "$relax" "\$@"
EOF
chmod +x "$out/relax-but-5_2"

# 48 vertices a knot keeps the test short; the workflow is the same.
run_atlas() {
  VEK_RELAX="$out/relax-but-5_2" VEK_TUBE_PICTURE=$picture \
    "$atlas" --out "$out/atlas" --cores 2 --extra "--vertices 48" 3_1-4_1 5_1 5_2 >"$out/snakemake.log" 2>&1
}
run_atlas || fail "vek-atlas exited $?: $(tail -n 5 "$out/snakemake.log")"
table=$out/atlas/atlas.csv
[ -f "$table" ] || { fail "no atlas.csv"; echo "$failures failed"; exit 1; }

# name -> column of a row, by the header's names.
cell() { awk -F, -v name="$1" -v col="$2" 'NR == 1 { for (i = 1; i <= NF; i++) c[$i] = i; next }
                                           $1 == name { print $c[col] }' "$table"; }
[ "$(awk -F, 'NR > 1 { print $1 }' "$table" | tr '\n' ' ')" = "3_1 4_1 5_1 5_2 " ] ||
  fail "table rows: $(awk -F, 'NR > 1 { print $1 }' "$table" | tr '\n' ' ')"
for knot in 3_1 4_1 5_1; do
  [ "$(cell $knot status)" = ok ] || fail "$knot: status $(cell $knot status) $(cell $knot message)"
  [ "$(cell $knot vertices)" = 48 ] || fail "$knot: vertices $(cell $knot vertices)"
  [ "$(cell $knot vek_version)" = "$("$relax" --version | awk '{ print $2 }')" ] ||
    fail "$knot: version $(cell $knot vek_version), vek-relax says $("$relax" --version)"
  "$relax" "$out/atlas/knots/$knot.vect" --json --output "$out/back-$knot.vect" >"$out/$knot.json" 2>/dev/null ||
    fail "$knot: its polygon does not read back"
  again=$(grep -o '"ropelength": [^,}]*' "$out/$knot.json" | sed 's/.*: //')
  awk -v a="$(cell $knot ropelength)" -v b="$again" 'BEGIN { exit !(a != "" && sprintf("%.6f", b) == a) }' ||
    fail "$knot: table ropelength $(cell $knot ropelength), the written polygon certifies $again"
  awk -v r="$(cell $knot ratio)" 'BEGIN { exit !(r >= 1 && r < 1.2) }' || fail "$knot: ratio $(cell $knot ratio)"
  [ -s "$out/atlas/knots/$knot.stl" ] || fail "$knot: no mesh"
  [ -s "$out/atlas/logs/$knot.log" ] || fail "$knot: no log"
done
[ "$(cell 5_2 status)" = failed ] && [ "$(cell 5_2 message)" = "refused for the test" ] ||
  fail "5_2: status $(cell 5_2 status), message $(cell 5_2 message)"

# Every tile's picture exists; the failed knot has a tile without one.
gallery=$out/atlas/index.html
for src in $(grep -o '<img src="[^"]*"' "$gallery" | sed 's/<img src="//; s/"$//'); do
  [ -s "$out/atlas/$src" ] || fail "gallery: $src does not exist"
done
[ "$(grep -c '<img src=' "$gallery")" = 3 ] || fail "gallery: $(grep -c '<img src=' "$gallery") pictures, not 3"
grep -q 'class="tile failed"' "$gallery" || fail "gallery: no tile for the failed knot"
if grep -qE 'https?:|//' <(grep -v '<!DOCTYPE' "$gallery"); then fail "gallery: refers to the network"; fi

# In a browser: every picture loads (a probe script in a copy of the page
# writes what it found into the page; a missing picture must show).
if command -v chromium >/dev/null; then
  browse() {
    timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
      --disable-background-networking --disable-component-update --disable-sync \
      --user-data-dir="$out/chromium" "$@" 2>>"$out/chromium.log"
  }
  probe='<script>window.onload = function () { var bad = []; for (var i = 0; i < document.images.length; i++) { var m = document.images[i]; if (!(m.complete \&\& m.naturalWidth > 0)) bad.push(m.getAttribute("src")); } document.body.setAttribute("data-check", bad.length ? "broken " + bad.join(" ") : "loaded " + document.images.length); };</script>'
  sed "s#</body>#$probe</body>#" "$gallery" >"$out/atlas/check.html"
  sed "s#knots/3_1.png#knots/none.png#" "$out/atlas/check.html" >"$out/atlas/check-broken.html"
  got=$(browse --virtual-time-budget=5000 --dump-dom "file://$out/atlas/check.html" | grep -o 'data-check="[^"]*"')
  [ "$got" = 'data-check="loaded 3"' ] || fail "browser: the gallery shows $got"
  got=$(browse --virtual-time-budget=5000 --dump-dom "file://$out/atlas/check-broken.html" | grep -o 'data-check="[^"]*"')
  [ "$got" = 'data-check="broken knots/none.png"' ] || fail "browser: a missing picture shows as $got"
  rm -f "$out/atlas/check.html" "$out/atlas/check-broken.html"
  browse --window-size=1000,800 --screenshot="$out/gallery.png" "file://$gallery" >/dev/null
  [ -s "$out/gallery.png" ] || fail "browser: no screenshot of the gallery"
else
  fail "chromium is not installed (scripts/setup/install-deps.sh --test installs it)"
fi

# Again: finished knots are not run again, the table is the same.
cp "$table" "$out/first.csv"
stamps=$(stat -c %Y "$out"/atlas/results/*.json | tr '\n' ' ')
sleep 1
run_atlas || fail "second vek-atlas exited $?: $(tail -n 5 "$out/snakemake.log")"
[ "$(stat -c %Y "$out"/atlas/results/*.json | tr '\n' ' ')" = "$stamps" ] || fail "the second run ran knots again"
cmp -s "$table" "$out/first.csv" || fail "the second run changed the table"

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "atlas: all checks passed"
