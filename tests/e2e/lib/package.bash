# Claude's Linux package laid out by hand for the end-to-end scripts: the stand-in as its
# "Electron", an Electron archive with the version, a launcher entry and an icon. Source after
# common.bash; install_package VERSION needs the fixture archive tool (the script skips without it).
asar_tool="${VARROW_BUILD_DIR:-}/tools/fixture-electron/fixture-asar"
[ -x "$asar_tool" ] || { echo "SKIP: $asar_tool is not built"; exit 77; }

pkg="$work/pkg"
lib="$pkg/usr/lib/claude-desktop"
# install_package VERSION: lays out (or upgrades) the package the way a package manager does:
# new files written beside the old ones, then renamed over them.
install_package() {
  mkdir -p "$lib/resources" "$pkg/usr/bin" "$pkg/share/applications" "$pkg/share/icons/hicolor/256x256/apps"
  printf '{"name":"claude-desktop","productName":"Claude","version":"%s","main":"dist/main.js"}' "$1" >"$work/package.json"
  echo "// main" >"$work/main.js"
  "$asar_tool" "$lib/resources/app.asar.new" package.json="$work/package.json" dist/main.js="$work/main.js"
  mv -f "$lib/resources/app.asar.new" "$lib/resources/app.asar"
  cp "$VARROW_STANDIN_BUNDLE/Contents/MacOS/Claude" "$lib/claude-desktop.new"
  mv -f "$lib/claude-desktop.new" "$lib/claude-desktop"
  cp "$VARROW_STANDIN_BUNDLE/Contents/MacOS/Claude" "$lib/chrome_crashpad_handler"
  ln -sfn "$lib/claude-desktop" "$pkg/usr/bin/claude-desktop"
  cp "$VARROW_STANDIN_BUNDLE/Contents/Resources/Claude.png" "$pkg/share/icons/hicolor/256x256/apps/claude-desktop.png"
  cat >"$pkg/share/applications/claude-desktop.desktop" <<EOF
[Desktop Entry]
Type=Application
Name=Claude
Exec=$pkg/usr/bin/claude-desktop %u
Icon=claude-desktop
StartupWMClass=Claude
EOF
}
