#!/usr/bin/env bash
# Claude as a native Wayland client on headless sway, switched through the compositor's toplevel
# list: every account's Claude runs natively with its own app id, opening a running account brings
# it forward, a key bound in sway to "varrow cycle" cycles, wraps and goes back, a native window
# that is not Claude is left alone, and a copy started by hand on no data folder is still caught.
# Varrow is not told sway's command socket, so it takes the route every wlroots compositor offers.
source "$(dirname "$0")/lib/common.bash"
source "$(dirname "$0")/lib/compositor.bash"

setup_home
use_native_claude_package
bind_cycle_key_in_sway
start_compositor sway
write_profiles "Work" "Home"
start_varrow SWAYSOCK= I3SOCK=
run_native_switching_checks
# Varrow on Xwayland without sway's socket, as on any wlroots compositor: its panel is still no
# managed window that sway would float in the middle and focus.
"$VARROW_BIN" open Work
wait_for 10 "Work in front" standin_active "$VARROW_HOME/Accounts/work/Desktop"
wait_for 10 "the switcher panel" sh -c 'xdotool search --name "^Varrow Switcher$" >/dev/null'
check_panel_stays_at_the_edge
echo "PASS"
