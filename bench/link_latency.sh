#!/usr/bin/env bash
# Time from `xdg-open claude://…` to the link being recorded by the account that asked (Work,
# last in front before another window), under Xvfb + openbox with Varrow as the claude: handler
# and two accounts open on the stand-in Claude. Median of RUNS links (default 10).
#   bench/link_latency.sh build/release [RUNS]
set -euo pipefail

build=$(cd "${1:?usage: bench/link_latency.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-10}
source "$(dirname "$0")/lib/bench.bash"

start_x
setup_home
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION GNOME_DESKTOP_SESSION_ID KDE_FULL_SESSION BROWSER
export XDG_DATA_DIRS="$work/share" XDG_CONFIG_DIRS="$work/etc"
write_profiles "Work"
start_varrow
wait_for 10 "Varrow to take the claude: handler" sh -c '[ "$(xdg-mime query default x-scheme-handler/claude)" = varrow-link.desktop ]'
"$VARROW_BIN" open "My Claude" Work
for name in "My Claude" Work; do wait_for 30 "$name to run" is_running "$name"; done
state="$VARROW_HOME/Accounts/work/Desktop/standin-state.json"
work_pid=$(pid_for_data_dir "$VARROW_HOME/Accounts/work/Desktop")
xmessage -title other-window "the browser" >/dev/null 2>&1 &
track $!
wait_for 15 "the other window" xdotool search --onlyvisible --name '^other-window$'
other=$(xdotool search --onlyvisible --name '^other-window$' | head -n1)

now_ms() { echo $(($(date +%s%N) / 1000000)); }
times=()
for ((i = 0; i < runs; i++)); do
  "$VARROW_BIN" open Work
  wait_for 10 "Work in front" sh -c '[ "$("$0" front)" = Work ]' "$VARROW_BIN"
  xdotool windowactivate "$other" 2>/dev/null || true
  wait_for 10 "the other window in front" sh -c '[ "$(xdotool getactivewindow)" = "$0" ]' "$other"
  link="claude://login/callback?code=bench$i"
  start=$(now_ms)
  xdg-open "$link"
  until grep -qF "\"$link\"" "$state"; do
    (($(now_ms) - start > 10000)) && fail "link $i did not reach Work"
    sleep 0.002
  done
  times+=($(($(now_ms) - start)))
done
[ "$(pid_for_data_dir "$VARROW_HOME/Accounts/work/Desktop")" = "$work_pid" ] || fail "Work's Claude was replaced"
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(echo "$sorted" | sed -n "$(((runs + 1) / 2))p")
echo "xdg-open to link recorded: median ${median} ms over $runs links (min $(echo "$sorted" | head -1), max $(echo "$sorted" | tail -1))"
