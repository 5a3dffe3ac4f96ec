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
  check_panel_stays_at_the_edge
  echo "ok: switches went through sway's command socket"
}

setup_home
start_compositor sway
run_switching_checks
echo "PASS"
