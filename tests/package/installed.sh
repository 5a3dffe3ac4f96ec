#!/usr/bin/env bash
# The installed varrow started as a user starts it, in a private home without a display: it answers
# on its socket, registers itself to open at login under its installed name, and bash completes
# account names from it. Run by scripts/package-check while the package is installed.
#
# usage: tests/package/installed.sh WORK_DIR
set -euo pipefail
work=$(mkdir -p "${1:?usage: installed.sh WORK_DIR}" && cd "$1" && pwd)
fail() { echo "installed.sh: $*" >&2; [ -f "$work/varrow.log" ] && sed 's/^/  | /' "$work/varrow.log" >&2; exit 1; }

export HOME="$work/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_STATE_HOME="$HOME/.local/state"
export XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=offscreen
unset VARROW_HOME DISPLAY WAYLAND_DISPLAY
mkdir -p "$XDG_DATA_HOME/Varrow" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
cat > "$XDG_DATA_HOME/Varrow/profiles.json" <<'JSON'
[
  {"id": "5A1C7B52-3C4D-4E8F-9A10-000000000001", "name": "My Claude", "note": "", "color": "clay", "isDefault": true, "folderName": "", "createdAt": "2026-01-01T00:00:00Z"},
  {"id": "5A1C7B52-3C4D-4E8F-9A10-000000000002", "name": "Work", "note": "", "color": "teal", "isDefault": false, "folderName": "work", "createdAt": "2026-01-01T00:00:00Z"},
  {"id": "5A1C7B52-3C4D-4E8F-9A10-000000000003", "name": "Side Project", "note": "", "color": "iris", "isDefault": false, "folderName": "side-project", "createdAt": "2026-01-01T00:00:00Z"}
]
JSON

varrow > "$work/varrow.log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

# A child that has exited stays a zombie until reaped, which kill -0 still finds.
alive() { local state; state=$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null) && [ "$state" != Z ]; }
# Generous deadlines: the machine may be busy with other builds.
wait_for() {  # description command...
  local what=$1 deadline=$((SECONDS + 60))
  shift
  until "$@"; do
    [ "$what" = "varrow to quit" ] || alive || fail "varrow exited while waiting for $what"
    ((SECONDS < deadline)) || fail "timed out waiting for $what"
    sleep 0.1
  done
}
wait_for "its socket" varrow list > /dev/null 2>&1
autostart="$XDG_CONFIG_HOME/autostart/varrow.desktop"
wait_for "the autostart entry" test -s "$autostart"
grep -qx 'Exec="varrow" --login-item' "$autostart" || fail "the autostart entry does not name the installed varrow: $(grep Exec= "$autostart")"
desktop-file-validate "$autostart" || fail "the autostart entry is not a valid desktop entry"

# Completion as bash calls it, against the running Varrow.
# shellcheck source=/dev/null
source /usr/share/bash-completion/completions/varrow
complete_line() {  # words... (the last one is being completed)
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  _varrow
  printf '%s\n' "${COMPREPLY[*]}"
}
[ "$(complete_line varrow open Si)" = 'Side\ Project' ] || fail "open Si completes to: $(complete_line varrow open Si)"
[ "$(complete_line varrow open Work '')" = 'My\ Claude Work Side\ Project' ] || fail "open takes more names: $(complete_line varrow open Work '')"
[ "$(complete_line varrow quit '"My')" = 'My\ Claude' ] || fail "quit \"My completes to: $(complete_line varrow quit '"My')"
[ -z "$(complete_line varrow command Work '')" ] || fail "command takes one name only"
[ "$(complete_line varrow code Wo)" = 'Work' ] || fail "code Wo completes to: $(complete_line varrow code Wo)"
[ "$(complete_line varrow c)" = 'command code cycle' ] || fail "c completes to: $(complete_line varrow c)"
[ "$(complete_line varrow op)" = 'open open-link' ] || fail "op completes to: $(complete_line varrow op)"

varrow quit
wait_for "varrow to quit" eval '! alive'
wait "$pid" || fail "varrow quit with status $?"
trap - EXIT
echo "installed.sh: the installed varrow started, registered for login as \"varrow\", completed names and quit"
