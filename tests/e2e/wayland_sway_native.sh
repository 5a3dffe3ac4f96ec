#!/usr/bin/env bash
# Claude as a native Wayland client on headless sway, switched through the compositor's toplevel
# list: every account's Claude runs natively with its own app id, opening a running account brings
# it forward, a key bound in sway to "varrow cycle" cycles, wraps and goes back, a native window
# that is not Claude is left alone, and a copy started by hand on no data folder is still caught.
# Varrow is not told sway's command socket, so it takes the route every wlroots compositor offers.
source "$(dirname "$0")/lib/common.bash"
source "$(dirname "$0")/lib/compositor.bash"
source "$(dirname "$0")/lib/package.bash"

setup_home
use_native_claude_package
bind_cycle_key_in_sway
start_compositor sway
write_profiles "Work" "Home"
start_varrow SWAYSOCK= I3SOCK=
open_three_accounts wayland
echo "ok: every account's Claude is a native Wayland client"

for i in 1 0 2; do
  before=$(switch_results)
  "$VARROW_BIN" open "${names[i]}"
  wait_for 10 "${names[i]} in front" standin_active "${dirs[i]}"
  wait_for 10 "the switch to ${names[i]} to end" more_results_than "$before"
  standin_active "${dirs[i]}" || fail "${names[i]} lost the front as its switch ended"
  [ "$("$VARROW_BIN" front)" = "${names[i]}" ] || fail "Varrow believes $("$VARROW_BIN" front) is in front, not ${names[i]}"
done
grep -q ": ok via window-server" "$XDG_STATE_HOME/Varrow/switch.log" ||
  fail "no switch went through the toplevel list: $(tail -n 5 "$XDG_STATE_HOME/Varrow/switch.log")"
echo "ok: opening a running native account brings it to the front, and Varrow knows which is in front"

# Home is in front: the key goes to My Claude (wrapping), then Work, then back to My Claude.
for step in "0 forward" "1 forward" "0 back"; do
  read -r i way <<<"$step"
  before=$(switch_results)
  press_cycle_key "$([ "$way" = back ] && echo back)"
  wait_for 10 "the $way key to bring ${names[i]} forward" standin_active "${dirs[i]}"
  wait_for 10 "the switch to ${names[i]} to end" more_results_than "$before"
done
echo "ok: a key bound to varrow cycle cycles forward, wraps and goes back"

check_native_window_left_alone "${dirs[@]}"

# Home's copy started by hand on no data folder (and so with no app id of its own): quit and
# started again on Home's folder. My Claude quits first, or the stray would hand over to it.
home_pid=$(pid_for_data_dir "${dirs[2]}") || fail "no Claude on Home's data folder"
"$VARROW_BIN" quit Home
"$VARROW_BIN" quit "My Claude"
wait_for 15 "Home to stop" is_stopped Home
wait_for 15 "My Claude to stop" is_stopped "My Claude"
"$VARROW_HOME/Apps/Claude Home.app/claude-desktop" >/dev/null 2>&1 &
stray=$!
wait_for 20 "the stray copy to be quit" has_ended "$stray"
wait_for 20 "Home to be started again on its folder" pid_for_data_dir "${dirs[2]}"
wait_for 15 "Home to run again" is_running Home
wait "$stray" 2>/dev/null || true
echo "ok: a copy started by hand on no data folder is caught and started on its own"
echo "PASS"
