#!/usr/bin/env bash
# Sign-in links under Xvfb + openbox with a private XDG_DATA_HOME and XDG_CONFIG_HOME: Varrow
# becomes the claude: handler in mimeapps.list once there is a second account, xdg-open passes a
# link to the account whose Claude was last in front (the stand-in records it), and turning the
# setting off gives the handler that was there before back.
source "$(dirname "$0")/lib/common.bash"
command -v xdg-open >/dev/null && command -v xdg-mime >/dev/null ||
  fail "xdg-open and xdg-mime are not installed (scripts/setup installs xdg-utils)"

start_x
setup_home
# No desktop to ask (setup_home names none): xdg-open and xdg-mime use mimeapps.list and the
# desktop entries directly, of this home and the package only, so no handler of this machine's
# takes part.
export XDG_DATA_DIRS="$pkg/usr/share" XDG_CONFIG_DIRS="$work/etc"
mkdir -p "$XDG_DATA_HOME/applications" "$XDG_CONFIG_HOME" "$work/etc"
mimeapps="$XDG_CONFIG_HOME/mimeapps.list"

# The handler that was there before: a desktop entry that only writes down what it got.
cat >"$XDG_DATA_HOME/applications/previous-claude.desktop" <<ENTRY
[Desktop Entry]
Type=Application
Name=Previous
Exec=$work/previous-handler %u
NoDisplay=true
MimeType=x-scheme-handler/claude;
ENTRY
printf '#!/bin/sh\necho "$1" >>"%s/previous.log"\n' "$work" >"$work/previous-handler"
chmod +x "$work/previous-handler"
xdg-mime default previous-claude.desktop x-scheme-handler/claude
[ "$(xdg-mime query default x-scheme-handler/claude)" = previous-claude.desktop ] || fail "could not set up the previous handler"

write_profiles "Work"
start_varrow
wait_for 10 "Varrow to take the claude: handler" sh -c '[ "$(xdg-mime query default x-scheme-handler/claude)" = varrow-link.desktop ]'
entry="$XDG_DATA_HOME/applications/varrow-link.desktop"
grep -qx "NoDisplay=true" "$entry" && grep -q "^Exec=.* open-link %u$" "$entry" || fail "the handler entry: $(cat "$entry")"
echo "ok: Varrow is the claude: handler"

accounts="$VARROW_HOME/Accounts"
"$VARROW_BIN" open "My Claude" Work
for name in "My Claude" Work; do wait_for 30 "$name to run" is_running "$name"; done
work_state="$accounts/work/Desktop/standin-state.json"
mine_state="$XDG_CONFIG_HOME/Claude/standin-state.json"
wait_for 10 "the stand-ins' state" test -s "$work_state" -a -s "$mine_state"
work_pid=$(pid_for_data_dir "$accounts/work/Desktop") || fail "no stand-in on Work's data folder"
mine_pid=$(pid_for_data_dir "") || fail "no stand-in on My Claude's data folder"

# Another window in front after the account, as the browser is when the sign-in ends.
xmessage -title other-window "the browser" >/dev/null 2>&1 &
track $!
wait_for 15 "the other window" xdotool search --onlyvisible --name '^other-window$'
other_window=$(xdotool search --onlyvisible --name '^other-window$' | head -n1)
bring_other_forward() {
  xdotool windowactivate "$other_window" 2>/dev/null || true
  wait_for 10 "the other window in front" sh -c '[ "$(xdotool getactivewindow)" = "$0" ]' "$other_window"
}
front_is() { [ "$("$VARROW_BIN" front)" = "$1" ] && [ "$(active_pid)" = "$2" ]; }

"$VARROW_BIN" open Work
wait_for 10 "Work in front" front_is Work "$work_pid"
bring_other_forward
xdg-open 'claude://login/callback?code=1' || fail "xdg-open failed with status $?"
wait_for 15 "Work to record the link" grep -q '"claude://login/callback?code=1"' "$work_state"
grep -q 'claude://' "$mine_state" && fail "My Claude got Work's link too"
is_live "$work_pid" || fail "Work's Claude stopped"
[ "$(pid_for_data_dir "$accounts/work/Desktop")" = "$work_pid" ] || fail "a second Claude stayed on Work's folder"
grep -q "link → Work" "$HOME/.local/state/Varrow/switch.log" || fail "no \"link → Work\" in the switch log"
echo "ok: the link went to Work, which was in front before"

"$VARROW_BIN" open "My Claude"
wait_for 10 "My Claude in front" front_is "My Claude" "$mine_pid"
bring_other_forward
xdg-open 'claude://login/callback?code=2'
wait_for 15 "My Claude to record the link" grep -q '"claude://login/callback?code=2"' "$mine_state"
grep -q 'code=2' "$work_state" && fail "Work got My Claude's link"
echo "ok: with My Claude last in front the link went there"

# Anything but a claude: link is refused.
status=0
"$VARROW_BIN" open-link 'https://example.invalid/' 2>"$work/err" || status=$?
[ "$status" -eq 2 ] && grep -q "claude:" "$work/err" || fail "a web link gave status $status: $(cat "$work/err")"
echo "ok: other links refused"

# The setting turned off (while Varrow is stopped): the previous handler is back in mimeapps.list.
stop_varrow
conf="$XDG_CONFIG_HOME/Varrow/Varrow.conf"
grep -q '^\[General\]' "$conf" || fail "Varrow's settings file has no [General] group: $(cat "$conf")"
sed -i '/^\[General\]/a sendSignInLinksToAccount=false' "$conf"
start_varrow
wait_for 10 "the previous handler to be back" grep -qx "x-scheme-handler/claude=previous-claude.desktop" "$mimeapps"
[ ! -e "$entry" ] || fail "Varrow's handler entry stayed"
xdg-open 'claude://login/callback?code=3'
wait_for 10 "the previous handler to get the link" grep -q "code=3" "$work/previous.log"
echo "ok: turning the setting off gave the handler back"
echo "PASS"
