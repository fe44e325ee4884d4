#!/usr/bin/env bash
# The desktop program's figures, in one run under Xvfb with a tray (trayer):
#  (a) start-up time until the tray icon and the basket are on screen, and resident
#      memory when idle, against an empty Qt Widgets program showing one window;
#  (b) the longest stall of the user-interface thread while a drop of N files (10,000 by
#      default) is organised (the program measures it when VANDREL_UI_HEARTBEAT names a
#      file), and the drop's rate against "vandrel apply" on as many fresh files.
# Targets: start-up within 2x, idle memory within 1.5x of the empty program; no stall
# over 50 ms; the drop at no less than 80% of apply's rate.
# Usage: bench/desktop_bench.sh [BUILD_DIR] [FILES]   (needs xvfb, trayer, xdotool)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
count=${2:-10000}
vandrel="$build/app/vandrel"
empty="$build/bench/bench_empty_window"
drag_source="$build/tests/e2e/vandrel-drag-source"
for f in "$vandrel" "$empty" "$drag_source"; do [ -x "$f" ] || { echo "missing $f (build first)"; exit 1; }; done
for tool in Xvfb trayer xdotool; do command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }; done

source "$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/x_session.sh"
start_x_session || { echo "Xvfb did not start"; exit 1; }
sleep 1

# The shell's own clock: no process started per reading.
now_ms() { local us=${EPOCHREALTIME/./}; echo $((us / 1000)); }
# Whether process $1 shows a window titled exactly $2; "tray" for its docked tray icon.
shows() {
  local w
  local found
  if [ "$2" = tray ]; then
    found=$(xdotool search --onlyvisible --pid "$1" 2>/dev/null || true)
  else
    found=$(xdotool search --onlyvisible --name "^$2\$" 2>/dev/null || true)
  fi
  for w in $found; do
    [ "$(xdotool getwindowpid "$w" 2>/dev/null)" = "$1" ] || continue
    if [ "$2" = tray ]; then
      eval "$(xdotool getwindowgeometry --shell "$w")"
      [ "$WIDTH" -le 64 ] || continue
    fi
    return 0
  done
  return 1
}
# Polls a command for up to $1 seconds; gives up with a message.
wait_until() {
  local limit=$(($(date +%s) + $1))
  shift
  until "$@"; do
    [ "$(date +%s)" -lt "$limit" ] || { echo "gave up waiting for: $*"; exit 1; }
    sleep 0.005
  done
}
both_shown() { shows "$1" "Vandrel Basket" && shows "$1" tray; }
# The drop is done when its folder is empty: find stops at the first entry, so the poll
# costs little and can come often (a coarse poll would add its wait to the drop's time).
in_empty() { sleep 0.01; [ -z "$(find "$tmp/in" -mindepth 1 -print -quit)" ]; }
rss_kib() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }
median() { sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }

# Polls, at the same cost per round for both programs (one xdotool search), until process
# $1 shows at least $2 windows; then confirms with the remaining command that they are the
# expected ones (going on polling if not) and prints the milliseconds since $3, taken when
# the poll saw them: the confirming calls count for neither program.
start_ms() {
  local pid=$1 need=$2 t0=$3 ws seen limit=$(($(date +%s) + 30))
  shift 3
  while :; do
    ws=($(xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true))
    seen=$(now_ms)
    if [ "${#ws[@]}" -ge "$need" ] && "$@"; then echo $((seen - t0)); return; fi
    [ "$(date +%s)" -lt "$limit" ] || { echo "gave up waiting for: $*" >&2; exit 1; }
    sleep 0.005
  done
}

# (a) Start-up and idle memory, five starts each, the median taken.
rule_text() {
  echo "Texts<|RU|>All<|RU|>Extension<|CP|>is<|CD|>txt<|RU|>Move to<|AP|>$1<|AC|>0<|AC|><//>date.current<//><|AC|>1<|RU|>0B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C2D"
}
: >"$tmp/start_vandrel"
: >"$tmp/start_empty"
for run in 1 2 3 4 5; do
  data="$tmp/start$run"
  mkdir -p "$data"
  rule_text "$tmp/nowhere" >"$data/rules.txt"
  t0=$(now_ms)
  "$vandrel" --data-dir "$data" 2>/dev/null &
  pid=$!
  start_ms "$pid" 2 "$t0" both_shown "$pid" >>"$tmp/start_vandrel"
  sleep 2
  rss_kib "$pid" >>"$tmp/rss_vandrel"
  kill "$pid"; wait "$pid" || true

  t0=$(now_ms)
  "$empty" &
  pid=$!
  start_ms "$pid" 1 "$t0" shows "$pid" "Empty window" >>"$tmp/start_empty"
  sleep 2
  rss_kib "$pid" >>"$tmp/rss_empty"
  kill "$pid"; wait "$pid" || true
done
sv=$(median <"$tmp/start_vandrel"); se=$(median <"$tmp/start_empty")
rv=$(median <"$tmp/rss_vandrel"); re=$(median <"$tmp/rss_empty")

# (b) A drop of $count files on the basket, then "vandrel apply" on as many fresh ones.
data="$tmp/drop"
mkdir -p "$data" "$tmp/in" "$tmp/dest" "$tmp/in2" "$tmp/dest2" "$tmp/apply"
rule_text "$tmp/dest" >"$data/rules.txt"
rule_text "$tmp/dest2" >"$tmp/apply/rules.txt"
for ((i = 1; i <= count; i++)); do : >"$tmp/in/f$i.txt"; : >"$tmp/in2/f$i.txt"; done
VANDREL_UI_HEARTBEAT="$tmp/heartbeat" "$vandrel" --data-dir "$data" 2>"$tmp/vandrel.err" &
vpid=$!
pids+=($vpid)
wait_until 30 shows "$vpid" "Vandrel Basket"
basket=$(for w in $(xdotool search --onlyvisible --name "^Vandrel Basket\$"); do
  [ "$(xdotool getwindowpid "$w")" = "$vpid" ] && echo "$w"; done | head -1)
eval "$(xdotool getwindowgeometry --shell "$basket")"
bx=$((X + WIDTH / 2)); by=$((Y + HEIGHT / 2))
ls -U "$tmp/in" | sed "s|^|$tmp/in/|" >"$tmp/list"
"$drag_source" 300 300 "@$tmp/list" &
dpid=$!
pids+=($dpid)
wait_until 60 shows "$dpid" "Vandrel drag source"
xdotool mousemove 360 340; sleep 0.2; xdotool mousedown 1
for s in 1 2 3 4 5 6 7 8 9 10; do
  xdotool mousemove $((360 + (bx - 360) * s / 10)) $((340 + (by - 340) * s / 10)); sleep 0.05
done
sleep 0.3
t0=$(now_ms)
xdotool mouseup 1
wait_until 600 in_empty
drop_ms=$(($(now_ms) - t0))
sleep 1
kill "$vpid"; wait "$vpid" || true
heartbeat=$(cat "$tmp/heartbeat" 2>/dev/null || echo "no heartbeat written")

t0=$(now_ms)
(cd "$tmp/in2" && ls -U | sed "s|^|$tmp/in2/|" |
  xargs -x -s 2000000 "$vandrel" --data-dir "$tmp/apply" apply --yes >/dev/null)
apply_ms=$(($(now_ms) - t0))
moved=$(ls -U "$tmp/dest" | wc -l); applied=$(ls -U "$tmp/dest2" | wc -l)

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
echo "start-up to tray icon and basket: vandrel ${sv} ms, empty window ${se} ms: $(ratio "$sv" "$se")x (target <= 2x)"
echo "idle resident memory: vandrel $(ratio "$rv" 1024) MiB, empty window $(ratio "$re" 1024) MiB: $(ratio "$rv" "$re")x (target <= 1.5x)"
echo "drop of $count files: $moved moved in ${drop_ms} ms ($(ratio $((moved * 1000)) "$drop_ms") items/s); heartbeat: $heartbeat (target: longest gap <= 50 ms)"
echo "vandrel apply on $count files: $applied moved in ${apply_ms} ms ($(ratio $((applied * 1000)) "$apply_ms") items/s)"
echo "drop rate / apply rate: $(ratio $((moved * apply_ms)) $((applied * drop_ms))) (target >= 0.80)"
