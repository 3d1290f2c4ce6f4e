# A single-node Slurm cluster on this machine for a test: munged, slurmctld
# and slurmd with a minimal configuration in a folder of the test's own,
# started by start_slurm and stopped by stop_slurm (also on exit).
# Sourced by the atlas's Slurm test.
#
# start_slurm DIR: returns 0 when the node is up and idle; otherwise 1 with
# the reason in $slurm_reason (for the test to skip with).

slurm_pids=()

stop_slurm() {
  local pid
  for pid in "${slurm_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${slurm_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  slurm_pids=()
}

start_slurm() {
  local dir=$1
  slurm_reason=""
  if [ "$(id -u)" -ne 0 ]; then
    slurm_reason="starting munged, slurmctld and slurmd for the test needs root"
    return 1
  fi
  local tool
  for tool in munged slurmctld slurmd sbatch srun scontrol sinfo; do
    command -v "$tool" >/dev/null || { slurm_reason="$tool is not installed (Debian slurm-wlm and munge)"; return 1; }
  done
  rm -rf "$dir"
  mkdir -p "$dir/state" "$dir/spool" "$dir/munge"
  chmod 700 "$dir/munge"
  dd if=/dev/urandom of="$dir/munge/munge.key" bs=1024 count=1 status=none
  chmod 400 "$dir/munge/munge.key"
  # munged runs in the foreground, as root (--force), on a socket of its own.
  munged --foreground --force --key-file="$dir/munge/munge.key" --socket="$dir/munge/munge.socket" \
    --pid-file="$dir/munge/munged.pid" --log-file="$dir/munge/munged.log" --seed-file="$dir/munge/seed" \
    2>>"$dir/munge/munged.log" &
  slurm_pids+=($!)

  local host ports
  host=$(hostname -s)
  # Ports of this run only, so that a leftover from another run cannot answer.
  ports=$((20000 + ($$ % 20000)))
  cat >"$dir/slurm.conf" <<EOF
ClusterName=vektest
SlurmctldHost=$host(127.0.0.1)
SlurmctldPort=$ports
SlurmdPort=$((ports + 1))
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
AuthInfo=socket=$dir/munge/munge.socket
CredType=cred/munge
StateSaveLocation=$dir/state
SlurmdSpoolDir=$dir/spool
SlurmctldPidFile=$dir/slurmctld.pid
SlurmdPidFile=$dir/slurmd.pid
SlurmctldLogFile=$dir/slurmctld.log
SlurmdLogFile=$dir/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
JobCompType=jobcomp/none
SchedulerType=sched/builtin
SelectType=select/cons_tres
SelectTypeParameters=CR_Core_Memory
MpiDefault=none
ReturnToService=2
MinJobAge=600
NodeName=$host NodeAddr=127.0.0.1 CPUs=$(nproc) RealMemory=4000 State=UNKNOWN
PartitionName=debug Nodes=ALL Default=YES MaxTime=INFINITE State=UP
EOF
  export SLURM_CONF=$dir/slurm.conf
  local k
  for k in $(seq 50); do [ -S "$dir/munge/munge.socket" ] && break; sleep 0.1; done
  if [ ! -S "$dir/munge/munge.socket" ]; then
    slurm_reason="munged did not start: $(tail -n 2 "$dir/munge/munged.log" | tr '\n' ' ')"
    return 1
  fi
  slurmctld -D -i -f "$dir/slurm.conf" >>"$dir/slurmctld.out" 2>&1 &
  slurm_pids+=($!)
  slurmd -D -N "$host" -f "$dir/slurm.conf" >>"$dir/slurmd.out" 2>&1 &
  slurm_pids+=($!)
  for k in $(seq 60); do
    if sinfo -h -o %t 2>/dev/null | grep -q idle; then return 0; fi
    sleep 0.5
  done
  slurm_reason="the Slurm node did not come up: $(tail -n 3 "$dir/slurmctld.log" "$dir/slurmd.log" 2>/dev/null | tr '\n' ' ')"
  return 1
}
