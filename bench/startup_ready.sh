#!/usr/bin/env bash
# Start-up to ready, as at login: exec until the single-instance socket answers, for Varrow
# (--login-item, three accounts, a tray host) and for a bare Qt 6 tray program with a local socket
# (bench/bare-tray), RUNS runs of each, interleaved. Prints the medians of wall time, CPU time
# until ready and RSS at ready. Run against a Release build:
#   bench/startup_ready.sh build/release [RUNS]
# Targets: Varrow ready within 2x the bare program, on the way to 1.5x.
set -euo pipefail

build=$(cd "${1:?usage: bench/startup_ready.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-20}
source "$(dirname "$0")/lib/bench.bash"
source "$(dirname "$0")/lib/tray_session.bash"
bare="$build/bench/bare-tray/bare_tray"
[ -x "$bare" ] || fail "no $bare (build the bare_tray target)"
timer="$(cd "$(dirname "$0")" && pwd)/startup_ready.py"

start_tray_session
# Varrow's socket: in the runtime folder, named after the user and a hash of its home folder.
hash=$(printf '%s' "$VARROW_HOME" | sha256sum | cut -c1-16)
varrow_socket="$XDG_RUNTIME_DIR/varrow-$(id -u)-$hash"
bare_socket="$XDG_RUNTIME_DIR/bare-tray"

measure() {  # NAME SOCKET REQUEST PROGRAM...
  local name=$1 line pid
  shift
  line=$(python3 "$timer" "$@") || fail "$name did not answer"
  echo "$name $line" >>"$work/runs"
  pid=$(jq -r .pid <<<"$line")
  if [[ "$name" == *varrow ]]; then "$VARROW_BIN" quit >/dev/null; else kill "$pid" 2>/dev/null || true; fi
  while kill -0 "$pid" 2>/dev/null; do sleep 0.02; done
  sleep 0.2
}

# One unmeasured start of each fills the page cache.
measure warm-varrow "$varrow_socket" list "$VARROW_BIN" --login-item
measure warm-bare "$bare_socket" hello "$bare" "$bare_socket"
for ((i = 0; i < runs; i++)); do
  if ((i % 2)); then
    measure varrow "$varrow_socket" list "$VARROW_BIN" --login-item
    measure bare "$bare_socket" hello "$bare" "$bare_socket"
  else
    measure bare "$bare_socket" hello "$bare" "$bare_socket"
    measure varrow "$varrow_socket" list "$VARROW_BIN" --login-item
  fi
done

median() {  # NAME FIELD
  grep "^$1 " "$work/runs" | cut -d' ' -f2- | jq ".$2" | sort -n |
    awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'
}
v=$(median varrow ready_ms) b=$(median bare ready_ms)
awk -v v="$v" -v b="$b" -v vc="$(median varrow cpu_ms)" -v bc="$(median bare cpu_ms)" \
  -v vr="$(median varrow rss_kb)" -v br="$(median bare rss_kb)" -v n="$runs" 'BEGIN {
  printf "ready (exec to socket answer), median of %d interleaved runs: varrow %.1f ms, bare Qt tray %.1f ms (%.2fx; target < 2x)\n", n, v, b, v / b
  printf "CPU until ready: varrow %.0f ms, bare %.0f ms; RSS at ready: varrow %.1f MB, bare %.1f MB\n", vc, bc, vr / 1024, br / 1024 }'
