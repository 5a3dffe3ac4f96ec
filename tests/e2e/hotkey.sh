#!/usr/bin/env bash
# The cycle key under Xvfb + openbox: held only while Claude is in front (a window whose owner is
# unknown, or no window at all, gets the key and nothing cycles), the key left of 1 on a German
# layout, and the key followed to another keycode when the keyboard map is replaced.
source "$(dirname "$0")/lib/common.bash"
for tool in xev setxkbmap xkbcomp; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/setup installs it)"; exit 1; }
done

start_x
setup_home

setxkbmap us

write_profiles "Work"
start_varrow
for name in "My Claude" Work; do "$VARROW_BIN" open "$name"; done
for name in "My Claude" Work; do wait_for 30 "$name to run" is_running "$name"; done
default_pid=$(pid_for_data_dir "") || fail "no stand-in on Claude's own data"
work_pid=$(pid_for_data_dir "$VARROW_HOME/Accounts/work/Desktop") || fail "no stand-in on Work's data folder"

front_is() { [ "$("$VARROW_BIN" front)" = "$1" ] && [ "$(active_pid)" = "$2" ]; }
nothing_in_front() { [ "$("$VARROW_BIN" front)" = "-" ]; }
# A switch ends with one result line in the switch log; until then its check may still run and
# bring Work back over whatever the test activates next.
switch_log="$HOME/.local/state/Varrow/switch.log"
switch_results() { if [ -f "$switch_log" ]; then grep -cE ": (ok via|FAILED)" "$switch_log" || true; else echo 0; fi; }
more_results_than() { (($(switch_results) > $1)); }
work_in_front() {
  local before
  before=$(switch_results)
  "$VARROW_BIN" open Work
  wait_for 10 "Work in front" front_is Work "$work_pid"
  wait_for 10 "the switch to Work to end" more_results_than "$before"
}

# A window without _NET_WM_PID, as older X programs and remote windows have; it logs its keys.
xev -name "no pid" -event keyboard >"$work/xev.log" 2>&1 &
track $!
wait_for 10 "the window without a pid" xdotool search --name "^no pid$"
nopid=$(xdotool search --name "^no pid$" | head -n1)
xprop -id "$nopid" _NET_WM_PID | grep -q "not found" || fail "xev's window has a _NET_WM_PID"

work_in_front
xdotool windowactivate "$nopid"
wait_for 10 "Varrow to see that Claude left the front" nothing_in_front
xdotool key ctrl+grave
wait_for 5 "Ctrl+\` to reach the window without a pid" grep -aq "keycode 49 (keysym 0x60, grave)" "$work/xev.log"
[ "$(xdotool getactivewindow)" = "$nopid" ] && nothing_in_front || fail "Ctrl+\` cycled from the window without a pid"
echo "ok: a window without a pid in front gets Ctrl+\`"

# No active window at all: an empty desktop.
work_in_front
xdotool set_desktop 1
wait_for 10 "no active window" sh -c 'xprop -root _NET_ACTIVE_WINDOW | grep -q "# 0x0$"'
wait_for 10 "Varrow to see nothing in front" nothing_in_front
xdotool key ctrl+grave
sleep 1  # a cycle would have activated a Claude window by now
xprop -root _NET_ACTIVE_WINDOW | grep -q "# 0x0$" && nothing_in_front || fail "Ctrl+\` cycled with no window active"
echo "ok: no active window, nothing cycles"
xdotool set_desktop 0  # Claude's windows are unmapped on another desktop

# German layout: the key left of 1 prints ^ and is still the cycle key (X keycode 49 is that key).
setxkbmap de
work_in_front
xdotool key ctrl+49
wait_for 5 "Ctrl+^ to bring My Claude forward" front_is "My Claude" "$default_pid"
echo "ok: Ctrl+^ cycles on a German layout"

# A keyboard whose key left of 1 sends another keycode replaces the map while the key is held.
cat >"$work/moved.xkb" <<'EOF'
xkb_keymap {
  xkb_keycodes { include "evdev+aliases(qwerty)" <TLDE> = 97; <AB11> = 49; };
  xkb_types { include "complete" };
  xkb_compat { include "complete" };
  xkb_symbols { include "pc+us+inet(evdev)" };
};
EOF
xkbcomp -w0 "$work/moved.xkb" "$DISPLAY" || fail "xkbcomp could not load the moved map"
# The new grab follows the map change within moments; a press before it reaches Claude and is
# simply pressed again, while a switch that started lands well inside the wait.
for attempt in 1 2 3; do
  xdotool key ctrl+grave  # now keycode 97
  front_is Work "$work_pid" && break
  deadline=$((SECONDS + 5))
  until front_is Work "$work_pid" || ((SECONDS >= deadline)); do sleep 0.1; done
  front_is Work "$work_pid" && break
done
front_is Work "$work_pid" || fail "Ctrl+\` stopped cycling after the keyboard map changed"
echo "ok: Ctrl+\` still cycles after the keyboard map moved the key"

echo "PASS"
