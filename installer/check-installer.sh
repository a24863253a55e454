#!/usr/bin/env bash
# An installer in a fresh Wine prefix of its own: a silent install, the
# program started from the Start menu shortcut's target, a silent uninstall.
# Usage: check-installer.sh <build tree> <installer> <pointer bits> <32-bit Wine root>
set -euo pipefail
build=$1
setup=$2
. "$(dirname "$0")/../cmake/wine-env.sh"
wine_env "$3" "$4"
export WINEPREFIX="$build/installer-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export HOME="$build/installer-home"
app_paths='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\FullSuitePlindorDemo.exe'
folder="$WINEPREFIX/drive_c/Program Files/Quorva Plindor"
lnk="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quorva Plindor.lnk"
docs="$WINEPREFIX/drive_c/users/$(id -un)/Documents"
pid=""

fail() { echo "FAIL: $*"; exit 1; }
cleanup() {
  [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
}
trap cleanup EXIT
# Waits up to $1 seconds for a command to succeed.
within() {
  local t=$1; shift
  for _ in $(seq $((t * 5))); do "$@" && return 0; sleep 0.2; done
  return 1
}
window() { xdotool search --name "$1" >/dev/null 2>&1; }
alive() { kill -0 "$pid" 2>/dev/null; }
gone() { ! alive; }
stop_program() {
  "$wine" taskkill /F /IM QuorvaPlindor.exe >/dev/null 2>&1 || true
  within 10 gone || kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=""
}

rm -rf "$WINEPREFIX" "$HOME"
mkdir -p "$HOME"
# No sound card: ALSA's default device goes to a file, as in the test runner.
printf 'pcm.!default {\n type file\n slave.pcm "null"\n file "%s/played.raw"\n format "raw"\n}\n' "$HOME" >"$HOME/.asoundrc"
timeout 120 "$wine" wineboot -i </dev/null >/dev/null 2>&1 || fail "wineboot failed or took over 120 s"
[ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ] || fail "the Wine prefix $WINEPREFIX could not be made"
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1

echo "== silent install"
"$wine" "$setup" /S </dev/null >/dev/null 2>&1 || fail "installer exit code $?"
for f in QuorvaPlindor.exe Zumbrel.dll QuorvaSound.dll akrip.dll languages.txt chordfile.ini \
         mainBmp.bmp english/TutorialStart.html deutsch/TutorialStart.html \
         help/English/QuorvaPlindor.chm help/Deutsch/QuorvaPlindor.chm Uninstall.exe; do
  [ -f "$folder/$f" ] || fail "not installed: $f"
done
value=$("$wine" reg query "$app_paths" /v path 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
[ "$value" = 'C:\Program Files\Quorva Plindor\' ] || fail "App Paths value 'path' is '$value'"
"$wine" reg query 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\QuorvaPlindor' /v UninstallString \
  >/dev/null 2>&1 || fail "not listed in Add/Remove Programs"
[ -f "$lnk" ] || fail "no Start menu shortcut"
target=$(python3 -c '
import re, sys
m = re.search(rb"[A-Za-z]:\\[^\x00]*?\.exe", open(sys.argv[1], "rb").read())
print(m.group(0).decode("latin-1") if m else "")' "$lnk")
[ "$target" = 'C:\Program Files\Quorva Plindor\QuorvaPlindor.exe' ] || fail "shortcut target is '$target'"
echo "shortcut target: $target"

echo "== first start: the language chooser lists the installed languages.txt"
cd "$HOME"
"$wine" "$target" </dev/null >/dev/null 2>&1 &
pid=$!
within 30 window '^Choose Language$' || fail "no language chooser (languages.txt not found in the installed folder?)"
stop_program

echo "== second start: main window, libraries and data from the installed folder"
printf '[defaultLanguage]=0\r\n[showQuickStart]=0\r\n' >"$folder/set.ton"
# Start-up removes stale temporary sound from its installation folder.
: >"$folder/tempWavFile7.wav"
"$wine" "$target" </dev/null >/dev/null 2>&1 &
pid=$!
within 40 window '^Quorva Plindor' || fail "no main window"
within 20 test ! -e "$folder/tempWavFile7.wav" || fail "start-up did not use the installed folder"
# A missing engine library ends the program once the splash is gone.
sleep 6
alive || fail "the program ended by itself"
window '^Quorva Plindor' || fail "the main window went away"
stop_program

echo "== silent uninstall"
mkdir -p "$docs"
echo song >"$docs/My Song.vqx"
echo song >"$folder/Saved Here.vqx"
"$wine" "C:\\Program Files\\Quorva Plindor\\Uninstall.exe" /S </dev/null >/dev/null 2>&1 || fail "uninstaller exit code $?"
# The uninstaller finishes from a copy of itself in the temporary folder.
within 30 test ! -e "$folder/Uninstall.exe" || fail "uninstaller left itself"
wineserver -w
for f in QuorvaPlindor.exe Zumbrel.dll QuorvaSound.dll akrip.dll languages.txt mainBmp.bmp english deutsch help; do
  [ ! -e "$folder/$f" ] || fail "left behind: $f"
done
"$wine" reg query "$app_paths" >/dev/null 2>&1 && fail "App Paths key left behind"
"$wine" reg query 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\QuorvaPlindor' >/dev/null 2>&1 \
  && fail "Add/Remove Programs entry left behind"
[ ! -e "$lnk" ] || fail "Start menu shortcut left behind"
[ -f "$docs/My Song.vqx" ] || fail "document in Documents removed"
[ -f "$folder/Saved Here.vqx" ] || fail "document in the installation folder removed"
[ -f "$folder/set.ton" ] || fail "settings removed without asking"
echo "PASS"
