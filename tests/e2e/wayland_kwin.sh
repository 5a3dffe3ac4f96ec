#!/usr/bin/env bash
# Switching on a Wayland desktop through Xwayland, on headless kwin: Claude started as an X11
# client, a running account brought forward, Ctrl+` cycling, wrapping and going back, the key
# left alone with a native window in front, and a native Claude started outside Varrow listed and quit.
source "$(dirname "$0")/lib/common.bash"
source "$(dirname "$0")/lib/compositor.bash"

setup_home
start_compositor kwin
run_switching_checks
echo "PASS"
