# Sourced by the desktop end-to-end test and the desktop benchmark: a temporary folder
# removed at exit together with every process whose pid is added to pids, an X display of
# its own (Xvfb), a private home, and a tray host (trayer) in the top left corner, so the
# tray icon's place is known.

tmp=$(mktemp -d)
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT

# Starts Xvfb (it picks a free display number and tells it on a pipe), a home under $tmp
# and the tray. False when the display does not come up.
start_x_session() {
  local xfd display
  exec {xfd}<> <(:)
  Xvfb -displayfd "$xfd" -screen 0 1280x800x24 -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
  pids+=($!)
  read -r -t 10 -u "$xfd" display || return 1
  export DISPLAY=":$display"
  unset WAYLAND_DISPLAY QT_QPA_PLATFORM
  export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config"
  export XDG_DATA_HOME="$tmp/home/.local/share" XDG_RUNTIME_DIR="$tmp/run"
  mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
  trayer --edge top --align left --widthtype pixel --width 40 --heighttype pixel --height 30 \
    --SetDockType false --transparent false >"$tmp/trayer.log" 2>&1 &
  pids+=($!)
}
