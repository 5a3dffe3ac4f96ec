#!/usr/bin/env bash
# Native Claude windows on headless sway when every account's windows carry the same app id (a
# copy whose archive could not be made its own runs under the package's): with sway's command
# socket known, whose window is in front and which window to bring forward go by process id, so
# opening, telling the front and cycling still work.
source "$(dirname "$0")/lib/common.bash"
source "$(dirname "$0")/lib/compositor.bash"
source "$(dirname "$0")/lib/package.bash"

setup_home
use_native_claude_package
bind_cycle_key_in_sway
start_compositor sway
write_profiles "Work" "Home"
start_varrow

# Made once, then given the package's own archive back, as a failed rewrite leaves a copy.
"$VARROW_BIN" open Work Home
for name in Work Home; do wait_for 30 "$name to run" is_running "$name"; done
"$VARROW_BIN" quit Work
"$VARROW_BIN" quit Home
for name in Work Home; do wait_for 15 "$name to stop" is_stopped "$name"; done
give_copies_the_package_app_id Work Home

open_three_accounts wayland
check_every_claude_has_the_package_app_id
echo "ok: three native Claudes share one app id, and each launch is known in front"

open_each_running_account
echo "ok: opening a running account brings it forward, and Varrow knows which is in front"
check_cycle_key_wraps
echo "PASS"
