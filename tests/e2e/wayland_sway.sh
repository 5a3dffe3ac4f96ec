#!/usr/bin/env bash
# Switching on a Wayland desktop through Xwayland, on headless sway: Claude started as an X11
# client, a running account brought forward, Ctrl+` cycling, wrapping and going back, the key
# left alone with a native window in front, and a native Claude started outside Varrow listed and quit.
source "$(dirname "$0")/lib/common.bash"
source "$(dirname "$0")/lib/compositor.bash"

# sway only marks a window urgent when another program activates it: the switches go through its
# command socket. The switcher panel sits at the right edge, never holds the focus and is not
# mapped again and again.
after_cycling() {
  grep -q ": ok via compositor" "$XDG_STATE_HOME/Varrow/switch.log" ||
    fail "no switch went through sway's command socket: $(tail -n 5 "$XDG_STATE_HOME/Varrow/switch.log")"
  local panel focused unmaps
  panel=$(xdotool search --name '^Varrow Switcher$' | head -n1)
  [ -n "$panel" ] || fail "the switcher panel is not shown"
  local x width screen
  x=$(xwininfo -id "$panel" | awk '/Absolute upper-left X/ { print $4 }')
  width=$(xwininfo -id "$panel" | awk '/Width:/ { print $2 }')
  screen=$(xwininfo -root | awk '/Width:/ { print $2 }')
  ((x + width == screen)) || fail "the panel is at x=$x (width $width), not at the right edge of $screen"
  focused=$(swaymsg -t get_tree | jq '.. | objects | select(.focused == true) | .pid // empty')
  [ "$focused" != "$varrow_pid" ] || fail "the switcher panel holds the focus"
  unmaps=$(timeout 3 xev -root -event substructure 2>/dev/null | grep -c UnmapNotify || true)
  [ "$unmaps" = 0 ] || fail "windows were unmapped $unmaps times in 3 s with nothing happening"
  echo "ok: switches went through sway's command socket; the panel stays at the edge without the focus"
}

setup_home
start_compositor sway
run_switching_checks
echo "PASS"
