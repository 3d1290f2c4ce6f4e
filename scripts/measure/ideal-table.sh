#!/usr/bin/env bash
# The ideal shape of every knot of the best-ropelength table from its name
# (vek-relax --knot NAME --ideal), one knot after the other, resumable: a
# knot whose record exists is not run again, so the same command finishes
# an interrupted table. After every knot the table is written again:
#   OUT/ideal-table.csv  knot, vertices, ropelength (certified), best_known,
#                        ratio, struts (active), iterations (optimiser),
#                        stopped_by, seconds (whole process, wall clock),
#                        starts (layouts searched; records of builds that
#                        searched one have none: 1), start (the one kept)
#   OUT/records/NAME.json  vek-relax's summary and the wall-clock seconds
#   OUT/below/NAME.vect    polygons certified below the best known value
# The polygons of the other knots go to OUT/polygons (not kept).
#
# Usage: ideal-table.sh VEK_RELAX OUT [KNOT ...]   (default: every knot of
#        the table, in its order); more vek-relax options in VEK_EXTRA.
set -uo pipefail
relax=$1
out=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
table="$here/../../data/best-ropelength.csv"
mkdir -p "$out/records" "$out/polygons" "$out/below" "$out/logs"

if [ $# -gt 0 ]; then
  knots=("$@")
else
  mapfile -t knots < <(tail -n +2 "$table" | cut -d, -f1)
fi

# The value of a key in a one-line JSON object.
json_value() { grep -o "\"$2\": [^,}]*" "$1" | head -1 | sed 's/^[^:]*: //; s/"//g'; }

write_table() {
  local csv="$out/ideal-table.csv.part"
  echo "knot,vertices,ropelength,best_known,ratio,struts,iterations,stopped_by,seconds,starts,start" >"$csv"
  tail -n +2 "$table" | while IFS=, read -r name _ _ _ best; do
    local record="$out/records/$name.json"
    [ -e "$record" ] || continue
    local rope
    rope=$(json_value "$record" ropelength)
    awk -v n="$name" -v v="$(json_value "$record" vertices)" -v r="$rope" -v b="$best" \
      -v s="$(json_value "$record" struts)" -v i="$(json_value "$record" iterations)" \
      -v w="$(json_value "$record" stopped_by)" -v t="$(json_value "$record" wall_seconds)" \
      -v ns="$(json_value "$record" starts)" -v k="$(json_value "$record" start)" \
      'BEGIN { printf "%s,%s,%.4f,%s,%.5f,%s,%s,%s,%.1f,%s,%s\n", n, v, r, b, r / b, s, i, w, t, ns == "" ? 1 : ns, k == "" ? 1 : k }' >>"$csv"
  done
  mv "$csv" "$out/ideal-table.csv"
}

for name in "${knots[@]}"; do
  record="$out/records/$name.json"
  [ -e "$record" ] && continue
  best=$(awk -F, -v n="$name" '$1 == n { print $5 }' "$table")
  [ -n "$best" ] || { echo "ideal-table: $name is not in the table" >&2; continue; }
  start=$(date +%s.%N)
  # shellcheck disable=SC2086
  "$relax" --knot "$name" --ideal --json --output "$out/polygons/$name.vect" ${VEK_EXTRA:-} \
    >"$out/logs/$name.json" 2>"$out/logs/$name.log"
  status=$?
  seconds=$(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN { printf "%.3f", e - s }')
  if [ "$status" -ne 0 ]; then
    echo "ideal-table: $name failed (status $status), see $out/logs/$name.log" >&2
    continue
  fi
  sed "s/}\$/, \"wall_seconds\": $seconds}/" "$out/logs/$name.json" >"$record.part" && mv "$record.part" "$record"
  rope=$(json_value "$record" ropelength)
  if awk -v r="$rope" -v b="$best" 'BEGIN { exit !(r < b) }'; then
    cp "$out/polygons/$name.vect" "$out/below/$name.vect"
  fi
  echo "$name: $rope (best known $best), $seconds s"
  write_table
done
write_table
