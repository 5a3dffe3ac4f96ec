# Claude's Linux package in the test's private prefix $pkg, laid out from the one the build made
# (VARROW_STANDIN_PACKAGE): the stand-in as its Electron executable, the archive, the launcher on
# the search path, the system entry and the icon. Sourced by common.bash.
: "${VARROW_STANDIN_PACKAGE:?VARROW_STANDIN_PACKAGE must name the stand-in Claude laid out as the package}"
[ -x "$VARROW_STANDIN_PACKAGE/usr/lib/claude-desktop/claude-desktop" ] ||
  { echo "FAIL: $VARROW_STANDIN_PACKAGE is not laid out (build the standin-package target)"; exit 1; }

pkg="$work/pkg"
lib="$pkg/usr/lib/claude-desktop"

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
