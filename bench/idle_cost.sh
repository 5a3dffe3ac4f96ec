#!/usr/bin/env bash
# Idle cost of the real binary as the machine's process count grows: Varrow offscreen with ten
# accounts, two of them open on the stand-in Claude, and 100, 1,000 and 3,000 extra idle
# processes. For the process watcher in use and for the former polling one
# (VARROW_BENCH_POLLING=1), it reports:
#   - CPU time over the idle window (utime + stime ticks of /proc/PID/stat), and as % of a core;
#   - wake-ups of the main thread per second (voluntary_ctxt_switches of /proc/PID/status);
#   - the time from the exec of a stand-in Claude started by hand to Varrow's reaction to its
#     launch (the wrong-account catch's debug line), median over LAUNCHES starts.
#   bench/idle_cost.sh build/release [SECONDS] [LAUNCHES] [COUNTS]
# Targets: under 0.1 % of a core at 1,000 and 3,000 processes; launch seen in under 600 ms.
set -euo pipefail

build=$(cd "${1:?usage: bench/idle_cost.sh BUILD_DIR [SECONDS] [LAUNCHES] [COUNTS]}" && pwd)
seconds=${2:-30}
launches=${3:-20}
counts=${4:-"100 1000 3000"}
source "$(dirname "$0")/lib/bench.bash"

setup_home
unset DISPLAY
export QT_QPA_PLATFORM=offscreen
write_profiles Work Home Research Writing Travel Family Side Studio Lab
mkdir -p "$XDG_CONFIG_HOME/Varrow" && printf '[General]\ndidSetUpLoginItem=true\n' >"$XDG_CONFIG_HOME/Varrow/Varrow.conf"
tick=$(getconf CLK_TCK)

idle=()
add_idle() {
  local i
  for ((i = 0; i < $1; i++)); do
    sleep 1000000 &
    idle+=($!)
    track $!
  done
}

stamped="$work/stamped.log"
start_watcher() {
  : >"$stamped"
  # Each line Varrow writes is stamped as it arrives.
  env VARROW_DEBUG=1 "$@" "$VARROW_BIN" 2> >(while IFS= read -r line; do printf '%s %s\n' "$EPOCHREALTIME" "$line"; done >>"$stamped") >/dev/null &
  varrow_pid=$!
  wait_for 15 "Varrow to answer" "$VARROW_BIN" list
  "$VARROW_BIN" open Work
  "$VARROW_BIN" open Home
  wait_for 30 "Work to run" is_running Work
  wait_for 30 "Home to run" is_running Home
}

stop_all() {
  stop_varrow
  local pid
  for pid in $(standin_pids); do kill -9 "$pid" 2>/dev/null || true; done
  sleep 0.5
}

field() { awk -v k="$2:" '$1 == k { print $2 }' "/proc/$1/status"; }
cpu_ticks() { awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }

measure_idle() {
  sleep 12 # the start-up settled, and the new instances' window checks (up to 9 s) ended
  local t0 w0 t1 w1
  t0=$(cpu_ticks "$varrow_pid")
  w0=$(field "$varrow_pid" voluntary_ctxt_switches)
  sleep "$seconds"
  t1=$(cpu_ticks "$varrow_pid")
  w1=$(field "$varrow_pid" voluntary_ctxt_switches)
  local ticks=$((t1 - t0))
  idle_line=$(awk -v t="$ticks" -v s="$seconds" -v hz="$tick" -v w=$((w1 - w0)) \
    'BEGIN { printf "%3d ticks in %d s = %.3f %% of a core, %5.2f wake-ups/s", t, s, 100 * t / (s * hz), w / s }')
}

measure_launches() {
  local copy_exe i pid start seen times=()
  copy_exe=$(readlink "/proc/$(pid_for_data_dir "$VARROW_HOME/Accounts/work/Desktop")/exe")
  for ((i = 0; i < launches; i++)); do
    sleep "0.$((RANDOM % 500 + 500))" # a launch at no particular moment of the watcher's period
    (
      printf '%s\n' "$EPOCHREALTIME" >"$work/exec-time"
      exec "$copy_exe"
    ) &
    pid=$!
    local deadline=$((SECONDS + 10))
    until seen=$(grep -m1 "wrong account: pid $pid " "$stamped"); do
      ((SECONDS < deadline)) || fail "launch $i (pid $pid) was not noticed"
      sleep 0.05
    done
    { wait "$pid"; } 2>/dev/null || true
    start=$(cat "$work/exec-time")
    times+=($(awk -v a="$start" -v b="${seen%% *}" 'BEGIN { printf "%d", (b - a) * 1000 }'))
  done
  local sorted
  sorted=$(printf '%s\n' "${times[@]}" | sort -n)
  launch_line=$(echo "$sorted" | awk '{ a[NR] = $1 } END { m = (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2; printf "launch seen: median %d ms (min %d, max %d, %d starts)", m, a[1], a[NR], NR }')
}

echo "idle cost over ${seconds} s, 10 accounts, 2 open; $(nproc) cores, CLK_TCK=$tick; started $(date -u +%FT%TZ)"
have=0
for count in $counts; do
  add_idle $((count - have))
  have=$count
  processes=$(ls /proc | grep -c '^[0-9]')
  for watcher in events polling; do
    if [ "$watcher" = polling ]; then start_watcher VARROW_BENCH_POLLING=1; else start_watcher; fi
    measure_idle
    measure_launches
    printf '+%-5d extra (%5d processes) %-8s %s; %s\n' "$count" "$processes" "$watcher" "$idle_line" "$launch_line"
    stop_all
  done
done
