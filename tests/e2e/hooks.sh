#!/usr/bin/env bash
# Varrow's automation hooks for real: VARROW_OPEN, VARROW_RENDER and VARROW_REPORT against the
# stand-in Claude under Xvfb; checks the four PNG files and every line of the report.
source "$(dirname "$0")/lib/common.bash"

start_x
setup_home
write_profiles "Work" "Home" "Side Project"

# Open Work and Home first and let them settle, so the render's report does not race their start.
start_varrow
"$VARROW_BIN" open Work
"$VARROW_BIN" open Home
wait_for 30 "Work and Home to run" sh -c '"$0" list | grep -q "^Work: running=true" && "$0" list | grep -q "^Home: running=true"' "$VARROW_BIN"
stop_varrow

out="$work/out"
mkdir -p "$out"
start=$SECONDS
VARROW_OPEN="Work,Home" VARROW_RENDER="$out/shot.png" VARROW_REPORT="$out/report.txt" \
  timeout 60 "$VARROW_BIN" >>"$work/varrow.log" 2>&1 || fail "the render run did not end by itself (status $?)"
echo "render run took $((SECONDS - start)) s"

check_png() {  # path minimum-bytes [exact size]
  [ -f "$1" ] || fail "$1 was not written"
  local bytes size
  bytes=$(stat -c %s "$1")
  size=$(png_size "$1")
  # A blank image of these sizes compresses to a few hundred bytes.
  ((bytes >= $2)) || fail "$1 looks blank ($bytes bytes, $size)"
  [ -z "${3:-}" ] || [ "$size" = "$3" ] || fail "$1 is $size, expected $3"
  echo "ok: $(basename "$1") $size, $bytes bytes"
}
check_png "$out/shot.png" 8000 560x520
check_png "$out/shot-switcher-edge.png" 1000
check_png "$out/shot-switcher-edge-open.png" 2000
check_png "$out/shot-switcher-floating.png" 1500
[ "$(png_size "$out/shot-switcher-edge.png")" != "$(png_size "$out/shot-switcher-edge-open.png")" ] ||
  fail "the open edge tab has the size of the closed one"

expected="My Claude: running=false app=- path=-
Work: running=true app=Claude Work path=Claude Work.app
Home: running=true app=Claude Home path=Claude Home.app
Side Project: running=false app=- path=-"
actual=$(cat "$out/report.txt")
[ "$actual" = "$expected" ] || fail "report differs:
$actual
--- expected
$expected"
[ "$(tail -c1 "$out/report.txt" | od -An -c | tr -d ' ')" != '\n' ] || fail "report ends with a line feed"
echo "ok: report"
echo "PASS"
