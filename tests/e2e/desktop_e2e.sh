#!/usr/bin/env bash
# The desktop program end to end, as a user meets it: under Xvfb with a tray (trayer),
# two files dragged from another program onto the basket are moved by a rule and logged,
# the settings window is opened from the tray menu, "Exit" ends the program, and the
# state files hold what they should. Everything lives in a temporary home and data folder.
# Usage: desktop_e2e.sh VANDREL DRAG_SOURCE. Exit 77 (skipped) when a tool is missing.
set -euo pipefail
vandrel=$1
drag_source=$2
for tool in Xvfb trayer xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is missing (packages xvfb, trayer, xdotool; ./setup.sh installs them)"
    exit 77
  fi
done

source "$(dirname "${BASH_SOURCE[0]}")/x_session.sh"
fail() {
  echo "FAILED: $*"
  [ -f "$tmp/vandrel.err" ] && sed 's/^/  vandrel: /' "$tmp/vandrel.err" | tail -20
  exit 1
}
# Polls a command for up to $1 tenths of a second.
wait_for() {
  local tenths=$1
  shift
  for ((t = 0; t < tenths; t++)); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  return 1
}

start_x_session || fail "Xvfb did not start"
data="$tmp/data"
mkdir -p "$data" "$tmp/in" "$tmp/dest" "$tmp/watch" "$tmp/quick"

# State before the start: one rule (text files go to dest), a watched folder, a quick folder.
guid=0B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C2D
rule="Texts<|RU|>All<|RU|>Extension<|CP|>is<|CD|>txt<|RU|>Move to<|AP|>$tmp/dest<|AC|>0<|AC|><//>date.current<//><|AC|>1<|RU|>$guid"
printf '%s\n' "$rule" >"$data/rules.txt"
"$vandrel" --data-dir "$data" folders add "$tmp/watch" --every 4 >/dev/null || fail "folders add"
printf '%s\n' "$tmp/quick" >"$data/qfolders.txt"
printf 'one\n' >"$tmp/in/a.txt"
printf 'two\n' >"$tmp/in/b.txt"

"$vandrel" --data-dir "$data" >"$tmp/vandrel.out" 2>"$tmp/vandrel.err" &
vandrel_pid=$!
pids+=($vandrel_pid)

# A window of a process, found by its title and confirmed by its process id.
window_of() {
  local pid=$1 title=$2 w
  for w in $(xdotool search --name "^$title\$" 2>/dev/null); do
    if [ "$(xdotool getwindowpid "$w" 2>/dev/null)" = "$pid" ]; then
      echo "$w"
      return 0
    fi
  done
  return 1
}
visible_window_of() {
  local w
  w=$(window_of "$1" "$2") || return 1
  local shown
  shown=$(xdotool search --onlyvisible --name "^$2\$" 2>/dev/null) || return 1
  grep -qx "$w" <<<"$shown"
}
wait_for 150 visible_window_of "$vandrel_pid" "Vandrel Basket" || fail "the basket did not appear"
basket=$(window_of "$vandrel_pid" "Vandrel Basket")
eval "$(xdotool getwindowgeometry --shell "$basket")"
basket_x=$((X + WIDTH / 2))
basket_y=$((Y + HEIGHT / 2))

# Drag both files from another program onto the basket, as a user with a mouse does:
# press on the source, move in steps, pause, release.
"$drag_source" 300 300 "$tmp/in/a.txt" "$tmp/in/b.txt" &
drag_pid=$!
pids+=($drag_pid)
wait_for 100 visible_window_of "$drag_pid" "Vandrel drag source" || fail "the drag source did not appear"
xdotool mousemove 360 340
sleep 0.2
xdotool mousedown 1
for step in 1 2 3 4 5 6 7 8 9 10; do
  xdotool mousemove $((360 + (basket_x - 360) * step / 10)) $((340 + (basket_y - 340) * step / 10))
  sleep 0.05
done
sleep 0.3
xdotool mouseup 1
wait_for 100 test -f "$tmp/dest/a.txt" -a -f "$tmp/dest/b.txt" || fail "the dropped files were not moved: $(ls "$tmp/dest" "$tmp/in")"
[ ! -e "$tmp/in/a.txt" ] && [ ! -e "$tmp/in/b.txt" ] || fail "the sources are still there"
[ "$(cat "$tmp/dest/a.txt")" = one ] && [ "$(cat "$tmp/dest/b.txt")" = two ] || fail "moved files changed"

# Both moves are in the action log, under the rule's title.
logged() {
  local log
  log=$("$vandrel" --data-dir "$data" log a.txt) && grep -q "Texts" <<<"$log" &&
    log=$("$vandrel" --data-dir "$data" log b.txt) && grep -q "Texts" <<<"$log"
}
wait_for 100 logged || fail "the moves are not in the log: $("$vandrel" --data-dir "$data" log 2>&1)"

# A watched folder added from the command line while the program runs is not lost when
# the program writes its lists at exit (it is handed to the program or merged on save).
mkdir -p "$tmp/watch2"
"$vandrel" --data-dir "$data" folders add "$tmp/watch2" >/dev/null 2>"$tmp/add.err" ||
  fail "folders add while running: $(cat "$tmp/add.err")"

# The settings window from the tray menu: click the icon, take the menu's last item.
tray_click() {
  xdotool mousemove 15 15 click 1
  sleep 0.5
}
tray_click
xdotool key Up Return
wait_for 100 visible_window_of "$vandrel_pid" "Vandrel Settings" || fail "the settings window did not open from the tray menu"

# "Exit" is the menu's first item.
tray_click
xdotool key Down Return
for ((t = 0; t < 100; t++)); do kill -0 "$vandrel_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$vandrel_pid" 2>/dev/null && fail "\"Exit\" did not end the program"
wait "$vandrel_pid" || fail "the program ended with status $?"

# What was held in memory is on disk, unchanged where nothing changed it.
[ "$(cat "$data/rules.txt")" = "$rule" ] || fail "rules.txt: $(cat "$data/rules.txt")"
grep -qF "$tmp/watch<|FL|>" "$data/folders.txt" && grep -qF "$tmp/watch2<|FL|>" "$data/folders.txt" ||
  fail "folders.txt: $(cat "$data/folders.txt")"
[ "$(cat "$data/qfolders.txt")" = "$tmp/quick" ] || fail "qfolders.txt: $(cat "$data/qfolders.txt")"
keys=$(grep -o '^[A-Za-z]*=' "$data/options.ini" | tr -d '=' | tr '\n' ' ')
[ "$keys" = "StartWin settingShow basketShow basketTop basketLeft " ] || fail "options.ini keys: $keys"
grep -qx 'basketShow=True' "$data/options.ini" || fail "options.ini: $(cat "$data/options.ini")"
grep -qx 'settingShow=True' "$data/options.ini" || fail "options.ini: $(cat "$data/options.ini")"
left=$(sed -n 's/^basketLeft=//p' "$data/options.ini")
[ "$left" -gt 0 ] || fail "options.ini basketLeft=$left"
