#!/usr/bin/env bash
# Runs the Windows programs of a cross build under Wine, in a private Wine
# prefix inside the build tree.
#
#   wine-run.sh BUILD_DIR start               prepare the prefix and start one
#                                             wineserver for the whole test run
#   wine-run.sh BUILD_DIR stop                stop that wineserver
#   wine-run.sh BUILD_DIR PROGRAM [ARG...]    run one program (a path to an .exe,
#                                             or a Wine program such as reg)
#
# The prefix is BUILD_DIR/wine. Drive C: is BUILD_DIR itself, so that the
# programs, the working directories CTest gives them and the files they write
# are all reachable under C:.
#
# Safety: Wine maps Z: to the host's root file system and adds letters for
# the host's devices, and its dismount of a volume backed by a block device
# runs umount on the host. So before anything runs in the prefix, every drive
# letter except C: is removed, and the only other letters are the test letters
# T:, U: and V:, each mapped to a fresh plain directory in BUILD_DIR/wine/drives.
# V: is the scratch drive of the backend tests (AUSKLINK_TEST_DRIVE).
set -euo pipefail

if (($# < 2)); then
  echo "usage: $0 BUILD_DIR start|stop|PROGRAM [ARG...]" >&2
  exit 2
fi
build=$(cd "$1" && pwd -P)
shift

wine=${AUSKLINK_WINE:-/usr/lib/wine/wine64}
server=${AUSKLINK_WINESERVER:-/usr/lib/wine/wineserver64}
prefix=$build/wine
drives=$prefix/drives
test_letters=(t u v)

export WINEPREFIX=$prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES=winemenubuilder.exe=d
export AUSKLINK_TEST_DRIVE=V
# No window system and no system bus: Wine opens no windows and does not
# learn of the host's removable devices, for which it would add letters.
unset DISPLAY WAYLAND_DISPLAY
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent

# Leaves exactly C: and the test letters in the prefix's device directory
# (raw device links such as "d::" included in what goes).
secure_drives() {
  local devices=$prefix/dosdevices entry name letter keep
  mkdir -p "$devices" "$drives"
  for entry in "$devices"/*; do
    [[ -e $entry || -L $entry ]] || continue
    name=${entry##*/}
    [[ $name == *:* ]] || continue
    keep=false
    if [[ $name == c: && $(readlink "$entry") == "$build" ]]; then
      keep=true
    fi
    for letter in "${test_letters[@]}"; do
      if [[ $name == "$letter:" && $(readlink "$entry") == "$drives/$letter" ]]; then
        keep=true
      fi
    done
    $keep || rm -rf -- "$entry"
  done
  [[ -L $devices/c: ]] || ln -s "$build" "$devices/c:"
  for letter in "${test_letters[@]}"; do
    mkdir -p "$drives/$letter"
    [[ -L $devices/$letter: ]] || ln -s "$drives/$letter" "$devices/$letter:"
  done
}

# Creates the prefix once. The device directory exists before Wine first
# runs, so Wine's own set-up adds no Z:.
prepare() {
  [[ -e $prefix/.prepared ]] && return
  rm -rf "$prefix"
  secure_drives
  # No downloads of Mono and Gecko while the prefix is made.
  (cd "$build" && WINEDLLOVERRIDES="$WINEDLLOVERRIDES;mscoree=d;mshtml=d" "$wine" wineboot -i) \
    >/dev/null 2>&1 9>&-
  "$server" -w
  secure_drives
  touch "$prefix/.prepared"
}

# Everything that changes the prefix runs under one lock (parallel tests);
# the wineserver must not inherit it.
mkdir -p "$prefix"
exec 9>"$build/.wine.lock"
flock 9

case $1 in
  start)
    prepare
    "$server" -k 2>/dev/null || true
    "$server" -w
    rm -rf "$drives"
    secure_drives
    # Persistent for the run; gone a minute after its last client if the
    # stop step never comes. Wine would start one that ends with its last
    # client, and each start rebuilds the mount table.
    # The server and Wine's services outlive this step: they get none of its
    # files, or whoever waits for its output would wait for them too.
    "$server" -p60 </dev/null >/dev/null 2>&1 9>&-
    cd "$build"
    # Wine's services start with the first program and rebuild the mount
    # table; let them do that now, then check the letters once more.
    "$wine" reg query 'HKLM\SYSTEM\MountedDevices' </dev/null >/dev/null 2>&1 9>&-
    secure_drives
    ;;
  stop)
    "$server" -k 2>/dev/null || true
    "$server" -w
    ;;
  *)
    prepare
    secure_drives
    # The server of the run, or one started here with the same lifetime.
    "$server" -p60 </dev/null >/dev/null 2>&1 9>&- || true
    exec 9>&-
    exec "$wine" "$@"
    ;;
esac
