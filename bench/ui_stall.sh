#!/usr/bin/env bash
# The UI thread's longest stall while ten accounts open at once: Xvfb + openbox, Claude's package
# (the stand-in), ten accounts opened by one command, and Varrow's own event-loop probe
# (VARROW_LOOP_LATENCY: a 4 ms timer, the longest lateness written to a file). Each account's
# copy is made and started, and each launch is followed until its arguments can be read.
# max_stall_ms is the lateness as measured; max_held_ms leaves out the time Varrow's thread was
# ready but waited for a processor (ten Claudes starting on a small machine), so it is the time the
# loop itself was held: by work on the UI thread, or by a wait on it.
#   bench/ui_stall.sh BUILD_DIR [RUNS]
# Target: max_held_ms under 16 ms (one frame at 60 Hz).
set -euo pipefail

build=$(cd "${1:?usage: bench/ui_stall.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-5}
source "$(dirname "$0")/lib/bench.bash"

start_x
setup_home
names=(One Two Three Four Five Six Seven Eight Nine Ten)
write_profiles "${names[@]}"

for ((run = 1; run <= runs; run++)); do
  probe="$work/stall-$run"
  start_varrow VARROW_LOOP_LATENCY="$probe"
  sleep 1  # past start-up, which the probe does not measure
  : >"$probe"  # emptied, not removed: the probe starts again
  "$VARROW_BIN" open "${names[@]}"
  for name in "${names[@]}"; do wait_for 60 "$name to run" is_running "$name"; done
  sleep 2  # past the switch to the last one and the scanner's looks at the new processes
  echo "run $run: $(tr "\n" " " <"$probe" 2>/dev/null)"
  for name in "${names[@]}"; do "$VARROW_BIN" quit "$name" >/dev/null 2>&1 || true; done
  for name in "${names[@]}"; do wait_for 30 "$name to stop" is_stopped "$name"; done
  stop_varrow
done
