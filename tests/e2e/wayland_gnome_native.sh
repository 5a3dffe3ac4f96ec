#!/usr/bin/env bash
# GNOME Shell on Wayland (headless GNOME Shell 43): at the first login Varrow installs and enables
# its shell extension, which the running shell cannot load yet, so Claude still opens through
# Xwayland; an extension the user then turns off stays off. After the next login every account's
# Claude is a native Wayland window, all of them under the package's own app id as real Claudes
# are: opening a running account brings it forward (a minimized one too), the switcher panel shows
# above the Claude in front, Ctrl+` and "varrow cycle" cycle, wrap and go back, and with another
# native program in front Ctrl+` reaches that program and no account moves. The extension turned
# off and on while Varrow runs, and Varrow quitting, each leave the key to the program in front
# until Varrow is served again. "varrow uninstall" takes the extension away again.
source "$(dirname "$0")/lib/common.bash"
source "$(dirname "$0")/lib/compositor.bash"

uuid=varrow@varrow.github.io
is_enabled() { gsettings get org.gnome.shell enabled-extensions | grep -q "'$uuid'"; }

setup_home
extension="$XDG_DATA_HOME/gnome-shell/extensions/$uuid"
start_compositor gnome
write_profiles "Work" "Home"
start_varrow
wait_for 20 "Varrow to install its extension" test -s "$extension/metadata.json"
wait_for 20 "Varrow to enable its extension" is_enabled
wait_for 10 "Varrow to remember that it asked" grep -qx "gnomeExtensionOffered=true" "$XDG_CONFIG_HOME/Varrow/Varrow.conf"
grep -q '"43"' "$extension/metadata.json" || fail "the extension installed is not the build for GNOME Shell 43"
echo "ok: at the first login Varrow installs and enables its extension"

"$VARROW_BIN" open Work Home
for name in Work Home; do
  dir="$VARROW_HOME/Accounts/$(echo "$name" | tr A-Z a-z)/Desktop"
  wait_for 30 "$name to run" is_running "$name"
  wait_for 10 "$name's stand-in to record its state" test -s "$dir/standin-state.json"
  [ "$(standin_platform "$dir")" = xcb ] || fail "$name runs natively before the shell has loaded the extension"
  "$VARROW_BIN" quit "$name"
  wait_for 15 "$name to stop" is_stopped "$name"
  rm "$dir/standin-state.json"  # the next start's record, not this one's, counts below
done
# Their windows then carry the package's own app id, as every real Claude's do: the shell's
# answers go by process, not by app id.
give_copies_the_package_app_id Work Home
echo "ok: until the next login Claude opens through Xwayland, as before"

# The user turns the extension off by hand; Varrow, started again, leaves it off.
gsettings set org.gnome.shell enabled-extensions "[]"
gsettings set org.gnome.shell disabled-extensions "['$uuid']"
stop_varrow
start_varrow
sleep 2  # Varrow would have read the settings and enabled the extension again by now
! is_enabled || fail "Varrow enabled the extension again after the user turned it off"
gsettings get org.gnome.shell disabled-extensions | grep -q "'$uuid'" || fail "Varrow took the extension out of disabled-extensions"
echo "ok: an extension the user turned off stays off"

# The user turns it on again and logs out and in: the shell loads it at its start.
gsettings set org.gnome.shell disabled-extensions "[]"
gsettings set org.gnome.shell enabled-extensions "['$uuid']"
stop_varrow
stop_gnome
gnome_extensions=$uuid start_compositor gnome
start_varrow
open_three_accounts wayland
check_every_claude_has_the_package_app_id
echo "ok: after the next login every account's Claude is a native Wayland window, all under one app id"

open_each_running_account
grep -q ": ok via window-server" "$XDG_STATE_HOME/Varrow/switch.log" ||
  fail "no switch went through the window server: $(tail -n 5 "$XDG_STATE_HOME/Varrow/switch.log")"
echo "ok: opening a running account brings it forward, and Varrow knows which is in front"
# The shell lists its windows bottom to top: the switcher panel shows above the Claude in front.
gnome_windows | jq -e '.windows | (map(.title == "Varrow Switcher") | index(true)) as $panel
  | (map(.focused and .wayland) | index(true)) as $front | $panel != null and $front != null and $panel > $front' >/dev/null ||
  fail "the switcher panel is not above the Claude in front: $(gnome_windows | jq -c '[.windows[] | {title, focused}]')"
echo "ok: the switcher panel shows above the native Claude in front"

# A minimized account is restored by opening it.
work_pid=$(pid_for_data_dir "${dirs[1]}")
gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell/HeadlessProbe \
  --method org.gnome.Shell.HeadlessProbe.Minimize "$work_pid" >/dev/null
wait_for 10 "Work to be minimized" sh -c "$(declare -f gnome_windows); gnome_windows | jq -e '[.windows[] | select(.pid == $work_pid and .minimized)] | length == 1'"
"$VARROW_BIN" open Work
wait_for 10 "the minimized Work in front" standin_active "${dirs[1]}"
gnome_windows | jq -e "[.windows[] | select(.pid == $work_pid and .minimized)] | length == 0" >/dev/null ||
  fail "Work is in front but still minimized"
echo "ok: opening a minimized account restores it"

# Work is in front: the key goes to Home, then wraps to My Claude, then back to Home.
names=(Home "My Claude" Work)
dirs=("${dirs[2]}" "${dirs[0]}" "${dirs[1]}")
check_cycle_key_wraps
before=$(switch_results)
"$VARROW_BIN" cycle
wait_for 10 "\"varrow cycle\" to bring My Claude forward" standin_active "${dirs[1]}"
wait_for 10 "the switch to My Claude to end" more_results_than "$before"
before=$(switch_results)
"$VARROW_BIN" cycle --back
wait_for 10 "\"varrow cycle --back\" to bring Home forward" standin_active "${dirs[0]}"
wait_for 10 "the switch back to Home to end" more_results_than "$before"
echo "ok: \"varrow cycle\" and \"varrow cycle --back\" do the same"
for dir in "${dirs[@]}"; do
  [ "$(standin_state "$dir" '.keys | length')" = 0 ] || fail "Ctrl+\` reached the Claude in $dir: $(standin_state "$dir" .keys)"
done
echo "ok: no Claude saw the cycle key: the shell held it"

check_native_window_left_alone "${dirs[@]}"
wait_for 10 "Ctrl+\` to reach the other program" sh -c "jq -e '.keys | index(\"Ctrl+\`\")' '$work/other/data/standin-state.json'"
echo "ok: with another program in front Ctrl+\` reaches that program"

# The extension turned off while Varrow runs takes its grab along: Ctrl+` reaches the Claude in
# front, and Varrow no longer knows that Claude is in front. Turned on again, Varrow follows
# without a restart.
has_key() { jq -e '.keys | index("Ctrl+`")' "$1/standin-state.json"; }
shell_extension() { gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell --method "org.gnome.Shell.Extensions.$1" "$uuid"; }
before=$(switch_results)
"$VARROW_BIN" open Work
wait_for 10 "Work in front" standin_active "${dirs[2]}"
wait_for 10 "the switch to Work to end" more_results_than "$before"
wait_for 10 "Varrow to see Work in front" sh -c '[ "$("$0" front)" = Work ]' "$VARROW_BIN"
shell_extension DisableExtension >/dev/null
wait_for 10 "Varrow to lose sight of the native Work" sh -c '[ "$("$0" front)" = - ]' "$VARROW_BIN"
press_cycle_key
wait_for 10 "Ctrl+\` to reach Work with the extension off" has_key "${dirs[2]}"
shell_extension EnableExtension >/dev/null
wait_for 10 "Varrow to see Work in front again" sh -c '[ "$("$0" front)" = Work ]' "$VARROW_BIN"
before=$(switch_results)
press_cycle_key
wait_for 10 "Ctrl+\` to bring Home forward again" standin_active "${dirs[0]}"
wait_for 10 "the switch to Home to end" more_results_than "$before"
echo "ok: Varrow follows the extension going and coming back, without a restart"

# Varrow quitting leaves the key to whichever program is in front.
stop_varrow
press_cycle_key
wait_for 10 "Ctrl+\` to reach Home once Varrow has quit" has_key "${dirs[0]}"
echo "ok: once Varrow has quit the shell holds the key no more"

# Leaving Varrow: "varrow uninstall" quits it, then turns the extension off and removes it for this
# user, with the accounts' copies and launcher entries; the accounts and their data stay.
start_varrow
while read -r name; do "$VARROW_BIN" quit "$name"; done < <("$VARROW_BIN" list | grep running=true | cut -d: -f1)
wait_for 15 "every Claude to stop" sh -c '! "$0" list | grep -q running=true' "$VARROW_BIN"
"$VARROW_BIN" uninstall >"$work/uninstall.out" || fail "varrow uninstall failed: $(cat "$work/uninstall.out")"
varrow_gone() { ! is_live "$varrow_pid"; }
wait_for 10 "Varrow to have quit for varrow uninstall" varrow_gone
[ ! -e "$extension/extension.js" ] || fail "the user's copy of the extension is still there"
! is_enabled || fail "the extension is still in enabled-extensions"
! ls "$XDG_DATA_HOME"/applications/varrow-*.desktop 2>/dev/null || fail "launcher entries of the accounts are left"
[ -s "$VARROW_HOME/profiles.json" ] || fail "the account list went with it"
echo "ok: varrow uninstall takes the extension away and leaves the accounts"
echo "PASS"
