#!/usr/bin/env bash
# Claude as a native Wayland client on headless KWin, switched through KWin's scripting interface:
# every account's Claude runs natively, opening a running account brings it forward and Varrow
# knows which is in front, Ctrl+` cycles, wraps and goes back, a native window that is not Claude is
# left alone, a copy started by hand on no data folder is still caught, and no other program of
# the session can tell Varrow what is in front. The key is KDE's own global shortcut, bound through
# the desktop portal without opening KDE's settings.
source "$(dirname "$0")/lib/common.bash"
source "$(dirname "$0")/lib/compositor.bash"

setup_home
use_native_claude_package
start_compositor kwin
start_kde_portal
write_profiles "Work" "Home"
start_varrow
use_kde_shortcuts
run_native_switching_checks
[ ! -s "$work/opened" ] || fail "binding the shortcuts opened $(cat "$work/opened")"
echo "ok: the cycle key is KDE's own shortcut, bound without a settings window"

# Varrow hears KWin's script on the session bus; another program of the session that tells it
# another account is in front is not believed.
for name in $(bus_call ListNames | grep -o "':[0-9.]*'" | tr -d "'"); do
  [ "$(bus_call GetConnectionUnixProcessID "$name" 2>/dev/null | sed 's/.*uint32 \([0-9]*\).*/\1/')" = "$varrow_pid" ] && varrow_bus=$name
done
[ -n "${varrow_bus:-}" ] || fail "Varrow is not on the session bus"
front=$("$VARROW_BIN" front)
[ "$front" = Home ] && other=${dirs[1]} || other=${dirs[2]}
gdbus call --session -d "$varrow_bus" -o /KWinWindows -m org.varrow.KWinWindows.activated \
  "$(pid_for_data_dir "$other")" >/dev/null
sleep 0.5  # the call is answered at once; this leaves the front time to change, were it believed
[ "$("$VARROW_BIN" front)" = "$front" ] || fail "a call from outside KWin moved the front to $("$VARROW_BIN" front)"
echo "ok: only KWin's word about the front counts"
echo "PASS"
