#!/usr/bin/env bash
# Tray hosts that start after Varrow, for real. A login launch with no tray shows the window; an
# XEmbed tray (trayer) started later gets Varrow's icon; on a private session bus, a
# StatusNotifierWatcher started later gets Varrow's item registered. A normal run, an account
# opened included, prints nothing, and nor does a render run without a display.
if [ -z "${VARROW_TRAY_BUS:-}" ]; then
  command -v dbus-run-session >/dev/null || { echo "FAIL: dbus-run-session is not installed (scripts/setup)"; exit 1; }
  exec env VARROW_TRAY_BUS=1 dbus-run-session -- bash "$0" "$@"
fi
source "$(dirname "$0")/lib/common.bash"
command -v trayer >/dev/null || fail "trayer is not installed (scripts/setup installs it)"
command -v xwininfo >/dev/null || fail "xwininfo is not installed (scripts/setup installs it)"
standin_desktop="$VARROW_BUILD_DIR/tools/standin-desktop/standin-desktop"
[ -x "$standin_desktop" ] || fail "no $standin_desktop (build the standin-desktop target)"

start_x
setup_home
write_profiles "Work"

start_login_launch() {
  "$VARROW_BIN" --login-item >>"$work/varrow.log" 2>&1 &
  varrow_pid=$!
  wait_for 15 "Varrow to answer" "$VARROW_BIN" list
}
window_shown() { xdotool search --onlyvisible --name '^Varrow$' >/dev/null; }
# A window of Varrow's process inside the window tree of a tray host's process.
embedded_in() {
  local host id
  for host in $(xdotool search --pid "$1"); do
    for id in $(xwininfo -tree -id "$host" | awk '/^ +0x/ { print $1 }'); do
      [ "$(xprop -id "$id" _NET_WM_PID 2>/dev/null | awk '{ print $3 }')" = "$varrow_pid" ] && return 0
    done
  done
  return 1
}
start_trayer() {
  trayer --edge top --align right --widthtype pixel --width 120 --height 24 >>"$work/trayer.log" 2>&1 &
  trayer_pid=$!
  track "$trayer_pid"
}

# No tray at all: the login launch shows the window (after giving a tray host a moment).
start_login_launch
wait_for 20 "the window of a login launch without a tray" window_shown
echo "ok: a login launch without a tray shows the window"

# An XEmbed tray comes up afterwards: Varrow's icon goes into it.
start_trayer
wait_for 15 "Varrow's icon in trayer" embedded_in "$trayer_pid"
echo "ok: an XEmbed tray started later shows Varrow's icon"

# The tray goes and comes back: the icon follows.
kill "$trayer_pid"
wait "$trayer_pid" 2>/dev/null || true
start_trayer
wait_for 15 "Varrow's icon in the second trayer" embedded_in "$trayer_pid"
echo "ok: a tray host that restarts gets the icon again"
stop_varrow
kill "$trayer_pid"
wait "$trayer_pid" 2>/dev/null || true

# A StatusNotifierWatcher (what GNOME's and KDE's tray hosts run) registered after Varrow.
start_login_launch
wait_for 20 "the window of a login launch without a tray" window_shown
"$standin_desktop" watcher "$work/watcher.log" >>"$work/standin-desktop.log" 2>&1 &
track $!
wait_for 15 "Varrow's item with the watcher" grep -q " $varrow_pid\$" "$work/watcher.log"
echo "ok: a StatusNotifierWatcher started later gets Varrow's item: $(grep " $varrow_pid\$" "$work/watcher.log")"

# A normal run prints nothing, opening an account (a copy with its icon) included.
"$VARROW_BIN" open Work
wait_for 30 "Work to run" is_running Work
stop_varrow
if [ -s "$work/varrow.log" ]; then
  fail "a normal run printed: $(head -c 2000 "$work/varrow.log")"
fi
echo "ok: nothing printed"

# Nor does a scripted render without any display (the offscreen platform takes no size hints).
env -u DISPLAY VARROW_RENDER="$work/shot.png" timeout 60 "$VARROW_BIN" >"$work/render.log" 2>&1 ||
  fail "the render run did not end by itself"
[ -f "$work/shot.png" ] || fail "the render run wrote no picture"
[ ! -s "$work/render.log" ] || fail "a render run printed: $(head -c 2000 "$work/render.log")"
echo "ok: a render run without a display prints nothing"

echo "PASS"
