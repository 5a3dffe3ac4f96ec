#!/usr/bin/env bash
# The stand-in Claude keeps the rules of Claude's Linux package that the other scripts lean on, and
# its state file tells the truth about them: its windows' class comes from the archive's
# desktopName beside the program as started (a hard-linked copy reads its own), never from
# --class=; every start writes the user entry for claude: links naming that program and makes it
# the default handler in this home; a second start hands over its activation token. As a bundle
# it stays "Claude" and claims nothing.
source "$(dirname "$0")/lib/common.bash"

start_x
setup_home
entry="$XDG_DATA_HOME/applications/com.anthropic.Claude.desktop"
handler_claimed() { [ "$(standin_state "$1" '.linkHandler.xdgMime')" = true ]; }
tryexec_is() { grep -qxF "TryExec=$1" "$entry"; }

# start DATA_DIR PROGRAM [ARGS...]: a first start, waited for until its window is up; pid in $started_pid.
start() {
  local dir=$1
  "${@:2}" --user-data-dir="$dir" >>"$work/standin.log" 2>&1 &
  started_pid=$!
  track "$started_pid"
  wait_for 15 "the stand-in on $dir to record its state" test -s "$dir/standin-state.json"
  wait_for 15 "the window of the stand-in on $dir" wm_class "$started_pid"
}

one="$work/one"
start "$one" "$claude_program" --class=ignored-class
[ "$(standin_state "$one" .layout)" = package ] || fail "the package's program does not see the package"
[ "$(wm_class "$started_pid")" = com.anthropic.Claude ] || fail "the window's class is $(wm_class "$started_pid")"
[ "$(standin_state "$one" .windowClass)" = com.anthropic.Claude ] && [ "$(standin_state "$one" .appId)" = com.anthropic.Claude ] ||
  fail "the state file names another class: $(standin_state "$one" '[.windowClass, .appId]')"
echo "ok: the class comes from the package's desktopName, --class= is ignored"

wait_for 15 "the link handler to be claimed" handler_claimed "$one"
[ "$(standin_state "$one" .linkHandler.entry)" = "$entry" ] || fail "the state names the entry $(standin_state "$one" .linkHandler.entry)"
tryexec_is "$lib/claude-desktop" || fail "the entry does not name the program as it runs: $(cat "$entry")"
grep -qxF "Exec=$lib/claude-desktop %u" "$entry" && grep -qx "X-Claude-Generated=true" "$entry" &&
  grep -qx "MimeType=x-scheme-handler/claude;" "$entry" || fail "the entry: $(cat "$entry")"
[ "$(grep -c '^\[Desktop Action ' "$entry")" = 2 ] || fail "the entry has not two actions: $(cat "$entry")"
grep -qx "x-scheme-handler/claude=com.anthropic.Claude.desktop" "$XDG_CONFIG_HOME/mimeapps.list" ||
  fail "the handler is not in this home's mimeapps.list: $(cat "$XDG_CONFIG_HOME/mimeapps.list" 2>&1)"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$entry" || fail "the entry is not valid"; fi
echo "ok: the start wrote the user entry and made it the claude: handler"

XDG_ACTIVATION_TOKEN=token-1 "$claude_program" --user-data-dir="$one" "claude://login/callback?code=7" ||
  fail "the second start gave status $?"
[ "$(standin_state "$one" '.activationTokens | join(",")')" = token-1 ] ||
  fail "the running one recorded the tokens $(standin_state "$one" .activationTokens)"
[ "$(standin_state "$one" '.links | join(",")')" = "claude://login/callback?code=7" ] || fail "the link was not recorded"
echo "ok: a second start hands over its activation token and its link"

# A hard-linked copy in a folder of its own, with its own archive and a name that needs quoting.
copy="$work/Claude Copy.app"
mkdir -p "$copy/resources"
ln "$lib/claude-desktop" "$copy/claude-desktop"
printf '{"productName":"Claude","version":"1.0.0","desktopName":"claude-copy.desktop"}' >"$work/copy-package.json"
"$VARROW_BUILD_DIR/tools/fixture-electron/fixture-asar" "$copy/resources/app.asar" package.json="$work/copy-package.json"
start "$work/two" "$copy/claude-desktop"
[ "$(wm_class "$started_pid")" = claude-copy ] || fail "the copy's class is $(wm_class "$started_pid")"
wait_for 15 "the copy to claim the link handler" handler_claimed "$work/two"
tryexec_is "$copy/claude-desktop" || fail "the entry does not name the copy: $(cat "$entry")"
grep -qxF "Exec=\"$copy/claude-desktop\" %u" "$entry" || fail "the copy's Exec line: $(grep '^Exec=' "$entry")"
echo "ok: a copy elsewhere reads its own archive and claims the links for itself"

setup_home bundle
start "$work/three" "$claude_program" --class=ignored-class
[ "$(wm_class "$started_pid")" = Claude ] || fail "the bundle's class is $(wm_class "$started_pid")"
[ "$(standin_state "$work/three" .layout)" = bundle ] || fail "the bundle's layout is $(standin_state "$work/three" .layout)"
# The entry is written before the window shows: a claim would have replaced it by now.
tryexec_is "$copy/claude-desktop" && [ "$(standin_state "$work/three" .linkHandler)" = null ] ||
  fail "the bundle claimed the links"
echo "ok: the bundle keeps the product name and claims nothing"
echo "PASS"
