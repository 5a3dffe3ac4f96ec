#!/usr/bin/env bash
# Claude control for real under Xvfb + openbox: three accounts open side by side on their own data
# folders, Ctrl+` cycling forward and back (and not at all while Claude is not in front), a copy
# started by hand on the wrong data folder caught and relaunched, and a quit followed.
source "$(dirname "$0")/lib/common.bash"

start_x
setup_home
write_profiles "Work" "Home"
start_varrow

accounts="$VARROW_HOME/Accounts"
for name in "My Claude" Work Home; do "$VARROW_BIN" open "$name"; done
for name in "My Claude" Work Home; do wait_for 30 "$name to run" is_running "$name"; done
echo "ok: three accounts running"

# Each on its own data folder, with Claude Code pointed at the account's own configuration.
default_pid=$(pid_for_data_dir "") || fail "no stand-in on Claude's own data"
work_pid=$(pid_for_data_dir "$accounts/work/Desktop") || fail "no stand-in on Work's data folder"
home_pid=$(pid_for_data_dir "$accounts/home/Desktop") || fail "no stand-in on Home's data folder"
[ "$(standin_pids | wc -l)" -eq 3 ] || fail "expected three stand-ins, found: $(standin_pids | tr '\n' ' ')"
[ "$(environment_of "$work_pid" CLAUDE_CONFIG_DIR)" = "$accounts/work/Code" ] || fail "Work's CLAUDE_CONFIG_DIR"
[ "$(environment_of "$home_pid" CLAUDE_CONFIG_DIR)" = "$accounts/home/Code" ] || fail "Home's CLAUDE_CONFIG_DIR"
[ -z "$(environment_of "$default_pid" CLAUDE_CONFIG_DIR)" ] || fail "the default account got a CLAUDE_CONFIG_DIR"
[[ "$(readlink "/proc/$work_pid/exe")" == "$VARROW_HOME/Apps/Claude Work.app/"* ]] || fail "Work does not run its copy"
[ -f "$accounts/work/Desktop/standin-state.json" ] || fail "Work's stand-in wrote no state"
grep -q '"autoUpdatesDisabled": true' "$accounts/work/Desktop/standin-state.json" || fail "Work's copy may update itself"
echo "ok: data folders, CLAUDE_CONFIG_DIR and update policy"

front_is() { [ "$("$VARROW_BIN" front)" = "$1" ] && [ "$(active_pid)" = "$2" ]; }

# Cycling follows the list order: My Claude, Work, Home.
"$VARROW_BIN" open Work
wait_for 10 "Work in front" front_is Work "$work_pid"
xdotool key ctrl+grave
wait_for 5 "Ctrl+\` to bring Home forward" front_is Home "$home_pid"
xdotool key ctrl+grave
wait_for 5 "Ctrl+\` to wrap round to My Claude" front_is "My Claude" "$default_pid"
xdotool key ctrl+shift+grave
wait_for 5 "Ctrl+Shift+\` to go back to Home" front_is Home "$home_pid"
echo "ok: cycling forward and backward"

log="$HOME/.local/state/Varrow/switch.log"
wait_for 5 "switch log lines" grep -q "ok via" "$log"
echo "ok: switch log has $(grep -c "ok via" "$log") \"ok via\" lines"

# With Varrow's own window in front the key is not Varrow's: nothing cycles. (Activating Varrow
# within the 1.2 s focus hand-off after a switch hands the focus back to Claude, so wait that out.)
sleep 1.5
"$VARROW_BIN" show
wait_for 10 "Varrow in front" sh -c '[ "$("$0" front)" = "-" ]' "$VARROW_BIN"
xdotool key ctrl+grave
sleep 1
[ "$("$VARROW_BIN" front)" = "-" ] || fail "Ctrl+\` cycled while Claude was not in front"
echo "ok: no cycling while Claude is not in front"

# Quitting an account is followed.
kill "$work_pid"
wait_for 15 "Work to stop" is_stopped Work
is_running Home || fail "Home stopped with Work"
echo "ok: quit followed"

# Home's copy started by hand on no data folder: force-quit and started again on Home's folder.
# (With My Claude running on that default folder the stray would hand over to it and exit at
# once, as Claude does, so My Claude quits first.)
kill "$home_pid" "$default_pid"
wait_for 15 "Home to stop" is_stopped Home
wait_for 15 "My Claude to stop" is_stopped "My Claude"
"$VARROW_HOME/Apps/Claude Home.app/claude-desktop" >/dev/null 2>&1 &
stray=$!
wait_for 20 "the stray copy to be force-quit" sh -c '! [ -e /proc/$0 ] || grep -q "^State:[[:space:]]*Z" /proc/$0/status' "$stray"
wait_for 20 "Home to be relaunched on its folder" pid_for_data_dir "$accounts/home/Desktop"
wait_for 15 "Home to run again" is_running Home
wait "$stray" 2>/dev/null || true
echo "ok: wrongly started copy relaunched on its own folder"

echo "PASS"
