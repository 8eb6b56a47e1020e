#!/usr/bin/env bash
# End-to-end runs of ausklink.exe under Wine, through the harness of
# scripts/wine-run.sh, whose prefix maps C: to the build tree and the test
# letters T:, U: and V: to fresh directories. The runs see the real Win32
# calls: the mount table, drive types, volume devices and the console.
#
#   end_to_end.sh WINE_RUN BUILD_DIR AUSKLINK_EXE
#
# T: gets a mount-table value in device-path form (an external volume);
# U: keeps the value Wine gives every drive (the Unix path, which begins
# like C:'s, so not external). Wine opens and locks such a volume but cannot
# dismount it, which the tool must report as a failure.
set -euo pipefail

wine_run=$1
build=$(cd "$2" && pwd -P)
exe=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

run() { "$wine_run" "$build" "$@"; }

# Volume control must never reach a letter other than the test letters:
# check the prefix's drive letters before any run that may issue it.
check_letters() {
  local devices=$build/wine/dosdevices entry name
  local -a found=()
  for entry in "$devices"/*; do
    name=${entry##*/}
    [[ $name == *:* ]] && found+=("$name -> $(readlink "$entry")")
  done
  local wanted=("c: -> $build" "t: -> $build/wine/drives/t" "u: -> $build/wine/drives/u"
                  "v: -> $build/wine/drives/v")
  if [[ $(printf '%s\n' "${found[@]}" | sort) != "$(printf '%s\n' "${wanted[@]}")" ]]; then
    echo "unexpected drive letters in the prefix, not running:" >&2
    printf '  %s\n' "${found[@]}" >&2
    exit 1
  fi
}

# UTF-16LE hex of an ASCII text, as reg add takes REG_BINARY data.
utf16_hex() {
  local text=$1 i
  for ((i = 0; i < ${#text}; i++)); do printf '%02x00' "'${text:i:1}"; done
}

# expect NAME EXPECTED_OUTPUT COMMAND...: runs the command with standard
# input from the null device and compares exit code 0 and the output byte
# for byte.
expect() {
  local name=$1 expected=$2
  shift 2
  printf '%b' "$expected" >"$work/expected"
  local code=0
  "$@" </dev/null >"$work/actual" 2>"$work/errors" || code=$?
  if [[ $code -ne 0 ]] || ! cmp -s "$work/expected" "$work/actual"; then
    echo "FAILED: $name (exit code $code)"
    echo "--- expected"; od -c "$work/expected" | head -40
    echo "--- actual"; od -c "$work/actual" | head -40
    cat "$work/errors"
    failures=$((failures + 1))
  else
    echo "ok: $name"
  fi
}

usage='\r\nausklink 1.0 - USB-Speichermedien und FireWire-Platten sicher abmelden\r\n'
usage+="\r\nProgrammaufruf : ausklink.exe <'ALL' oder Laufwerksbuchstabe> [Parameter (optional)]\r\n\r\n"
usage+="          'ausklink.exe' meldet alle USB-Speichermedien oder\r\n"
usage+='          FireWire-Platten zum sicheren entfernen ab.\r\n\r\n'
usage+='          Im Falle eines einzelnen Laufwerksbuchstabens\r\n'
usage+='          wird nur das eine USB-Geraet abgemeldet.\r\n\r\n'
usage+='          [Parameter (optional)]\r\n'
usage+='          /E=<Laufwerks-String>\r\n'
usage+='               Aneinanderreihung aller Laufwerksbuchstaben, die nicht\r\n'
usage+='               geprueft oder abgemeldet werden sollen\r\n'
usage+="               (gilt nur bei 'ALL')\r\n"
usage+='          /R   Laufwerksbuchstaben werden zusaetzlich entfernt.\r\n'
usage+='          /X   ohne abschliessende Eingabeaufforderung.\r\n'

# Without arguments: the usage screen, then the key wait, which reads at
# most one byte of redirected input and so ends at once.
expect "usage screen, input at its end" "$usage" run "$exe"
expect "usage screen, one key piped in" "$usage" bash -c 'printf k | "$@"' _ "$wine_run" "$build" "$exe"

# The mount-table values last until the wineserver ends; the harness keeps
# one running for the whole test run.
device_path='\??\STORAGE#RemovableMedia#7&2a5c1e3&0&RM#{53f56307-b6bf-11d0-94f2-00a0c91efb8b}'
for letter in T S; do
  run reg add 'HKLM\SYSTEM\MountedDevices' /v "\\DosDevices\\$letter:" /t REG_BINARY \
    /d "$(utf16_hex "$device_path")" /f >/dev/null
done
check_letters

failed_release='pruefe Laufwerk T ... FEHLER beim abmelden\r\n'
expect "external test drive: locked, dismount refused" "$failed_release" run "$exe" T /X
expect "lower-case letter with colon" "$failed_release" run "$exe" t: /X
expect "letter removal skipped after the refused dismount" \
  'pruefe Laufwerk T ... FEHLER beim entfernen\r\n' run "$exe" T /X /R
expect "drive with the value Wine gives it" 'pruefe Laufwerk U ... kein USB oder FireWire\r\n' \
  run "$exe" U /X
expect "external value, but no such drive" 'pruefe Laufwerk S ... FEHLER beim abmelden\r\n' \
  run "$exe" S /X

summary() {
  printf '\\r\\nGetestete Laufwerke : %s\\r\\n   ... %s Laufwerke %s\\r\\n' "$1" "$2" "$4"
  printf '   ... %s Laufwerke konnten nicht %s werden\\r\\n' "$3" "$4"
}
expect "sweep over all drives" "$failed_release$(summary 1 0 1 abgemeldet)" run "$exe" ALL /X
expect "sweep with letter removal" \
  "pruefe Laufwerk T ... FEHLER beim entfernen\\r\\n$(summary 1 0 1 entfernt)" run "$exe" all /x /r
expect "sweep excluding T" "$(summary 0 0 0 abgemeldet)" run "$exe" ALL /E=t /X

if ((failures > 0)); then
  echo "$failures end-to-end check(s) failed"
  exit 1
fi
