#!/usr/bin/env bash
# Start-up time of the real binary to its window being shown, and its idle memory, under Xvfb +
# openbox with a private home and three accounts. Run against a Release build:
#   bench/startup.sh build/release [RUNS]
# Targets: window shown in under 400 ms, idle RSS under 80 MB.
set -euo pipefail

build=$(cd "${1:?usage: bench/startup.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-10}
source "$(dirname "$0")/lib/bench.bash"

start_x
setup_home
write_profiles "Work" "Home" "Side Project"
# A run that has already registered its login item, as on every start after the first.
mkdir -p "$XDG_CONFIG_HOME/Varrow" && printf '[General]\ndidSetUpLoginItem=true\n' >"$XDG_CONFIG_HOME/Varrow/Varrow.conf"

now_ms() { echo $(($(date +%s%N) / 1000000)); }
window_shown() { xdotool search --onlyvisible --name '^Varrow$' >/dev/null 2>&1; }

times=()
for ((i = 0; i < runs; i++)); do
  start=$(now_ms)
  "$VARROW_BIN" >>"$work/varrow.log" 2>&1 &
  varrow_pid=$!
  until window_shown; do
    kill -0 "$varrow_pid" 2>/dev/null || fail "varrow exited during start-up"
    sleep 0.005
  done
  times+=($(($(now_ms) - start)))
  if ((i == runs - 1)); then
    sleep 5  # idle: the window drawn, the scans settled
    rss_kb=$(awk '/^VmRSS/ { print $2 }' "/proc/$varrow_pid/status")
  fi
  stop_varrow
done

sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(echo "$sorted" | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : int((a[NR / 2] + a[NR / 2 + 1]) / 2) }')
echo "start-up to window shown: median ${median} ms, min $(echo "$sorted" | head -n1) ms, max $(echo "$sorted" | tail -n1) ms over $runs runs (target < 400 ms)"
echo "idle RSS after 5 s: $((rss_kb / 1024)) MB (${rss_kb} kB; target < 80 MB)"
