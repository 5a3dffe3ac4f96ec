#!/usr/bin/env bash
# Accounts that start with the session and sleep when idle, for real under Xvfb + openbox. Set with
# "varrow login", two accounts open at a login start (--login-item) in the list's order, the second
# only once the first has shown its window. Then, with idle accounts sleeping after six seconds
# (the setting, shortened), the account left in the background quits and is listed asleep, the one
# in front stays, and "varrow open" brings the sleeper back.
source "$(dirname "$0")/lib/common.bash"
source "$(dirname "$0")/lib/compositor.bash"

start_x
setup_home
write_profiles "Work" "Home" "Side Project"
work_dir="$VARROW_HOME/Accounts/work/Desktop"
side_dir="$VARROW_HOME/Accounts/side-project/Desktop"

start_varrow
"$VARROW_BIN" login "Side Project" on
"$VARROW_BIN" login Work on
"$VARROW_BIN" login Home on
"$VARROW_BIN" login Home off
"$VARROW_BIN" login Nobody on 2>/dev/null && fail "login accepted an unknown account"
report_line Work | grep -q "login=true" || fail "Work is not set to open at login"
report_line Home | grep -q "login=true" && fail "Home still opens at login"
# The list is written off the UI thread: it lands a moment after the command has answered.
wait_for 5 "the list file to keep the setting" \
  jq -e '[.[] | select(.openAtLogin == true) | .name] == ["Work", "Side Project"]' "$VARROW_HOME/profiles.json"
stop_varrow
echo "ok: varrow login sets and clears the setting, kept in the list file"

# Each Claude takes 1.5 s to show its window, so an opener that did not wait would start the next
# one well before the first one's window.
STANDIN_SHOW_DELAY_MS=1500 "$VARROW_BIN" --login-item >>"$work/varrow.log" 2>&1 &
varrow_pid=$!
wait_for 15 "Varrow to answer" "$VARROW_BIN" list
both_running() { is_running Work && is_running "Side Project"; }
wait_for 30 "Work and Side Project to open at login" both_running
is_running Home && fail "Home opened at login"
is_running "My Claude" && fail "My Claude opened at login"
side_shown() { [ "$(standin_state "$side_dir" .shownAt)" != 0 ]; }
wait_for 10 "Side Project's window" side_shown
work_shown=$(standin_state "$work_dir" .shownAt)
side_started=$(standin_state "$side_dir" .startedAt)
((${side_started%.*} >= ${work_shown%.*})) || fail "Side Project started at $side_started, before Work's window at $work_shown"
wait_for 10 "Side Project in front" standin_active "$side_dir"
stop_varrow
echo "ok: a login start opens Work, then Side Project once Work's window is up"

# Varrow again, the two still open, idle accounts sleeping after six seconds.
printf '[General]\ndidSetUpLoginItem=true\nsleepIdleAccounts=true\nsleepIdleAccountsAfterSeconds=6\n' >"$XDG_CONFIG_HOME/Varrow/Varrow.conf"
start_varrow
"$VARROW_BIN" open "Side Project"
wait_for 10 "Side Project in front" standin_active "$side_dir"
work_pid=$(pid_for_data_dir "$work_dir") || fail "Work's stand-in is gone too early"
work_asleep() { report_line Work | grep -q 'running=false.*asleep=true'; }
wait_for 40 "Work to fall asleep" work_asleep
is_live "$work_pid" && fail "Work's Claude still runs"
report_line "Side Project" | grep -q "running=true" || fail "the account in front was put to sleep"
echo "ok: the background account quit after idling and is listed asleep; the one in front stays"

"$VARROW_BIN" open Work
wait_for 30 "Work to open again" is_running Work
report_line Work | grep -q "asleep=true" && fail "Work is still listed asleep while open"
wait_for 10 "Work in front" standin_active "$work_dir"
echo "ok: varrow open wakes it"
