#!/usr/bin/env bash
# End to end: the installer and its uninstaller, silent, under Wine and Xvfb (KVT_ARCH chooses the Wine). Each
# case runs in a fresh copy of the test prefix, so no registry value leaks between cases.
#   installer_test.sh <case> <kvt-setup-*.exe> <kvt.scr>
#   lifecycle    install; the installed kvt.scr /c saves beside itself; installing again
#                replaces kvt.scr and keeps kvtini.xml; uninstalling removes kvt.scr and
#                both registry entries and keeps kvtini.xml
#   other-saver  an uninstall after another saver was selected leaves that selection alone
#   blanks       /D= names a folder with blanks: SCRNSAVE.EXE is its short form, and the
#                uninstaller still knows it as its own
#   upgrade      an install over a 1.0 install in the old default folder (with a blank) moves
#                it: one kvt.scr, the same kvtini.xml, one uninstall entry
#   same-folder  installs into one folder named with and without a trailing backslash and
#                through a link: each replaces the one before, none deletes what it installed
# Prints one line per check and exits non-zero when any fails.
set -u -o pipefail
case_name=$1 setup=$(realpath "$2") saver=$(realpath "$3")
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"
work=$(mktemp -d)
on_exit 'rm -rf "$work"'

win() { "$wine" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
desktop='HKCU\Control Panel\Desktop'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\TaveloRssScreensaver'
# The data of a registry value; fails when it is absent.
reg_value() {
  local out; out=$(win reg query "$1" /v "$2") || return 1
  sed -n "s/^    $2    REG_[A-Z_]*    //p" <<<"$out"
}
value_is() { [ "$(reg_value "$1" "$2")" = "$3" ]; }
value_absent() { ! win reg query "$1" /v "$2" >/dev/null; }
key_absent() { ! win reg query "$1" >/dev/null; }
same() { cmp -s "$1" "$2"; }
absent() { [ ! -e "$1" ]; }
exits_with() { local want=$1; shift; "$wine" "$@" </dev/null >/dev/null 2>&1; [ $? = "$want" ]; }

# NSIS reads /D= and _?= only unquoted and last, and wine quotes an argument with blanks,
# so such a command line is handed over in a batch file.
run_batch() {
  printf '@%s\r\n@exit /b %%errorlevel%%\r\n' "$1" >"$WINEPREFIX/drive_c/run.bat"
  exits_with 0 cmd /c 'C:\run.bat'
}
install() { exits_with 0 "$setup" /S; }
install_into() { cp "$setup" "$WINEPREFIX/drive_c/setup.exe"; run_batch "C:\setup.exe /S /D=$1"; }
# With _?= the uninstaller runs where it is and can be waited for (it then cannot delete
# itself).
uninstall() { run_batch "\"${1:-$dir}\\uninst.exe\" /S _?=${1:-$dir}"; }

# Runs the selected saver's settings dialog and presses Enter (OK); true when it ended with 1.
configure() {
  "$wine" "$(reg_value "$desktop" SCRNSAVE.EXE)" /c </dev/null >/dev/null 2>&1 &
  local pid=$! window= i
  for i in $(seq 150); do
    window=$(xdotool search --onlyvisible --name '^KVT v' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "no settings dialog"; kill $pid; return 1; }
  # A key that comes before the dialog is ready for it is lost (more so under emulation):
  # Return again until the dialog has ended, at most five times.
  local tries
  for tries in 1 2 3 4 5; do
    xdotool windowfocus --sync "$window" key Return 2>/dev/null
    for i in $(seq 30); do
      kill -0 $pid 2>/dev/null || break 2
      sleep 0.1
    done
  done
  kill -0 $pid 2>/dev/null && { echo "the dialog did not end"; kill $pid; return 1; }
  wait $pid
  [ $? = 1 ]
}

# On the screen of the tests that started it (configure drives a dialog there).
begin_wine_session -d -c "$work/prefix" || exit 1
local_app_data=$(win cmd /c echo %LOCALAPPDATA%)
dir="$local_app_data\\Programs\\TaveloRssScreensaver"
unix_dir=$(win winepath -u "$dir")
[ -n "$unix_dir" ] || { echo "cannot find the install folder"; exit 1; }

case $case_name in
lifecycle)
  check "silent install exits with 0" install
  check "kvt.scr is in $dir" same "$unix_dir/kvt.scr" "$saver"
  check "SCRNSAVE.EXE is its full path, without a blank" value_is "$desktop" SCRNSAVE.EXE "$dir\\kvt.scr"
  check "ScreenSaveActive is 1" value_is "$desktop" ScreenSaveActive 1
  check "the uninstaller is registered" value_is "$uninstall_key" UninstallString "\"$dir\\uninst.exe\""

  check "kvt.scr /c ends with OK" configure
  check "kvtini.xml is saved beside kvt.scr" test -s "$unix_dir/kvtini.xml"
  cp "$unix_dir/kvtini.xml" "$work/kvtini.xml"

  echo 'an earlier build' >"$unix_dir/kvt.scr"
  check "a second silent install exits with 0" install
  check "it replaced kvt.scr" same "$unix_dir/kvt.scr" "$saver"
  check "it left kvtini.xml byte-identical" same "$unix_dir/kvtini.xml" "$work/kvtini.xml"

  # As some tools write it: our kvt.scr by its short path is still ours.
  win reg add "$desktop" /v SCRNSAVE.EXE /d "$(win winepath -s "$dir\\kvt.scr")" /f >/dev/null
  check "silent uninstall exits with 0" uninstall
  check "kvt.scr is removed" absent "$unix_dir/kvt.scr"
  check "SCRNSAVE.EXE is removed" value_absent "$desktop" SCRNSAVE.EXE
  check "ScreenSaveActive is 0" value_is "$desktop" ScreenSaveActive 0
  check "the uninstall entry is removed" key_absent "$uninstall_key"
  check "kvtini.xml is kept byte-identical" same "$unix_dir/kvtini.xml" "$work/kvtini.xml"
  ;;
other-saver)
  other='C:\windows\system32\other.scr'
  check "silent install exits with 0" install
  win reg add "$desktop" /v SCRNSAVE.EXE /d "$other" /f >/dev/null
  check "silent uninstall exits with 0" uninstall
  check "kvt.scr is removed" absent "$unix_dir/kvt.scr"
  check "the uninstall entry is removed" key_absent "$uninstall_key"
  check "SCRNSAVE.EXE still names the other saver" value_is "$desktop" SCRNSAVE.EXE "$other"
  check "ScreenSaveActive is still 1" value_is "$desktop" ScreenSaveActive 1
  ;;
blanks)
  chosen='C:\My Savers\Tavelo'
  check "a silent install into \"$chosen\" exits with 0" install_into "$chosen"
  check "kvt.scr is there" same "$(win winepath -u "$chosen\\kvt.scr")" "$saver"
  panel=$(reg_value "$desktop" SCRNSAVE.EXE)
  echo "SCRNSAVE.EXE: $panel"
  check "SCRNSAVE.EXE has no blank" test -n "${panel}" -a "${panel}" = "${panel// /}"
  check "SCRNSAVE.EXE names the installed kvt.scr" same "$(win winepath -u "$panel")" "$saver"
  check "silent uninstall exits with 0" uninstall "$chosen"
  check "kvt.scr is removed" absent "$(win winepath -u "$chosen\\kvt.scr")"
  check "SCRNSAVE.EXE in its short form is known and removed" value_absent "$desktop" SCRNSAVE.EXE
  ;;
upgrade)
  # What the 1.0.0 installer left: its folder with a blank, the settings beside kvt.scr,
  # its entries.
  old="$local_app_data\\Programs\\Tavelo Rss Screensaver"
  old_unix=$(win winepath -u "$old")
  mkdir -p "$old_unix"
  echo 'kvt.scr 1.0' >"$old_unix/kvt.scr"
  echo 'uninst.exe 1.0' >"$old_unix/uninst.exe"
  printf '<?xml version="1.0" encoding="UTF-8"?>\r\n<kvtini>\r\n  <font_face>ＭＳ ゴシック</font_face>\r\n</kvtini>\r\n' \
    >"$old_unix/kvtini.xml"
  cp "$old_unix/kvtini.xml" "$work/kvtini.xml"
  win reg add "$uninstall_key" /v DisplayVersion /d 1.0.0 /f >/dev/null
  win reg add "$uninstall_key" /v InstallLocation /d "$old" /f >/dev/null
  win reg add "$uninstall_key" /v UninstallString /d "\"$old\\uninst.exe\"" /f >/dev/null
  win reg add "$desktop" /v SCRNSAVE.EXE /d "$old\\kvt.scr" /f >/dev/null

  check "a silent install over 1.0 exits with 0" install
  check "kvt.scr is in $dir" same "$unix_dir/kvt.scr" "$saver"
  check "kvtini.xml came along byte-identical" same "$unix_dir/kvtini.xml" "$work/kvtini.xml"
  check "the old folder is gone" absent "$old_unix"
  check "SCRNSAVE.EXE names the new kvt.scr" value_is "$desktop" SCRNSAVE.EXE "$dir\\kvt.scr"
  check "the one uninstall entry is the new one" value_is "$uninstall_key" InstallLocation "$dir"
  entries=$(win reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s | grep -c "Tavelo's Rss Screensaver")
  check "one uninstall entry names the saver" test "$entries" = 1

  check "silent uninstall exits with 0" uninstall
  check "SCRNSAVE.EXE in its long form is known and removed" value_absent "$desktop" SCRNSAVE.EXE
  check "kvtini.xml is kept byte-identical" same "$unix_dir/kvtini.xml" "$work/kvtini.xml"
  ;;
same-folder)
  unix=$WINEPREFIX/drive_c/Savers
  mkdir -p "$unix"
  ln -s Savers "$WINEPREFIX/drive_c/Linked"
  for spelling in 'C:\Savers\' 'C:\Savers' 'C:\Savers\' 'C:\Linked'; do
    check "a silent install into $spelling exits with 0" install_into "$spelling"
    check "kvt.scr is there" same "$unix/kvt.scr" "$saver"
    check "uninst.exe is there" test -s "$unix/uninst.exe"
    check "SCRNSAVE.EXE names it" same "$(win winepath -u "$(reg_value "$desktop" SCRNSAVE.EXE)")" "$saver"
  done
  ;;
*)
  echo "unknown case '$case_name'"; exit 2 ;;
esac
[ $failures = 0 ]
