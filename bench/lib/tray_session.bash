# The session the start-up and soak benchmarks run in: Xvfb + openbox with an XEmbed tray host
# (trayer), a private home with the stand-in Claude's package and three accounts, and Varrow's
# login item already set up, as on every start after the first. Source after common.bash.
start_tray_session() {
  command -v trayer >/dev/null || fail "trayer is not installed (scripts/setup installs it)"
  start_x
  setup_home
  write_profiles "Work" "Home" "Side Project"
  mkdir -p "$XDG_CONFIG_HOME/Varrow" && printf '[General]\ndidSetUpLoginItem=true\n' >"$XDG_CONFIG_HOME/Varrow/Varrow.conf"
  trayer --edge top --align right --widthtype pixel --width 120 --height 24 >"$work/trayer.log" 2>&1 &
  track $!
  sleep 1  # the tray host owns its selection
}
