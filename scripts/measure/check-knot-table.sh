#!/usr/bin/env bash
# Checks every knot of the built-in table both ways: the curve vek-relax
# makes from a name (NAME, and NAME* for a chiral knot's mirror image) is
# identified as that name, or among the candidates where the invariants are
# equal; with --tight also after --until-tight, and with --rotations K the
# tight curve turned by K random rotations (a projection other than the one
# it was made from). Results are appended to RESULTS.csv one line per name
# and stage, so a run that is stopped goes on where it was.
#
#   check-knot-table.sh VEK_RELAX RESULTS.csv [--min C] [--max C] [--tight] [--rotations K]
#                       [--part I/N] [--keep DIR]
#   check-knot-table.sh --summary RESULTS.csv
#
# --part I/N takes every N-th name starting with the I-th (0 ... N-1).
# --keep DIR keeps each tight curve as DIR/NAME.txt (a mirror image's NAME*
# as NAME_mirror.txt), for the identification benchmark on tight shapes.
set -u
here=$(cd "$(dirname "$0")" && pwd)
table="$here/../../data/knots.csv"

summary() {
    awk -F, 'NR > 0 {
        key = $2; rows[key]; n[key, $3]++; v[key, $3, $4]++; s[key, $3] += $5; stages[$3]
    } END {
        split("made tight turned", order, " ")
        printf "%-10s %-6s %6s %8s %11s %6s %7s %9s\n", "crossings", "stage", "names", "exactly", "candidates", "wrong", "failed", "seconds"
        for (c = 0; c <= 12; ++c) for (k = 1; k <= 3; ++k) {
            st = order[k]
            if (!((c, st) in n)) continue
            printf "%-10s %-6s %6d %8d %11d %6d %7d %9.1f\n", c, st, n[c, st], v[c, st, "exact"], v[c, st, "candidate"], v[c, st, "wrong"], v[c, st, "failed"], s[c, st]
        }
    }' "$1"
}

if [ "${1:-}" = "--summary" ]; then
    summary "$2"
    exit 0
fi
relax=$1
results=$2
shift 2
min=0 max=12 tight=0 rotations=0 part=0/1 keep=
while [ $# -gt 0 ]; do
    case $1 in
        --min) min=$2; shift 2 ;;
        --max) max=$2; shift 2 ;;
        --tight) tight=1; shift ;;
        --rotations) rotations=$2; shift 2 ;;
        --part) part=$2; shift 2 ;;
        --keep) keep=$2; mkdir -p "$keep" || exit 2; shift 2 ;;
        *) echo "check-knot-table.sh: unknown option $1" >&2; exit 2 ;;
    esac
done
partIndex=${part%/*}
partCount=${part#*/}
touch "$results"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The verdict on a JSON summary for the expected name: exact, candidate,
# wrong or failed (no summary, or no name).
verdict() {
    local json=$1 name=$2 suffix=$3 got cands
    got=$(grep -o "\"knot$suffix\": \"[^\"]*\"" "$json" 2>/dev/null | sed 's/.*: "\(.*\)"/\1/')
    cands=$(grep -o "\"knot_candidates$suffix\": \[[^]]*\]" "$json" 2>/dev/null | sed 's/.*: //')
    if [ -z "$got" ]; then
        echo failed
    elif [ "$got" = "$name" ] && [ "$cands" = "[]" ]; then
        echo exact
    elif printf '%s' "$cands" | grep -q "\"$(printf '%s' "$name" | sed 's/\*/\\*/')\""; then
        echo candidate
    else
        echo wrong
    fi
}

# Seconds since the epoch with fractions.
now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.3f", b - a }'; }

index=0
tail -n +2 "$table" | while IFS=, read -r name crossings symmetry rest; do
    [ "$crossings" -ge "$min" ] && [ "$crossings" -le "$max" ] || continue
    names=$name
    case $symmetry in reversible | chiral) names="$name $name*" ;; esac
    for n in $names; do
        index=$((index + 1))
        [ $(((index - 1) % partCount)) -eq "$partIndex" ] || continue
        done_stages=$(awk -F, -v n="$n" '$1 == n { print $3 }' "$results" | tr '\n' ' ')
        if [[ " $done_stages " != *" made "* ]]; then
            t0=$(now)
            "$relax" --knot "$n" --json --output "$work/made.txt" > "$work/made.json" 2> /dev/null
            echo "$n,$crossings,made,$(verdict "$work/made.json" "$n" _start),$(elapsed "$t0")" >> "$results"
        fi
        [ "$tight" -eq 1 ] || continue
        if [[ " $done_stages " != *" tight "* ]]; then
            t0=$(now)
            "$relax" --knot "$n" --until-tight --json --output "$work/tight.txt" > "$work/tight.json" 2> /dev/null
            echo "$n,$crossings,tight,$(verdict "$work/tight.json" "$n" ""),$(elapsed "$t0")" >> "$results"
            [ -z "$keep" ] || cp "$work/tight.txt" "$keep/${n/\*/_mirror}.txt"
            for ((r = 1; r <= rotations; ++r)); do
                t0=$(now)
                # A rotation from a seed of the name and the turn: the unit
                # quaternion of four uniform angles' cosines, normalised.
                seed=$(printf '%s%d' "$n" "$r" | cksum | cut -d' ' -f1)
                awk -v seed="$seed" 'BEGIN {
                    srand(seed); a = rand() - 0.5; b = rand() - 0.5; c = rand() - 0.5; d = rand() - 0.5
                    l = sqrt(a*a + b*b + c*c + d*d); a /= l; b /= l; c /= l; d /= l
                    m11 = a*a + b*b - c*c - d*d; m12 = 2*(b*c - a*d); m13 = 2*(b*d + a*c)
                    m21 = 2*(b*c + a*d); m22 = a*a - b*b + c*c - d*d; m23 = 2*(c*d - a*b)
                    m31 = 2*(b*d - a*c); m32 = 2*(c*d + a*b); m33 = a*a - b*b - c*c + d*d
                } NF == 3 {
                    # At most 16 characters per number, as the file format reads.
                    printf "%16.9e %16.9e %16.9e\n", m11*$1 + m12*$2 + m13*$3, m21*$1 + m22*$2 + m23*$3, m31*$1 + m32*$2 + m33*$3
                }' "$work/tight.txt" > "$work/turned.txt"
                "$relax" "$work/turned.txt" --json --output "$work/turned-out.txt" > "$work/turned.json" 2> /dev/null
                echo "$n,$crossings,turned,$(verdict "$work/turned.json" "$n" _start),$(elapsed "$t0")" >> "$results"
            done
        fi
    done
done
summary "$results"
