#!/usr/bin/env bash
# The knot atlas on a Slurm cluster: a single-node cluster started on this
# machine for the test (munged, slurmctld, slurmd), two knots submitted
# through the workflow's Slurm profile, each as a job of its own with the
# cores, memory and time the workflow declares. Skipped (status 77, with
# the reason) only where the services cannot start.
#
# Usage: atlas_slurm.sh VEK_ATLAS VEK_RELAX VEK_TUBE_PICTURE OUTPUT_DIR
set -uo pipefail
atlas=$1
relax=$2
picture=$3
out=$4
rm -rf "$out"
mkdir -p "$out"
# shellcheck source=relax_checks.sh
source "$(dirname "$0")/relax_checks.sh"

# shellcheck source=slurm_node.sh
source "$(dirname "$0")/slurm_node.sh"
trap stop_slurm EXIT
if ! start_slurm "$out/slurm"; then
  echo "SKIP: no single-node Slurm cluster: $slurm_reason"
  exit 77
fi

VEK_RELAX=$relax VEK_TUBE_PICTURE=$picture \
  "$atlas" --slurm --out "$out/atlas" --cores 2 --extra "--vertices 48" 3_1 4_1 >"$out/snakemake.log" 2>&1 ||
  fail "vek-atlas --slurm exited $?: $(tail -n 8 "$out/snakemake.log")"

table=$out/atlas/atlas.csv
if [ -f "$table" ]; then
  for knot in 3_1 4_1; do
    grep -q "^$knot,.*,ok,$" "$table" || fail "$knot: not finished in the table: $(grep "^$knot," "$table")"
    [ -s "$out/atlas/knots/$knot.png" ] || fail "$knot: no picture"
  done
else
  fail "no atlas.csv"
fi
# Each knot was a Slurm job: its log from Slurm, and the job with the
# workflow's cores and memory in the controller's records.
jobs=$(find "$out/atlas/.snakemake/slurm_logs/rule_knot" -name '*.log' 2>/dev/null | wc -l)
[ "$jobs" -eq 2 ] || fail "$jobs Slurm job logs for the knots, not 2"
details=$(scontrol show job 2>/dev/null)
[ "$(grep -c 'JobState=COMPLETED' <<<"$details")" -ge 2 ] || fail "Slurm shows no two completed jobs: $details"
grep -q 'NumCPUs=2' <<<"$details" || fail "the jobs did not ask for 2 cores: $details"
grep -q 'MinMemoryNode=2000M' <<<"$details" || fail "the jobs did not ask for 2000 MB: $details"

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "atlas on Slurm: all checks passed"
