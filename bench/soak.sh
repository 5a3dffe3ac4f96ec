#!/usr/bin/env bash
# A long day of use, compressed: the real binary under Xvfb + openbox with a tray host (trayer),
# three accounts on the stand-in Claude; SWITCHES switches (every other one by Ctrl+`, the rest by
# "varrow cycle"), LOOPS quit/reopen loops of one account and OPENS opens of an account already
# open. Prints Varrow's RSS, open file descriptors, threads and switch log size before and after.
#   bench/soak.sh BUILD_DIR [SWITCHES] [LOOPS] [OPENS]
# Target: RSS growth under 2 MB over 600 switches, 40 loops and 20 opens; no descriptor or
# thread left behind.
set -euo pipefail

build=$(cd "${1:?usage: bench/soak.sh BUILD_DIR [SWITCHES] [LOOPS] [OPENS]}" && pwd)
switches=${2:-600} loops=${3:-40} opens=${4:-20}
source "$(dirname "$0")/lib/bench.bash"
source "$(dirname "$0")/lib/tray_session.bash"
source "$(dirname "$0")/../tests/e2e/lib/compositor.bash"

start_tray_session
start_varrow
names=("Work" "Home" "Side Project")
dirs=("$VARROW_HOME/Accounts/work/Desktop" "$VARROW_HOME/Accounts/home/Desktop" "$VARROW_HOME/Accounts/side-project/Desktop")
"$VARROW_BIN" open "${names[@]}"
for name in "${names[@]}"; do wait_for 30 "$name to run" is_running "$name"; done
"$VARROW_BIN" open Work
wait_for 10 "Work in front" standin_active "${dirs[0]}"
sleep 2  # past the hand-off and the first looks at the new processes
log="$XDG_STATE_HOME/Varrow/switch.log"

figures() {
  local rss fds threads size
  rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$varrow_pid/status")
  fds=$(find "/proc/$varrow_pid/fd" -mindepth 1 | wc -l)
  threads=$(find "/proc/$varrow_pid/task" -mindepth 1 -maxdepth 1 | wc -l)
  size=$(($(stat -c %s "$log" 2>/dev/null || echo 0) + $(stat -c %s "$log.1" 2>/dev/null || echo 0)))
  echo "$rss $fds $threads $size"
}
front_index() {
  local i
  for i in 0 1 2; do standin_active "${dirs[i]}" && { echo "$i"; return; }; done
  echo -1
}
read -r rss0 fds0 threads0 log0 < <(figures)

missed=0
for ((i = 0; i < switches; i++)); do
  from=$(front_index)
  ((from >= 0)) || { "$VARROW_BIN" open Work; wait_for 10 "Work in front" standin_active "${dirs[0]}"; from=0; }
  target=${dirs[$(((from + 1) % 3))]}
  if ((i % 2)); then xdotool key ctrl+grave; else "$VARROW_BIN" cycle; fi
  deadline=$((SECONDS + 5))
  until standin_active "$target"; do
    ((SECONDS < deadline)) || { missed=$((missed + 1)); break; }
    sleep 0.01
  done
done
for ((i = 0; i < loops; i++)); do
  "$VARROW_BIN" quit "Side Project"
  wait_for 15 "Side Project to quit" is_stopped "Side Project"
  "$VARROW_BIN" open "Side Project"
  wait_for 15 "Side Project to run" is_running "Side Project"
done
for ((i = 0; i < opens; i++)); do
  # Both are open: each open only brings one forward.
  if ((i % 2)); then name=Work dir=${dirs[0]}; else name=Home dir=${dirs[1]}; fi
  "$VARROW_BIN" open "$name"
  wait_for 10 "$name in front" standin_active "$dir"
done
sleep 3  # the last hand-off and scans settle
read -r rss1 fds1 threads1 log1 < <(figures)

echo "soak: $switches switches ($missed not seen in front within 5 s), $loops quit/reopen loops, $opens opens of open accounts"
printf '%-18s %10s %10s %10s\n' "" before after growth
printf '%-18s %10.1f %10.1f %+10.2f   (target < +2 MB)\n' "RSS (MB)" "$(bc -l <<<"$rss0/1024")" "$(bc -l <<<"$rss1/1024")" "$(bc -l <<<"($rss1-$rss0)/1024")"
printf '%-18s %10d %10d %+10d\n' "file descriptors" "$fds0" "$fds1" $((fds1 - fds0))
printf '%-18s %10d %10d %+10d\n' "threads" "$threads0" "$threads1" $((threads1 - threads0))
printf '%-18s %10d %10d %+10d   (bounded at 2 x 256 KiB)\n' "switch log (bytes)" "$log0" "$log1" $((log1 - log0))
