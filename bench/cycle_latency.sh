#!/usr/bin/env bash
# Time from a Ctrl+` press to the next account's Claude window being active, by the stand-in's own
# activation record, with two accounts open on the stand-in Claude. Median of RUNS presses.
#   bench/cycle_latency.sh BUILD_DIR [RUNS] [xvfb|sway|mutter|kwin|sway-native|kwin-native|kwin-portal|gnome-native]
# xvfb is Xvfb + openbox; the others are headless Wayland compositors with Claude on Xwayland, or,
# for *-native, Claude as a native client switched through the compositor's window list (sway: the
# key bound in sway to "varrow cycle", its command socket hidden as on other wlroots compositors)
# or KWin's scripts (KWin: the key through XTEST; kwin-portal: the key as KDE's own shortcut through
# the desktop portal, pressed as KWin does, by kglobalaccel); gnome-native is headless GNOME Shell
# after the login that loaded Varrow's extension, which holds the key, keys typed through mutter's
# remote-desktop service as on mutter.
# Target: under 180 ms, so the first front-switching strategy's own check already sees it.
set -euo pipefail

build=$(cd "${1:?usage: bench/cycle_latency.sh BUILD_DIR [RUNS] [xvfb|sway|mutter|kwin|sway-native|kwin-native|kwin-portal|gnome-native]}" && pwd)
runs=${2:-20}
desktop=${3:-xvfb}
source "$(dirname "$0")/lib/bench.bash"
source "$(dirname "$0")/../tests/e2e/lib/compositor.bash"
varrow_env=()

if [ "$desktop" = xvfb ]; then
  start_x
  setup_home
  compositor=xvfb
  press_cycle_key_xvfb() {
    key_sent_at=$(now_ms)
    xdotool key ctrl+grave
  }
elif [ "$desktop" = gnome-native ]; then
  setup_home
  # The login after Varrow installed its extension: the shell loads it at its start.
  uuid=$(basename "$build"/gnome-shell/43/*)
  mkdir -p "$XDG_DATA_HOME/gnome-shell/extensions"
  cp -r "$build/gnome-shell/43/$uuid" "$XDG_DATA_HOME/gnome-shell/extensions/"
  gnome_extensions=$uuid start_compositor gnome
  start_key_typist "$(dirname "$0")/../tests/e2e/lib/mutter-keys.py"
  press_cycle_key_gnome() { press_cycle_key_mutter "$@"; }
elif [[ "$desktop" == *-native || "$desktop" == kwin-portal ]]; then
  setup_home
  use_native_claude_package
  if [ "$desktop" = sway-native ]; then
    bind_cycle_key_in_sway
    varrow_env=(SWAYSOCK= I3SOCK=)
  fi
  start_compositor "${desktop%-*}"
  [ "$desktop" = kwin-portal ] && start_kde_portal
else
  setup_home
  start_compositor "$desktop"
fi
write_profiles "Work" "Home"
start_varrow "${varrow_env[@]}"
[ "$desktop" = kwin-portal ] && use_kde_shortcuts
for name in Work Home; do "$VARROW_BIN" open "$name"; done
for name in Work Home; do wait_for 30 "$name to run" is_running "$name"; done
dirs=("$VARROW_HOME/Accounts/work/Desktop" "$VARROW_HOME/Accounts/home/Desktop")
"$VARROW_BIN" open Work
wait_for 10 "Work in front" standin_active "${dirs[0]}"
sleep 1.5  # past the focus hand-off

times=()
for ((i = 0; i < runs; i++)); do
  standin_active "${dirs[0]}" && target=${dirs[1]} || target=${dirs[0]}
  press_cycle_key
  deadline=$((SECONDS + 5))
  until standin_active "$target" && (($(standin_active_since "$target") >= key_sent_at)); do
    ((SECONDS < deadline)) || fail "press $i: the next account did not come forward"
    sleep 0.01
  done
  times+=($(($(standin_active_since "$target") - key_sent_at)))
  sleep 1.5  # let the chain's checks and the hand-off window finish
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(echo "$sorted" | sed -n "$(((runs + 1) / 2))p")
echo "$desktop: cycle to front: median ${median} ms over $runs presses (min $(echo "$sorted" | head -1), max $(echo "$sorted" | tail -1))"
