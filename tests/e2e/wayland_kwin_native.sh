#!/usr/bin/env bash
# Claude as a native Wayland client on headless KWin, switched through KWin's scripting interface:
# every account's Claude runs natively, opening a running account brings it forward and Varrow
# knows which is in front, Ctrl+` cycles, wraps and goes back, a native window that is not Claude is
# left alone, and a copy started by hand on no data folder is still caught.
source "$(dirname "$0")/lib/common.bash"
source "$(dirname "$0")/lib/compositor.bash"
source "$(dirname "$0")/lib/package.bash"

setup_home
use_native_claude_package
start_compositor kwin
write_profiles "Work" "Home"
start_varrow
run_native_switching_checks
echo "PASS"
