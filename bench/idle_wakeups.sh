#!/usr/bin/env bash
# How often Varrow wakes up with nothing happening: Xvfb + openbox, Claude's package (the
# stand-in) with two accounts open and Work in front, then SECONDS of rest. Counts every thread's
# context switches (voluntary and not) and the CPU time Varrow used over that time.
#   bench/idle_wakeups.sh BUILD_DIR [SECONDS]
set -euo pipefail

build=$(cd "${1:?usage: bench/idle_wakeups.sh BUILD_DIR [SECONDS]}" && pwd)
rest=${2:-30}
export VARROW_BIN="$build/src/varrow" VARROW_STANDIN_BUNDLE="$build/standin/Claude.app" VARROW_STANDIN_PACKAGE="$build/standin/package" VARROW_BUILD_DIR="$build"
source "$(dirname "$0")/../tests/e2e/lib/common.bash"

start_x
setup_home
write_profiles "Work" "Home"
start_varrow
"$VARROW_BIN" open Work Home
for name in Work Home; do wait_for 30 "$name to run" is_running "$name"; done
"$VARROW_BIN" open Work
sleep 3  # past the switch, the focus hand-off and the scanner's looks at the new processes

switches() {
  local total=0 task n
  for task in /proc/"$varrow_pid"/task/*/status; do
    n=$(awk '/ctxt_switches/ { s += $2 } END { print s }' "$task" 2>/dev/null) || continue
    total=$((total + n))
  done
  echo "$total"
}
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$varrow_pid/stat"; }

before=$(switches)
ticks=$(cpu_ticks)
sleep "$rest"
after=$(switches)
used=$(($(cpu_ticks) - ticks))
awk -v n=$((after - before)) -v s="$rest" -v t="$used" -v hz="$(getconf CLK_TCK)" \
  'BEGIN { printf "wake-ups at rest: %d in %d s (%.2f a second); CPU %.0f ms\n", n, s, n / s, 1000 * t / hz }'
