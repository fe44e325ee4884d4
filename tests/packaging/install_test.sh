#!/usr/bin/env bash
# Installs the build into a temporary prefix (with a space in its name) and checks what a
# desktop user gets: the program and its libraries, a launcher that validates, the icon
# in the hicolor theme and a user unit that does not restart on a refusal.
# Usage: install_test.sh BUILD_DIR. Exit 77 (skipped) when desktop-file-validate is missing.
set -euo pipefail
build=$1
if ! command -v desktop-file-validate >/dev/null; then
  echo "SKIPPED: desktop-file-validate is missing (package desktop-file-utils; ./setup.sh installs it)"
  exit 77
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix="$tmp/pre fix"
fail() { echo "FAILED: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" || { cat "$tmp/install.log"; fail "cmake --install"; }

for f in bin/vandrel \
         share/applications/vandrel.desktop \
         share/icons/hicolor/scalable/apps/vandrel.svg \
         lib/systemd/user/vandrel-daemon.service; do
  [ -f "$prefix/$f" ] || fail "$f was not installed"
done
for size in 16 22 24 32 48 64 128 256; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/vandrel.png"
  [ -f "$png" ] || fail "the ${size}px icon was not installed"
  # The PNG header holds the width and height as big-endian numbers at bytes 16 and 20.
  read -r w h < <(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4, $7*256+$8}')
  [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "the ${size}px icon is ${w}x${h}"
done

desktop-file-validate "$prefix/share/applications/vandrel.desktop" || fail "the launcher does not validate"
grep -qx 'Categories=Utility;FileTools;' "$prefix/share/applications/vandrel.desktop" || fail "launcher categories"
grep -qx "Exec=\"$prefix/bin/vandrel\"" "$prefix/share/applications/vandrel.desktop" || fail "launcher Exec"

unit="$prefix/lib/systemd/user/vandrel-daemon.service"
grep -qx "ExecStart=\"$prefix/bin/vandrel\" daemon" "$unit" || fail "unit ExecStart"
grep -qx 'RestartPreventExitStatus=2 3' "$unit" || fail "unit RestartPreventExitStatus"

# The installed program runs from the prefix alone (its own libraries found there).
if ldd "$prefix/bin/vandrel" | grep -q 'not found'; then fail "a library of the installed program is not found"; fi
home="$tmp/home"
mkdir -p "$home"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" XDG_CONFIG_HOME="$home/.config" "$prefix/bin/vandrel" --version)
[[ "$out" =~ ^vandrel\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version said: $out"
help=$(env -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" "$prefix/bin/vandrel" --help)
grep -q 'start the desktop program' <<<"$help" || fail "--help said: $help"
