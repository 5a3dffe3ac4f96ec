#!/usr/bin/env bash
# How often Varrow wakes up with nothing happening: Xvfb + openbox, Claude's package (the
# stand-in) with three accounts open and Work in front, then SECONDS of rest. Counts every thread's
# context switches (voluntary and not) and the CPU time Varrow used over that time.
#   bench/idle_wakeups.sh BUILD_DIR [SECONDS]
set -euo pipefail

build=$(cd "${1:?usage: bench/idle_wakeups.sh BUILD_DIR [SECONDS]}" && pwd)
rest=${2:-30}
source "$(dirname "$0")/lib/bench.bash"

start_x
setup_home
write_profiles "Work" "Home" "Side"
start_varrow
"$VARROW_BIN" open Work Home Side
for name in Work Home Side; do wait_for 30 "$name to run" is_running "$name"; done
"$VARROW_BIN" open Work
sleep 3  # past the switch, the focus hand-off and the scanner's looks at the new processes

# "tid count" for each thread: a thread that ends meanwhile (a pool's idle worker) must not take
# its earlier switches out of the sum.
switches() {
  local task n
  for task in /proc/"$varrow_pid"/task/*; do
    n=$(awk '/ctxt_switches/ { s += $2 } END { print s }' "$task/status" 2>/dev/null) || continue
    echo "${task##*/} $n"
  done
}
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$varrow_pid/stat"; }

before=$(switches)
ticks=$(cpu_ticks)
sleep "$rest"
after=$(switches)
used=$(($(cpu_ticks) - ticks))
# Threads alive at both ends count their difference, new ones all of theirs, ended ones one (their end).
n=$(awk 'NR == FNR { was[$1] = $2; next } { n += $2 - ($1 in was ? was[$1] : 0); seen[$1] = 1 }
         END { for (t in was) if (!(t in seen)) n++; print n }' <(echo "$before") <(echo "$after"))
awk -v n="$n" -v s="$rest" -v t="$used" -v hz="$(getconf CLK_TCK)" \
  'BEGIN { printf "wake-ups at rest: %d in %d s (%.2f a second); CPU %.0f ms\n", n, s, n / s, 1000 * t / hz }'
