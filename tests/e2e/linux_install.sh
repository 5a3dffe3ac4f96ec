#!/usr/bin/env bash
# Claude installed as its Linux package (the stand-in as its "Electron", an Electron archive with
# the version): two accounts opened from the command line with their own data folders, window
# classes and launcher entries, cycling, and an upgrade that refreshes a stopped account's copy but
# leaves a running one alone.
source "$(dirname "$0")/lib/common.bash"

start_x
setup_home
install_package 1.0.0  # the version the upgrade below starts from

write_profiles "Work" "Home"
start_varrow

accounts="$VARROW_HOME/Accounts"
apps="$VARROW_HOME/Apps"
"$VARROW_BIN" open Work Home
for name in Work Home; do wait_for 30 "$name to run" is_running "$name"; done
echo "ok: two accounts opened with one command"

work_pid=$(pid_for_data_dir "$accounts/work/Desktop") || fail "no Claude on Work's data folder"
home_pid=$(pid_for_data_dir "$accounts/home/Desktop") || fail "no Claude on Home's data folder"
[ "$(readlink "/proc/$work_pid/exe")" = "$apps/Claude Work.app/claude-desktop" ] || fail "Work does not run its copy"
[ "$(readlink "/proc/$home_pid/exe")" = "$apps/Claude Home.app/claude-desktop" ] || fail "Home does not run its copy"
[ "$(environment_of "$work_pid" CLAUDE_CONFIG_DIR)" = "$accounts/work/Code" ] || fail "Work's CLAUDE_CONFIG_DIR"
[ "$(readlink "$apps/Claude Work.app/resources")" = "$lib/resources" ] || [ ! -L "$apps/Claude Work.app/resources" ] ||
  fail "Work's copy does not use the package's resources"

wait_for 15 "Work's window" wm_class "$work_pid"
wait_for 15 "Home's window" wm_class "$home_pid"
work_class=$(wm_class "$work_pid")
home_class=$(wm_class "$home_pid")
[[ "$work_class" == varrow-claude-work-* ]] || fail "Work's window class is \"$work_class\""
[[ "$home_class" == varrow-claude-home-* ]] || fail "Home's window class is \"$home_class\""
# names_class COPY CLASS: the copy's own archive names the class, as Electron reads it.
names_class() { grep -aqE "\"desktopName\": *\"$2\\.desktop\"" "$apps/$1/resources/app.asar"; }
names_class "Claude Work.app" "$work_class" || fail "Work's archive does not name $work_class"
echo "ok: window classes $work_class and $home_class, named in the copies' archives"

entries="$XDG_DATA_HOME/applications"
work_entry="$entries/$work_class.desktop"
[ -f "$work_entry" ] || fail "no launcher entry for Work: $(ls "$entries" 2>/dev/null | tr '\n' ' ')"
[ -f "$entries/$home_class.desktop" ] || fail "no launcher entry for Home"
grep -qx "Name=Claude Work" "$work_entry" || fail "Work's entry is not named Claude Work"
grep -qx "StartupWMClass=$work_class" "$work_entry" || fail "Work's entry names another class"
grep -q "^Exec=.* open Work$" "$work_entry" || fail "Work's entry does not open Work through Varrow"
icon=$(sed -n 's/^Icon=//p' "$work_entry")
[ -f "$icon" ] && [ "$(png_size "$icon")" != "0x0" ] || fail "Work's entry has no icon file ($icon)"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$work_entry" || fail "Work's entry is not a valid desktop entry"
fi
echo "ok: launcher entries with their own names, classes and icons"

front_is() { [ "$("$VARROW_BIN" front)" = "$1" ] && [ "$(active_pid)" = "$2" ]; }
"$VARROW_BIN" open Work
wait_for 10 "Work in front" front_is Work "$work_pid"
xdotool key ctrl+grave
wait_for 5 "Ctrl+\` to bring Home forward" front_is Home "$home_pid"
xdotool key ctrl+grave
wait_for 5 "Ctrl+\` to go back to Work" front_is Work "$work_pid"
echo "ok: cycling between the two"

# With its window closed, opening Work asks its Claude to show one by starting it again on its
# folder: that start has Work's own environment, so had the instance quit meanwhile it would still
# be Work's Claude.
kill -USR2 "$work_pid"
wait_for 10 "Work's window to close" sh -c '! xdotool search --onlyvisible --pid "$0" >/dev/null' "$work_pid"
"$VARROW_BIN" open Work
wait_for 10 "Work's window to show again" xdotool search --onlyvisible --pid "$work_pid"
wait_for 10 "the later start to reach Work" sh -c '[ "$(jq -r ".laterConfigDirs[-1]" "$0/standin-state.json")" = "$1" ]' \
  "$accounts/work/Desktop" "$accounts/work/Code"
echo "ok: reopening Work starts it again with Work's own environment"

[ "$("$VARROW_BIN" command Work)" = "CLAUDE_CONFIG_DIR=\"$accounts/work/Code\" claude" ] || fail "varrow command Work"
status=0
"$VARROW_BIN" open Nobody 2>"$work/err" || status=$?
[ "$status" -eq 1 ] && grep -q "no account named “Nobody”" "$work/err" || fail "open Nobody gave $status: $(cat "$work/err")"
status=0
"$VARROW_BIN" command 2>/dev/null || status=$?
[ "$status" -eq 2 ] || fail "a usage error gave $status"
echo "ok: command line replies and exit codes"

# Home quits; the package is upgraded while Work runs.
"$VARROW_BIN" quit Home
wait_for 15 "Home to stop" is_stopped Home
work_inode=$(stat -c %i "$apps/Claude Work.app/claude-desktop")
install_package 2.0.0
"$VARROW_BIN" open Home
wait_for 30 "Home to run again" is_running Home
grep -q '"sourceVersion":"2.0.0"' "$apps/.Claude Home.app.json" || fail "Home's copy was not refreshed: $(cat "$apps/.Claude Home.app.json")"
grep -aqE '"version": *"2\.0\.0"' "$apps/Claude Home.app/resources/app.asar" && names_class "Claude Home.app" "$home_class" ||
  fail "Home's refreshed copy does not carry the new archive under its own class"
"$VARROW_BIN" open Work
sleep 1
grep -q '"sourceVersion":"1.0.0"' "$apps/.Claude Work.app.json" || fail "Work's running copy was touched"
[ "$(stat -c %i "$apps/Claude Work.app/claude-desktop")" = "$work_inode" ] || fail "Work's running copy was replaced"
is_live "$work_pid" || fail "Work stopped during the upgrade"
echo "ok: upgrade refreshed the stopped copy and left the running one alone"

# Once Work has quit, its next opening refreshes it too.
"$VARROW_BIN" quit Work
wait_for 15 "Work to stop" is_stopped Work
"$VARROW_BIN" open Work
wait_for 30 "Work to run again" is_running Work
grep -q '"sourceVersion":"2.0.0"' "$apps/.Claude Work.app.json" || fail "Work's copy was not refreshed after it quit"
echo "ok: the copy that was running is refreshed after it quit"
check_menu_claude_after_copies_started "$accounts/work/Desktop" "$accounts/home/Desktop"
echo "PASS"
