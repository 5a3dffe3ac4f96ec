# Headless Wayland compositors with Xwayland for the end-to-end scripts. Source after common.bash
# and call setup_home first. start_compositor NAME (sway, mutter or kwin) exports WAYLAND_DISPLAY,
# DISPLAY (its Xwayland) and XDG_SESSION_TYPE=wayland, and defines press_cycle_key, which types
# Ctrl+` (Ctrl+Shift+` with "back") into the compositor's own seat and sets key_sent_at (milliseconds since the epoch).
# A compositor that cannot run here makes the script skip (exit 77) with the reason.

python=/usr/bin/python3  # the system one: python3-gi is installed for it

skip() {
  echo "SKIP: $*"
  exit 77
}

now_ms() { date +%s%3N; }
has_ended() { ! is_live "$1"; }

# Reads NAME=value lines the compositor's session child wrote and exports the named variables.
import_session_env() {
  local file=$1 name value
  shift
  for name in "$@"; do
    value=$(grep -m1 "^$name=" "$file" | cut -d= -f2-) || continue
    export "$name=$value"
  done
}

start_compositor() {
  local name=$1
  command -v Xwayland >/dev/null || skip "Xwayland is not installed (scripts/setup installs it)"
  export XDG_SESSION_TYPE=wayland
  compositor=$name
  case "$name" in
    sway) start_sway ;;
    mutter) start_mutter ;;
    kwin) start_kwin ;;
    gnome) start_gnome ;;
    *) fail "no compositor named $name" ;;
  esac
  # Xwayland may start on the first client; a connection that hangs is tried again.
  wait_for 20 "Xwayland on $DISPLAY" sh -c 'timeout 5 xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
}

# sway refuses to run as root; it runs as an unprivileged user, in a runtime folder of its own.
# Lines in sway_config are added to its configuration.
start_sway() {
  command -v sway >/dev/null && command -v wtype >/dev/null || skip "sway or wtype is not installed"
  local uid=${VARROW_SWAY_UID:-65534}
  local runtime="$work/sway-runtime"
  mkdir -p "$runtime"
  chown "$uid" "$runtime" && chmod 700 "$runtime" || skip "cannot give sway a runtime folder as uid $uid"
  chmod 755 "$work"
  # sway's own defaults: _NET_ACTIVE_WINDOW requests only mark a window urgent.
  cat >"$work/sway.conf" <<EOF
xwayland enable
exec env > $work/sway.env
${sway_config:-}
EOF
  : >"$work/sway.env"
  chown "$uid" "$work/sway.env"
  env -i PATH="$PATH" HOME="$runtime" XDG_RUNTIME_DIR="$runtime" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
    WLR_RENDERER=pixman setpriv --reuid="$uid" --regid="$uid" --clear-groups sway -c "$work/sway.conf" \
    >"$work/sway.log" 2>&1 &
  track $!
  local deadline=$((SECONDS + 15))
  until grep -q '^DISPLAY=' "$work/sway.env" 2>/dev/null; do
    kill -0 "${started[-1]}" 2>/dev/null || { tail -n 5 "$work/sway.log"; skip "sway does not run here"; }
    ((SECONDS < deadline)) || skip "sway did not start within 15 s"
    sleep 0.1
  done
  import_session_env "$work/sway.env" DISPLAY SWAYSOCK
  sway_socket=$SWAYSOCK
  export WAYLAND_DISPLAY="$runtime/$(grep -m1 '^WAYLAND_DISPLAY=' "$work/sway.env" | cut -d= -f2-)"
  # Xwayland starts on the first X client and admits only sway's user until told otherwise.
  wait_for 15 "sway's Xwayland" setpriv --reuid="$uid" --regid="$uid" --clear-groups xhost +si:localuser:"$(id -un)"
  # The seat has a keyboard only while a virtual keyboard is connected. Each wtype brings its own
  # keyboard map, and a new map moves the keys; this one holds the same map as every later press,
  # so the map Varrow grabs on is the one the presses use.
  wtype -M ctrl -k grave -m ctrl -s 3600000 >"$work/wtype.log" 2>&1 &
  track $!
  wait_for 10 "the virtual keyboard" sh -c 'swaymsg -t get_seats | grep -q virtual_keyboard'
}

# Binds Ctrl+` and Ctrl+Shift+` in sway to "varrow cycle" (before start_compositor sway). sway runs
# bound commands as its own user, which cannot reach this user's Varrow: each press goes through a
# pipe to "varrow cycle" run here.
bind_cycle_key_in_sway() {
  mkfifo -m 666 "$work/cycle.fifo"
  sway_config="bindsym ctrl+grave exec echo forward > $work/cycle.fifo
bindsym ctrl+shift+grave exec echo back > $work/cycle.fifo"
  (
    exec 3<>"$work/cycle.fifo"
    while read -r way <&3; do
      # A press before Varrow answers finds it not running; the next one counts.
      if [ "$way" = back ]; then "$VARROW_BIN" cycle --back; else "$VARROW_BIN" cycle; fi 2>/dev/null || true
    done
  ) &
  track $!
}

# Claude's package (setup_home installs it) with the setting that keeps Claude native turned off
# (before start_varrow).
use_native_claude_package() {
  mkdir -p "$XDG_CONFIG_HOME/Varrow"
  printf '[General]\nstartClaudeThroughXwayland=false\n' >"$XDG_CONFIG_HOME/Varrow/Varrow.conf"
}

press_cycle_key_sway() {
  key_sent_at=$(now_ms)
  if [ "${1:-}" = back ]; then wtype -M ctrl -M shift -k grave -m shift -m ctrl; else wtype -M ctrl -k grave -m ctrl; fi
}

# mutter runs as root; keys come through its remote-desktop D-Bus service.
start_mutter() {
  command -v mutter >/dev/null || skip "mutter is not installed"
  "$python" -c 'import gi' 2>/dev/null || skip "python3-gi is not installed"
  dbus-run-session -- mutter --headless --wayland --virtual-monitor 1280x800 -- \
    sh -c "env > $work/mutter.env.part && mv $work/mutter.env.part $work/mutter.env; exec sleep 3600" \
    >"$work/mutter.log" 2>&1 &
  track $!
  local deadline=$((SECONDS + 20))
  until [ -s "$work/mutter.env" ]; do
    kill -0 "${started[-1]}" 2>/dev/null || { tail -n 5 "$work/mutter.log"; skip "mutter does not run here"; }
    ((SECONDS < deadline)) || skip "mutter did not start within 20 s"
    sleep 0.1
  done
  import_session_env "$work/mutter.env" DISPLAY XAUTHORITY DBUS_SESSION_BUS_ADDRESS
  export WAYLAND_DISPLAY="$XDG_RUNTIME_DIR/$(grep -m1 '^WAYLAND_DISPLAY=' "$work/mutter.env" | cut -d= -f2-)"
  start_key_typist "$(dirname "${BASH_SOURCE[0]}")/mutter-keys.py"
}

# GNOME Shell 43, headless, with a stand-in logind (tests/e2e/gnome-headless). Stopping it and
# starting it again in the same home is logging out and in; extensions named in gnome_extensions
# must load at that start. The harness's probe lists the shell's windows.
gnome_harness="$(cd "$(dirname "${BASH_SOURCE[0]}")/../gnome-headless" && pwd)"
start_gnome() {
  command -v gnome-shell >/dev/null || skip "gnome-shell is not installed (scripts/setup installs it)"
  [ ${#cleanup_hooks[@]} -gt 0 ] || cleanup_hooks+=(stop_gnome)
  GNOME_HEADLESS_PROBE=1 "$gnome_harness/start.sh" "$work/gs" ${gnome_extensions:-} >"$work/gnome-start.log" 2>&1 ||
    fail "GNOME Shell did not start: $(cat "$work/gnome-start.log"; tail -n 20 "$work/gs/shell.log" 2>/dev/null)"
  set -a
  # shellcheck disable=SC1091
  . "$work/gs/session.env"
  set +a
}
stop_gnome() { "$gnome_harness/stop.sh" "$work/gs"; }

press_cycle_key_gnome() {
  key_sent_at=$(now_ms)
  "$python" "$gnome_harness/keys.py" "$([ "${1:-}" = back ] && echo ctrl+shift+grave || echo ctrl+grave)" >/dev/null
}

# The shell's windows as the harness's probe reports them (JSON).
gnome_windows() {
  gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell/HeadlessProbe \
    --method org.gnome.Shell.HeadlessProbe.Windows | sed "s/^('//; s/',)\$//"
}

# KWin carries a file capability that containers without it refuse; a plain copy runs as root.
start_kwin() {
  [ -x /usr/bin/kwin_wayland ] || skip "kwin_wayland is not installed"
  cp /usr/bin/kwin_wayland "$work/kwin_wayland"
  dbus-run-session -- "$work/kwin_wayland" --virtual --xwayland --no-lockscreen --width 1280 --height 800 \
    --socket "wayland-varrow-$$" \
    "sh -c 'echo \$\$ > $work/kwin.session; env > $work/kwin.env.part && mv $work/kwin.env.part $work/kwin.env; exec sleep 3600'" \
    >"$work/kwin.log" 2>&1 &
  track $!
  local deadline=$((SECONDS + 30))
  until [ -s "$work/kwin.env" ]; do
    kill -0 "${started[-1]}" 2>/dev/null || { tail -n 5 "$work/kwin.log"; skip "KWin does not run here"; }
    ((SECONDS < deadline)) || skip "KWin did not start within 30 s"
    sleep 0.1
  done
  # KWin starts its session child detached, outside its own process tree.
  track "$(cat "$work/kwin.session")"
  import_session_env "$work/kwin.env" DISPLAY XAUTHORITY DBUS_SESSION_BUS_ADDRESS
  export WAYLAND_DISPLAY="$XDG_RUNTIME_DIR/wayland-varrow-$$"
}

# KWin offers keyboard injection only to programs it trusts by their desktop entry; keys go
# through XTEST to Xwayland instead, as they reach it with KWin's key eavesdropping turned on.
# Once Varrow's shortcuts are KDE's own (kde_shortcuts set), a press is what KWin does on the key:
# kglobalaccel invokes the shortcut.
press_cycle_key_kwin() {
  key_sent_at=$(now_ms)
  if [ -n "${kde_shortcuts:-}" ]; then
    gdbus call --session -d org.kde.kglobalaccel -o "$kde_shortcuts" -m org.kde.kglobalaccel.Component.invokeShortcut \
      "$([ "${1:-}" = back ] && echo previous-account || echo next-account)" >/dev/null
  elif [ "${1:-}" = back ]; then xdotool key ctrl+shift+grave; else xdotool key ctrl+grave; fi
}

# bus_call METHOD [ARGS...]: a call to the session bus itself; bus_has NAME: whether NAME is owned.
bus_call() { gdbus call --session -d org.freedesktop.DBus -o /org/freedesktop/DBus -m "org.freedesktop.DBus.$1" "${@:2}"; }
bus_has() { bus_call NameHasOwner "$1" | grep -q true; }

# KDE's desktop portal on KWin's session bus. Settings pages it would open are recorded in
# $work/opened instead.
start_kde_portal() {
  local backend=/usr/lib/x86_64-linux-gnu/libexec/xdg-desktop-portal-kde
  [ -x "$backend" ] && [ -x /usr/libexec/xdg-desktop-portal ] || skip "KDE's desktop portal is not installed"
  mkdir -p "$work/portal-bin"
  printf '#!/bin/sh\necho "$*" >> %s/opened\n' "$work" >"$work/portal-bin/xdg-open"
  chmod +x "$work/portal-bin/xdg-open"
  # The system's data folders, whatever the test gave Varrow.
  local env=(env XDG_CURRENT_DESKTOP=KDE XDG_DATA_DIRS=/usr/local/share:/usr/share)
  "${env[@]}" PATH="$work/portal-bin:$PATH" "$backend" >"$work/portal-kde.log" 2>&1 &
  track $!
  wait_for 10 "KDE's portal backend" bus_has org.freedesktop.impl.portal.desktop.kde
  "${env[@]}" /usr/libexec/xdg-desktop-portal -r >"$work/portal.log" 2>&1 &
  track $!
  wait_for 10 "the desktop portal" bus_has org.freedesktop.portal.Desktop
}

# Waits for Varrow's cycle shortcuts among KDE's global shortcuts; the presses go there from then.
use_kde_shortcuts() {
  local component=/component/varrow
  wait_for 15 "Varrow's shortcuts in KDE's settings" sh -c \
    "gdbus call --session -d org.kde.kglobalaccel -o $component -m org.kde.kglobalaccel.Component.shortcutNames 2>/dev/null | grep -q next-account"
  kde_shortcuts=$component
}

# A long-running typist keeps one remote-desktop session: its first event can be lost.
start_key_typist() {
  mkfifo "$work/keys"
  "$python" "$1" <"$work/keys" >"$work/keys.log" 2>&1 &
  track $!
  exec 7<>"$work/keys"  # read-write: the open never waits for the reader
  wait_for 10 "the remote-desktop session" grep -q '^ready' "$work/keys.log"
}

press_cycle_key_mutter() {
  local before
  before=$(grep -c '^sent' "$work/keys.log" || true)
  if [ "${1:-}" = back ]; then echo "ctrl+shift+grave" >&7; else echo "ctrl+grave" >&7; fi
  wait_for 5 "the key to be typed" sh -c "[ \$(grep -c '^sent' '$work/keys.log') -gt $before ]"
  key_sent_at=$(grep '^sent' "$work/keys.log" | tail -n1 | cut -d' ' -f2)
}

# press_cycle_key [back]: Ctrl+`, or Ctrl+Shift+` with "back".
press_cycle_key() { "press_cycle_key_$compositor" "$@"; }

# The stand-in's own record: whether its window is active now, and since when.
standin_active() { [ "$(standin_state "$1" .active)" = true ]; }
standin_active_since() { standin_state "$1" '[.activations[] | select(.active)] | last | .at'; }
standin_platform() { standin_state "$1" .platform; }

# A native Wayland window that is not Claude, put in front: foot on sway; elsewhere a copy of the
# stand-in outside any bundle (foot crashes on KWin's virtual output), which records its activation.
start_native_window() {
  if [ "$compositor" = sway ]; then
    command -v foot >/dev/null || fail "foot is not installed (scripts/setup installs it)"
    foot --app-id=varrow-e2e-foot sleep 3600 >"$work/foot.log" 2>&1 &
    track $!
    wait_for 10 "foot in front" sh -c \
      'swaymsg -t get_tree | jq -e "[.. | objects | select(.focused == true and .app_id == \"varrow-e2e-foot\")] | length == 1"'
  else
    mkdir -p "$work/other"
    cp "$VARROW_STANDIN_BUNDLE/Contents/MacOS/Claude" "$work/other/Notes"
    "$work/other/Notes" --user-data-dir="$work/other/data" >"$work/notes.log" 2>&1 &
    track $!
    wait_for 10 "the native window to open" test -s "$work/other/data/standin-state.json"
    [ "$(standin_platform "$work/other/data")" = wayland ] || fail "the other program is not a native Wayland client"
    wait_for 10 "the native window in front" standin_active "$work/other/data"
  fi
}

# On sway: the switcher panel sits at the right edge, does not hold the focus and is not mapped
# again and again.
check_panel_stays_at_the_edge() {
  local panel focused unmaps x width screen
  panel=$(xdotool search --name '^Varrow Switcher$' | head -n1)
  [ -n "$panel" ] || fail "the switcher panel is not shown"
  x=$(xwininfo -id "$panel" | awk '/Absolute upper-left X/ { print $4 }')
  width=$(xwininfo -id "$panel" | awk '/Width:/ { print $2 }')
  screen=$(xwininfo -root | awk '/Width:/ { print $2 }')
  ((x + width == screen)) || fail "the panel is at x=$x (width $width), not at the right edge of $screen"
  focused=$(SWAYSOCK=$sway_socket swaymsg -t get_tree | jq '.. | objects | select(.focused == true) | .pid // empty')
  [ "$focused" != "$varrow_pid" ] || fail "the switcher panel holds the focus"
  unmaps=$(timeout 3 xev -root -event substructure 2>/dev/null | grep -c UnmapNotify || true)
  [ "$unmaps" = 0 ] || fail "windows were unmapped $unmaps times in 3 s with nothing happening"
  echo "ok: the switcher panel stays at the edge without the focus"
}

# open_three_accounts PLATFORM: opens My Claude, Work and Home (names and dirs, in that order) and
# checks that each Claude runs on that display platform (xcb or wayland).
names=("My Claude" Work Home)
open_three_accounts() {
  dirs=("$XDG_CONFIG_HOME/Claude" "$VARROW_HOME/Accounts/work/Desktop" "$VARROW_HOME/Accounts/home/Desktop")
  local i
  # One after the other, each in front before the next is opened, so no launch's own switch to the
  # front is still under way when the checks begin.
  for i in 0 1 2; do
    "$VARROW_BIN" open "${names[i]}"
    wait_for 30 "${names[i]} to run" is_running "${names[i]}"
    wait_for 10 "the stand-in in ${dirs[i]} to record its state" test -s "${dirs[i]}/standin-state.json"
    [ "$(standin_platform "${dirs[i]}")" = "$1" ] ||
      fail "Claude in ${dirs[i]} runs as $(standin_platform "${dirs[i]}"), not as $1"
    wait_for 10 "${names[i]} in front after its launch" sh -c '[ "$("$0" front)" = "$1" ]' "$VARROW_BIN" "${names[i]}"
  done
}

# With a native window that is not Claude in front, Varrow knows no Claude is in front and the
# cycle key brings none forward. Arguments: the accounts' data folders.
check_native_window_left_alone() {
  local dir
  start_native_window
  wait_for 10 "Varrow to see that Claude left the front" sh -c '[ "$("$0" front)" = - ]' "$VARROW_BIN"
  press_cycle_key
  sleep 1  # a cycle would have brought a Claude forward by now
  for dir in "$@"; do
    ! standin_active "$dir" || fail "the cycle key brought $dir forward from a native window"
  done
  [ "$("$VARROW_BIN" front)" = - ] || fail "Varrow believes $("$VARROW_BIN" front) is in front of the native window"
  echo "ok: with a native window in front the cycle key is left alone"
}

# Switch results in Varrow's switch log: each switch ends with one.
switch_results() {
  local log="$XDG_STATE_HOME/Varrow/switch.log"
  if [ -f "$log" ]; then grep -cE ": (ok via|FAILED)" "$log" || true; else echo 0; fi
}
more_results_than() { (($(switch_results) > $1)); }

# The checks every compositor gets, with ground truth from the stand-ins' own activation records:
# Claude starts as an X11 client, opening a running account brings it forward, Ctrl+` cycles,
# wraps and goes back, and with a native window in front the key is left alone; a Claude
# started outside Varrow runs natively and is still listed and quit.
run_switching_checks() {
  local before
  write_profiles "Work" "Home"
  start_varrow
  local name dir i
  open_three_accounts xcb
  xdotool search --pid "$varrow_pid" >/dev/null || fail "Varrow has no window on Xwayland"
  echo "ok: Varrow and every Claude it starts are X11 clients on Xwayland"

  # Each switch ends with a result line in the switch log; until then its checks may still run.
  for i in 1 0; do
    before=$(switch_results)
    "$VARROW_BIN" open "${names[i]}"
    wait_for 10 "${names[i]} in front" standin_active "${dirs[i]}"
    wait_for 10 "the switch to ${names[i]} to end" more_results_than "$before"
    standin_active "${dirs[i]}" || fail "${names[i]} lost the front as its switch ended"
  done
  echo "ok: opening a running account brings it to the front"

  for i in 1 2 0; do
    before=$(switch_results)
    press_cycle_key
    wait_for 10 "Ctrl+\` to bring ${names[i]} forward" standin_active "${dirs[i]}"
    wait_for 10 "the switch to ${names[i]} to end" more_results_than "$before"
    standin_active "${dirs[i]}" || fail "${names[i]} lost the front as its switch ended"
  done
  before=$(switch_results)
  press_cycle_key back
  wait_for 10 "Ctrl+Shift+\` to bring Home forward" standin_active "${dirs[2]}"
  wait_for 10 "the switch back to Home to end" more_results_than "$before"
  echo "ok: Ctrl+\` cycles forward and wraps, Ctrl+Shift+\` goes back"
  if declare -F after_cycling >/dev/null; then after_cycling; fi

  check_native_window_left_alone "${dirs[@]}"

  # A Claude started outside Varrow is a native Wayland client: still listed, and quit on request.
  "$VARROW_BIN" quit "My Claude"
  wait_for 20 "My Claude to quit" is_stopped "My Claude"
  "$claude_program" >"$work/native-claude.log" 2>&1 &
  local native=$!
  wait_for 30 "the native Claude to be listed" is_running "My Claude"
  wait_for 10 "the native Claude's own state" sh -c '[ "$(jq .pid "$1/standin-state.json")" = "$0" ]' "$native" "${dirs[0]}"
  [ "$(standin_platform "${dirs[0]}")" = wayland ] || fail "Claude started outside Varrow is not a native Wayland client"
  "$VARROW_BIN" quit "My Claude"
  wait_for 20 "the native Claude to quit" has_ended "$native"
  wait_for 10 "My Claude to be listed as stopped" is_stopped "My Claude"
  echo "ok: a native Wayland Claude is listed and quit"
}

# The checks for Claude as a native Wayland client, switched through the compositor's own window
# list (Varrow started, the cycle key reaching Varrow): each Claude runs natively, opening a running
# account brings it forward and Varrow knows which is in front, the key cycles, wraps and goes
# back, another native window is left alone, and a copy started by hand on no data folder (so with
# no app id of its own) is caught and started again on its own folder.
# Each account's windows carry the app id that its own launcher entry claims, so the taskbar
# shows "Claude Work" with its icon; My Claude's carry the package's own.
check_app_ids_claimed_by_entries() {
  local i app_id entry
  [ "$(standin_state "${dirs[0]}" .appId)" = com.anthropic.Claude ] ||
    fail "My Claude's app id is $(standin_state "${dirs[0]}" .appId)"
  for i in 1 2; do
    app_id=$(standin_state "${dirs[i]}" .appId)
    entry="$XDG_DATA_HOME/applications/$app_id.desktop"
    [[ "$app_id" == varrow-* ]] && grep -qx "StartupWMClass=$app_id" "$entry" && grep -qx "Name=Claude ${names[i]}" "$entry" ||
      fail "${names[i]}'s windows carry the app id \"$app_id\", which no entry of its own claims"
  done
  echo "ok: each account's windows carry the app id its own launcher entry claims"
}

# After open_three_accounts: every account's windows carry the package's own app id.
check_every_claude_has_the_package_app_id() {
  local i
  for i in 0 1 2; do
    [ "$(standin_state "${dirs[i]}" .appId)" = com.anthropic.Claude ] || fail "${names[i]} does not share the package's app id"
  done
}

# Opens Work, My Claude and Home, each already running, and checks each comes to the front and is
# known there once its switch has ended; Home is in front at the end.
open_each_running_account() {
  local i before
  for i in 1 0 2; do
    before=$(switch_results)
    "$VARROW_BIN" open "${names[i]}"
    wait_for 10 "${names[i]} in front" standin_active "${dirs[i]}"
    wait_for 10 "the switch to ${names[i]} to end" more_results_than "$before"
    standin_active "${dirs[i]}" || fail "${names[i]} lost the front as its switch ended"
    [ "$("$VARROW_BIN" front)" = "${names[i]}" ] || fail "Varrow believes $("$VARROW_BIN" front) is in front, not ${names[i]}"
  done
}

# With Home in front the key goes to My Claude (wrapping), then Work, then back to My Claude.
check_cycle_key_wraps() {
  local step i way before
  for step in "0 forward" "1 forward" "0 back"; do
    read -r i way <<<"$step"
    before=$(switch_results)
    press_cycle_key "$([ "$way" = back ] && echo back)"
    wait_for 10 "the $way key to bring ${names[i]} forward" standin_active "${dirs[i]}"
    wait_for 10 "the switch to ${names[i]} to end" more_results_than "$before"
  done
  echo "ok: the cycle key cycles forward, wraps and goes back"
}

run_native_switching_checks() {
  local i way before stray
  open_three_accounts wayland
  echo "ok: every account's Claude is a native Wayland client"
  check_app_ids_claimed_by_entries
  check_menu_claude_after_copies_started "${dirs[1]}" "${dirs[2]}"

  open_each_running_account
  grep -q ": ok via window-server" "$XDG_STATE_HOME/Varrow/switch.log" ||
    fail "no switch went through the window server: $(tail -n 5 "$XDG_STATE_HOME/Varrow/switch.log")"
  echo "ok: opening a running native account brings it to the front, and Varrow knows which is in front"

  check_cycle_key_wraps

  # Work in front last, then another window, as the browser is when a sign-in ends.
  before=$(switch_results)
  "$VARROW_BIN" open Work
  wait_for 10 "Work in front" standin_active "${dirs[1]}"
  wait_for 10 "the switch to Work to end" more_results_than "$before"
  check_native_window_left_alone "${dirs[@]}"
  env -u XDG_CURRENT_DESKTOP xdg-open 'claude://login/callback?code=native' || fail "xdg-open failed with status $?"
  wait_for 15 "Work to get the sign-in link" sh -c 'jq -e ".links | index(\"claude://login/callback?code=native\")" "$0/standin-state.json"' "${dirs[1]}"
  echo "ok: every Claude claimed links at its start, and a link still reaches the account that asked"

  # My Claude quits first, or the stray would hand over to it.
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
}
