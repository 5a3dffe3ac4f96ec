#!/usr/bin/env bash
# Time from a Ctrl+` press to the next account's Claude being the active window, under Xvfb +
# openbox with two accounts open on the stand-in Claude. Median of RUNS presses (default 20).
#   bench/cycle_latency.sh build/release [RUNS]
# Target: under 180 ms, so the first front-switching strategy's own check already sees it.
set -euo pipefail

build=$(cd "${1:?usage: bench/cycle_latency.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-20}
export VARROW_BIN="$build/src/varrow" VARROW_STANDIN_BUNDLE="$build/standin/Claude.app"
source "$(dirname "$0")/../tests/e2e/lib/common.bash"

start_x
setup_home
write_profiles "Work" "Home"
start_varrow
for name in Work Home; do "$VARROW_BIN" open "$name"; done
for name in Work Home; do wait_for 30 "$name to run" is_running "$name"; done
work_pid=$(pid_for_data_dir "$VARROW_HOME/Accounts/work/Desktop")
home_pid=$(pid_for_data_dir "$VARROW_HOME/Accounts/home/Desktop")
"$VARROW_BIN" open Work
wait_for 10 "Work in front" sh -c '[ "$("$0" front)" = Work ]' "$VARROW_BIN"
sleep 1.5  # past the focus hand-off

now_ms() { echo $(($(date +%s%N) / 1000000)); }
times=()
for ((i = 0; i < runs; i++)); do
  before=$(active_pid)
  [ "$before" = "$work_pid" ] && target=$home_pid || target=$work_pid
  start=$(now_ms)
  xdotool key ctrl+grave
  until [ "$(active_pid)" = "$target" ]; do
    (($(now_ms) - start > 5000)) && fail "press $i: the next account did not come forward"
    sleep 0.002
  done
  times+=($(($(now_ms) - start)))
  sleep 1.5  # let the chain's checks and the hand-off window finish
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(echo "$sorted" | sed -n "$(((runs + 1) / 2))p")
echo "cycle to front: median ${median} ms over $runs presses (min $(echo "$sorted" | head -1), max $(echo "$sorted" | tail -1))"
