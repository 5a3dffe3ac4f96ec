# Shared set-up of the end-to-end scripts: a private X server (Xvfb) with openbox, a private home
# with the stand-in Claude installed (as Claude's Linux package, or as a bundle), and the clean-up of
# everything the script started. Source it first; it sets: work, HOME, VARROW_HOME, DISPLAY, pkg,
# claude_program, and the functions below.
set -euo pipefail

: "${VARROW_BIN:?VARROW_BIN must name the varrow binary}"
: "${VARROW_STANDIN_BUNDLE:?VARROW_STANDIN_BUNDLE must name the stand-in Claude.app}"

if ! command -v Xvfb >/dev/null; then
  echo "SKIP: Xvfb is not installed (scripts/setup installs it)"
  exit 77
fi
for tool in openbox xdotool xprop; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/setup installs it)"; exit 1; }
done

work=$(mktemp -d /tmp/varrow-e2e.XXXXXX)
started=()
started_at=()
varrow_pid=""
cleanup_hooks=()  # functions the cleanup runs once Varrow and the stand-ins are gone

# A process's start time, in clock ticks since boot, in $start; empty once it has gone. Read
# without a subshell: with a fork here, Xvfb now and then turned openbox away as it started.
start_time_of() {
  local stat fields
  start=""
  read -r stat 2>/dev/null <"/proc/$1/stat" || return 0
  read -r -a fields <<<"${stat##*) }"
  start=${fields[19]}
}

# track PID: a process the cleanup ends with everything it started. Its start time is kept, so a
# pid reused by then (ids wrap quickly with tests running side by side) is left alone.
track() {
  local start
  start_time_of "$1"
  started+=("$1")
  started_at+=("$start")
}

fail() {
  echo "FAIL: $*"
  echo "--- varrow list (front: $("$VARROW_BIN" front 2>&1))"; "$VARROW_BIN" list 2>&1 || true
  echo "--- stand-ins"; for pid in $(standin_pids); do echo "$pid $(tr '\0' ' ' <"/proc/$pid/cmdline")"; done
  local switches="${XDG_STATE_HOME:-/nonexistent}/Varrow/switch.log"
  if [ -s "$switches" ]; then echo "--- switch log"; tail -n 15 "$switches"; fi
  if [ -s "$work/varrow.log" ]; then echo "--- varrow log"; tail -n 40 "$work/varrow.log"; fi
  if [ -s "${XDG_CONFIG_HOME:-/nonexistent}/mimeapps.list" ]; then echo "--- mimeapps.list"; cat "$XDG_CONFIG_HOME/mimeapps.list"; fi
  exit 1
}

# Processes whose program lies inside the test folder: the stand-in Claude and its copies.
standin_pids() {
  local link exe pid
  for link in /proc/[0-9]*/exe; do
    exe=$(readlink "$link" 2>/dev/null) || continue
    case "$exe" in
      "$work"/*) pid=${link#/proc/}; pid=${pid%/exe}; is_live "$pid" && echo "$pid" ;;
    esac
  done
  return 0
}

# A process that exists and is not a zombie waiting for its parent.
is_live() { [ -e "/proc/$1" ] && ! grep -q '^State:[[:space:]]*Z' "/proc/$1/status" 2>/dev/null; }

# A process and everything it started that still runs (a compositor's session and Xwayland).
process_tree() {
  local child
  echo "$1"
  for child in $(ps -o pid= --ppid "$1" 2>/dev/null); do process_tree "$child"; done
}

cleanup() {
  local pid tree start
  [ -n "$varrow_pid" ] && kill "$varrow_pid" 2>/dev/null || true
  for pid in $(standin_pids); do kill -9 "$pid" 2>/dev/null || true; done
  for hook in "${cleanup_hooks[@]}"; do "$hook" || true; done
  for ((i = ${#started[@]} - 1; i >= 0; i--)); do
    start_time_of "${started[i]}"
    [ -n "$start" ] && [ "$start" = "${started_at[i]}" ] || continue
    tree=$(process_tree "${started[i]}")
    for pid in $tree; do kill "$pid" 2>/dev/null || true; done
  done
  wait 2>/dev/null || true
  # The desktop portal's document store mounts itself in the runtime folder.
  local mount
  for mount in $(awk -v work="$work/" 'index($2, work) == 1 { print $2 }' /proc/mounts); do
    fusermount3 -uz "$mount" 2>/dev/null || umount -l "$mount" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "${BASH_SOURCE[0]}")/package.bash"

# wait_for SECONDS DESCRIPTION COMMAND...: polls every 0.1 s until the command succeeds.
wait_for() {
  local seconds=$1 what=$2
  shift 2
  local deadline=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || fail "timed out after ${seconds}s waiting for $what"
    sleep 0.1
  done
}

start_x() {
  exec 5>"$work/display"
  Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  track $!
  wait_for 10 "Xvfb" test -s "$work/display"
  export DISPLAY=":$(head -n1 "$work/display")"
  openbox >"$work/openbox.log" 2>&1 &
  track $!
  wait_for 10 "openbox" sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
}

# setup_home [bundle]: a private home with Claude installed as its Linux package in $pkg (its share
# folder first among the system's data folders), or with "bundle" as Claude.app in ~/Applications.
# Claude claims claude: links at every start with xdg-mime, which writes to XDG_CONFIG_HOME here:
# no desktop is named, so it takes no desktop's own route.
setup_home() {
  export HOME="$work/home"
  export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_STATE_HOME="$HOME/.local/state"
  export XDG_RUNTIME_DIR="$work/runtime"
  export VARROW_HOME="$work/varrow"
  unset QT_QPA_PLATFORM WAYLAND_DISPLAY XDG_SESSION_TYPE VARROW_OPEN VARROW_PIN VARROW_ICONS VARROW_RENDER VARROW_DARK VARROW_REPORT
  unset XDG_CURRENT_DESKTOP DESKTOP_SESSION GNOME_DESKTOP_SESSION_ID KDE_FULL_SESSION KDE_SESSION_VERSION BROWSER
  mkdir -p "$HOME/Applications" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$VARROW_HOME"
  chmod 700 "$XDG_RUNTIME_DIR"
  if [ "${1:-}" = bundle ]; then
    cp -a "$VARROW_STANDIN_BUNDLE" "$HOME/Applications/Claude.app"
    claude_program="$HOME/Applications/Claude.app/Contents/MacOS/Claude"
  else
    install_package
    # The system's own after it: mutter, for one, needs its settings schemas from there.
    export XDG_DATA_DIRS="$pkg/usr/share:/usr/local/share:/usr/share"
    claude_program="$pkg/usr/bin/claude-desktop"
  fi
}

# write_profiles NAME...: the default account and one account per name (folder = lower-case name).
write_profiles() {
  local now n=1 name
  now=$(date -u +%Y-%m-%dT%H:%M:%SZ)
  {
    echo "["
    printf '  {"id": "0E2E0000-0000-4000-8000-%012d", "name": "My Claude", "note": "", "color": "clay", "isDefault": true, "folderName": "", "createdAt": "%s"}' 0 "$now"
    for name in "$@"; do
      printf ',\n  {"id": "0E2E0000-0000-4000-8000-%012d", "name": "%s", "note": "", "color": "teal", "isDefault": false, "folderName": "%s", "createdAt": "%s"}' \
        "$n" "$name" "$(echo "$name" | tr 'A-Z ' 'a-z-')" "$now"
      n=$((n + 1))
    done
    echo
    echo "]"
  } >"$VARROW_HOME/profiles.json"
}

# start_varrow [VAR=value...]: starts Varrow in the background and waits until it answers.
start_varrow() {
  env "$@" "$VARROW_BIN" >>"$work/varrow.log" 2>&1 &
  varrow_pid=$!
  wait_for 15 "Varrow to answer" "$VARROW_BIN" list
}

stop_varrow() {
  "$VARROW_BIN" quit >/dev/null 2>&1 || true
  local deadline=$((SECONDS + 10))
  while kill -0 "$varrow_pid" 2>/dev/null && ((SECONDS < deadline)); do sleep 0.1; done
  kill "$varrow_pid" 2>/dev/null || true
  wait "$varrow_pid" 2>/dev/null || true
  varrow_pid=""
}

report_line() { "$VARROW_BIN" list | grep "^$1: "; }
is_running() { report_line "$1" | grep -q "running=true"; }
is_stopped() { report_line "$1" | grep -q "running=false"; }

# The pid of the stand-in started on a data folder ("" for the installed Claude's own data).
pid_for_data_dir() {
  local pid args
  for pid in $(standin_pids); do
    args=$(tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null) || continue
    if [ -z "$1" ]; then
      grep -q -- '^--user-data-dir=' <<<"$args" || { echo "$pid"; return 0; }
    elif grep -qxF -- "--user-data-dir=$1" <<<"$args"; then
      echo "$pid"
      return 0
    fi
  done
  return 1
}

environment_of() { tr '\0' '\n' <"/proc/$1/environ" 2>/dev/null | grep "^$2=" | cut -d= -f2-; }

active_pid() { xdotool getactivewindow getwindowpid 2>/dev/null; }

# wm_class PID: the WM_CLASS class of the process's window.
wm_class() {
  local window
  window=$(xdotool search --all --onlyvisible --pid "$1" 2>/dev/null | head -n1)
  [ -n "$window" ] || return 1
  xprop -id "$window" WM_CLASS | sed -n 's/.*= "[^"]*", "\([^"]*\)"$/\1/p'
}

# standin_state DATA_DIR JQ_FILTER: a field of the stand-in's own record in that data folder.
standin_state() { jq -r "$2" "$1/standin-state.json" 2>/dev/null; }

# PNG width and height from the IHDR chunk.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d\n", (($1 * 256 + $2) * 256 + $3) * 256 + $4, (($5 * 256 + $6) * 256 + $7) * 256 + $8 }'
}
