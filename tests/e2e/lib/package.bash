# Claude's Linux package in the test's private prefix $pkg, laid out from the one the build made
# (VARROW_STANDIN_PACKAGE): the stand-in as its Electron executable, the archive, the launcher on
# the search path, the system entry and the icon. Sourced by common.bash.
: "${VARROW_STANDIN_PACKAGE:?VARROW_STANDIN_PACKAGE must name the stand-in Claude laid out as the package}"
[ -x "$VARROW_STANDIN_PACKAGE/usr/lib/claude-desktop/claude-desktop" ] ||
  { echo "FAIL: $VARROW_STANDIN_PACKAGE is not laid out (build the standin-package target)"; exit 1; }

pkg="$work/pkg"
lib="$pkg/usr/lib/claude-desktop"

# give_copies_the_package_app_id NAME...: each account's copy gets the package's own archive back,
# as a failed rewrite leaves it, so its windows carry the package's app id.
give_copies_the_package_app_id() {
  local name
  for name in "$@"; do
    rm "$VARROW_HOME/Apps/Claude $name.app/resources/app.asar"
    ln -s "$lib/resources/app.asar" "$VARROW_HOME/Apps/Claude $name.app/resources/app.asar"
  done
}

# install_package [VERSION]: installs the package, or upgrades it, the way a package manager
# does: each new file written beside the old one, then renamed over it. With VERSION the archive
# is made again with that version (with the build's fixture-asar).
install_package() {
  local from=$VARROW_STANDIN_PACKAGE path source
  local entry=usr/share/applications/com.anthropic.Claude.desktop archive=usr/lib/claude-desktop/resources/app.asar
  # The entry's launcher is the one in this prefix.
  sed "s|^Exec=$from/|Exec=$pkg/|" "$from/$entry" >"$work/package-entry"
  if [ -n "${1:-}" ]; then
    local asar_tool="${VARROW_BUILD_DIR:-}/tools/fixture-electron/fixture-asar" inputs="${from%/*}/archive"
    [ -x "$asar_tool" ] || fail "$asar_tool is not built"
    sed "s/\"version\": *\"[^\"]*\"/\"version\": \"$1\"/" "$inputs/package.json" >"$work/package.json"
    "$asar_tool" "$work/app.asar" package.json="$work/package.json" dist/main.js="$inputs/dist/main.js"
  fi
  while IFS= read -r path; do
    source=$from/$path
    [ "$path" != "$entry" ] || source=$work/package-entry
    [ "$path" != "$archive" ] || [ -z "${1:-}" ] || source=$work/app.asar
    mkdir -p "$pkg/${path%/*}"
    cp -P "$source" "$pkg/$path.new"
    mv -fT "$pkg/$path.new" "$pkg/$path"
  done < <(cd "$from" && find . ! -type d | sed 's|^\./||')
}

# Claude's own user entry, as a launcher resolves it: the user's folder first.
claude_entry() {
  local dir
  for dir in "$XDG_DATA_HOME" ${XDG_DATA_DIRS//:/ }; do
    [ -f "$dir/applications/com.anthropic.Claude.desktop" ] && { echo "$dir/applications/com.anthropic.Claude.desktop"; return 0; }
  done
  return 1
}
# entry_program ENTRY: the program of its Exec line, quotes undone.
entry_program() { sed -n 's/^Exec=//p' "$1" | head -n1 | sed -E 's/^"([^"]*)".*/\1/; t; s/ .*//'; }
names_installed_claude() {
  local entry
  entry=$(claude_entry) && [ "$(readlink -f "$(entry_program "$entry")")" = "$lib/claude-desktop" ] &&
    ! grep -q "\.app/" "$entry"
}

# check_menu_claude_after_copies_started DATA_DIR...: every Claude started from a copy wrote
# Claude's own user entry naming itself; "Claude" in the application menu still starts the
# installed Claude on its default data (started here unless a Claude runs there already), and
# Varrow's entries of the accounts are intact.
check_menu_claude_after_copies_started() {
  local dir entry menu_pid
  # Each start rewrites the entry: the checks begin once the last one has claimed links.
  for dir in "$@"; do
    wait_for 10 "the Claude in $dir to claim links" sh -c '[ "$(jq -r ".linkHandler.at" "$0/standin-state.json")" != null ]' "$dir"
  done
  wait_for 10 "Claude's user entry to name the installed Claude" names_installed_claude
  entry=$(claude_entry)
  [ "$entry" = "$XDG_DATA_HOME/applications/com.anthropic.Claude.desktop" ] || fail "Claude's user entry is missing"
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" || fail "Claude's repaired entry is not valid"
  fi
  if ! pid_for_data_dir "" >/dev/null; then
    "$(entry_program "$entry")" >/dev/null 2>&1 &
    wait_for 15 "the menu's Claude to start on the default data" pid_for_data_dir ""
    menu_pid=$(pid_for_data_dir "")
    [ "$(readlink "/proc/$menu_pid/exe")" = "$lib/claude-desktop" ] || fail "the menu's Claude runs $(readlink "/proc/$menu_pid/exe")"
    wait_for 10 "My Claude to be known as running" is_running "My Claude"
  fi
  for entry in "$XDG_DATA_HOME"/applications/varrow-claude-*.desktop; do
    grep -q "^X-Varrow-Copy=" "$entry" && grep -q "^Name=Claude " "$entry" || fail "Varrow's entry $entry was changed"
  done
  echo "ok: after the copies started, the menu's Claude is the installed one and the accounts' entries are intact"
}
