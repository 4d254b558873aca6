#!/usr/bin/env bash
# The Windows program under Wine, searching real drives: drive X: is a
# temporary folder with an old (version 2) and a new (version 5)
# installation, found after the walk of drive C:.
#
#   WineDesktopTest.sh MODE PROGRAM_DIR DATA_DIR WORK_DIR SHARED_PREFIX
#
# console:   toviconv.com --console, answered on standard input.
# windows:   toviconv.exe on a virtual display, answered with keys; the
#            progress and confirm windows and the message boxes are kept as
#            screenshots in WORK_DIR. Drive D: holds a large tree, so that the
#            search runs long enough to be cancelled (and resumed).
# store:     installations under C:\Program Files (x86) whose user files
#            live in the user's virtual store (as a program without a UAC
#            manifest leaves them): the console run converts the store's
#            copy into the store's copy of version 5.
# elevation: toviconv.exe with a dropped file, writing into a folder Wine
#            reports as access denied (an immutable folder): the confirm
#            window opens on the dropped file and the write is asked for with
#            "runas" and the right arguments (Wine starts it without a
#            prompt, and it cannot write either).
# usage:     toviconv.exe with a command line it cannot understand shows a box.
# Each checks the dialogue, the exit status and the bytes written. Every wait
# is bounded; everything started here is ended here.
set -euo pipefail
mode=$1 bin=$2 data=$3 work=$4 shared=$5
SKIP=77

[ -f "$shared/system.reg" ] || { echo "no Wine prefix at $shared (made by the fixture WinePrefix.Start, cmake/wine-prefix.sh)"; exit $SKIP; }
rm -rf "$work"
mkdir -p "$work/prefix/dosdevices" "$work/x/Labels/Old" "$work/x/Labels5/New" "$work/d"
cp "$data/card_v2.FDF" "$work/x/Labels/Old/User.FDF"
: >"$work/x/Labels/Old/Tovipri.exe"
: >"$work/x/Labels5/New/Tovi5.exe"

# A prefix of the test's own, sharing drive C: with the build's prefix: Wine
# learns its drive letters when its server starts.
cp "$shared"/*.reg "$work/prefix/"
cp "$shared/.update-timestamp" "$work/prefix/" 2>/dev/null || true
ln -s "$shared/drive_c" "$work/prefix/drive_c"
ln -s ../drive_c "$work/prefix/dosdevices/c:"
ln -s "$work/d" "$work/prefix/dosdevices/d:"
ln -s "$work/x" "$work/prefix/dosdevices/x:"
ln -s / "$work/prefix/dosdevices/z:"
export WINEPREFIX=$work/prefix WINEDEBUG=-all
pids=()
undo=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  WINEPREFIX=$work/prefix timeout 20 wineserver -k >/dev/null 2>&1 || true
  for step in "${undo[@]}"; do eval "$step" || true; done
}
trap cleanup EXIT
timeout 60 wineserver -p >/dev/null 2>&1

fail() { echo "FAIL: $*" >&2; exit 1; }
check_output() {
  cmp "$work/x/Labels5/New/USER.YLI" "$data/card_v5.YLI" || fail "USER.YLI differs from the Linux build's"
}

if [ "$mode" = console ]; then
  # OK in the confirm dialog (an empty line); nothing else is asked. Paths
  # found and written are shown upper-cased, as Windows names ignore case.
  status=0
  printf '\n' | LC_ALL=C.UTF-8 timeout 300 wine "$bin/toviconv.com" --console >"$work/dialogue.txt" 2>"$work/errors.txt" \
    || status=$?
  expected=$(printf '確認\n以下のファイルをTovi５用に変換します\nX:\\LABELS\\OLD\\User.FDF\n> X:\\LABELS5\\NEW\\USER.YLIに出力しました')
  [ "$(cat "$work/dialogue.txt")" = "$expected" ] || { cat "$work/dialogue.txt" "$work/errors.txt"; fail "dialogue"; }
  [ "$status" -eq 0 ] || fail "exit status $status"
  check_output
  echo "console run: found both installations on X:, converted byte for byte"
  exit 0
fi

# A virtual display with a window manager, in Japanese, for the windowed program.
start_display() {
  for tool in Xvfb openbox xdotool import; do
    command -v "$tool" >/dev/null 2>&1 || { echo "no $tool"; exit $SKIP; }
  done
  n=120
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  [ -e "/tmp/.X11-unix/X$n" ] || { echo "the virtual display did not start"; exit $SKIP; }
  export DISPLAY=:$n LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
  openbox >/dev/null 2>&1 &
  pids+=($!)
  # The templates' font, drawn with the IPA font.
  timeout 60 wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /d 'IPAPGothic' /f >/dev/null 2>&1 || true
}

# await TITLE: the id of the shown window with that title (bounded wait).
# Searched again until it shows: a search fails outright (BadWindow) when
# another window goes while it looks, as the elevated program's do.
await() {
  local id= i
  for i in $(seq 300); do
    id=$(timeout 10 xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
    [ -n "$id" ] && break
    sleep 0.2
  done
  [ -n "$id" ] || { import -window root "$work/failed.png" 2>/dev/null || true; fail "no window \"$1\""; }
  sleep 0.5  # drawn
  echo "$id"
}
shot() { import -window root "$work/$1.png" 2>/dev/null || fail "screenshot $1"; }

if [ "$mode" = store ]; then
  # The known folders as this prefix names them; the store mirrors C:\ under
  # the user's local application data.
  user=$(id -un)
  programs="$work/prefix/drive_c/Program Files (x86)"
  store="$work/prefix/drive_c/users/$user/AppData/Local/VirtualStore/Program Files (x86)"
  [ -d "$programs" ] && [ -d "$work/prefix/drive_c/users/$user/AppData/Local" ] || { echo "no Program Files (x86)"; exit $SKIP; }
  tag="toviconv-test-$$"
  undo+=("rm -rf \"$programs/$tag\" \"$store/$tag\"")
  mkdir -p "$programs/$tag/ラベル旧" "$programs/$tag/Label5" "$store/$tag/ラベル旧" "$store/$tag/Label5"
  : >"$programs/$tag/ラベル旧/Tovipri.exe"
  : >"$programs/$tag/Label5/Tovi5.exe"
  printf 'GroupName = the installer\r\n' >"$programs/$tag/ラベル旧/User.FDF"
  printf 'installed' >"$programs/$tag/Label5/USER.YLI"
  cp "$data/card_v2.FDF" "$store/$tag/ラベル旧/USER.FDF"
  printf 'written by version 5' >"$store/$tag/Label5/user.yli"
  # OK in the confirm dialog, Yes to the overwrite question.
  status=0
  printf '\ny\n' | LC_ALL=C.UTF-8 timeout 300 wine "$bin/toviconv.com" --console --root "C:\\Program Files (x86)\\$tag" \
    >"$work/dialogue.txt" 2>"$work/errors.txt" || status=$?
  folder="C:\\users\\$user\\AppData\\Local\\VirtualStore\\PROGRAM FILES (X86)\\${tag^^}"
  out="${folder^^}\\LABEL5\\USER.YLI"
  expected=$(printf '確認\n以下のファイルをTovi５用に変換します\n%s\n> ファイル USER.YLI が存在します。上書きしますか？\n[y/n] %sに出力しました\nThe file as it was before is kept as %s.bak.' \
    "$folder\\ラベル旧\\USER.FDF" "$out" "$out")
  [ "$(cat "$work/dialogue.txt")" = "$expected" ] || { cat "$work/dialogue.txt" "$work/errors.txt"; fail "dialogue"; }
  [ "$status" -eq 0 ] || fail "exit status $status"
  cmp "$store/$tag/Label5/user.yli" "$data/card_v5.YLI" || fail "the store's USER.YLI is not the converted file"
  [ "$(cat "$programs/$tag/Label5/USER.YLI")" = installed ] || fail "the installer's USER.YLI changed"
  [ "$(cat "$store/$tag/Label5/USER.YLI.bak")" = "written by version 5" ] || fail "no backup of the store's copy"
  echo "store run: converted the store's copy into the store's copy of version 5"
  exit 0
fi

if [ "$mode" = elevation ]; then
  start_display
  rm -rf "$work/x/Labels" "$work/x/Labels5"  # the one version 5 is in the guarded folder
  old="$work/x/Old Labels" new="$work/x/New Labels"
  mkdir -p "$old" "$new"
  cp "$data/card_v2.FDF" "$old/User.FDF"
  : >"$new/Tovi5.exe"
  chattr +i "$new" 2>/dev/null || { echo "cannot make a folder immutable here"; exit $SKIP; }
  undo+=("chattr -i \"$new\"")
  # The shell's own trace shows what was asked of it.
  WINEDEBUG=trace+exec timeout 300 wine "$bin/toviconv.exe" --root 'X:\' 'X:\Old Labels\User.FDF' \
    >"$work/errors.txt" 2>&1 &
  program=$!
  pids+=($program)
  w=$(await '^確認$')
  shot confirm-dropped-file
  xdotool windowactivate --sync "$w" key Return
  w=$(await '^ToviConv$')
  shot elevated-write-failed
  xdotool windowactivate --sync "$w" key Return
  sleep 1
  w=$(await '^ToviConv$')
  xdotool windowactivate --sync "$w" key Return
  status=0
  wait "$program" || status=$?
  [ "$status" -eq 1 ] || fail "exit status $status"
  request='verb=L"runas" file=L"[^"]*toviconv.exe" parm=L"convert \\"X:\\\\OLD LABELS\\\\USER.FDF\\" \\"X:\\\\NEW LABELS\\\\USER.YLI\\""'
  grep -a -q "$request" "$work/errors.txt" || { grep -a "exec:" "$work/errors.txt" | head; fail "no runas request"; }
  [ ! -e "$new/USER.YLI" ] || fail "written without rights"
  echo "elevation run: the dropped file confirmed, the write asked for with runas (screenshots in $work)"
  exit 0
fi

if [ "$mode" = usage ]; then
  start_display
  # Started as a double-click starts it: no console, nothing reads its output.
  timeout 120 wine "$bin/toviconv.exe" --no-such-option </dev/null >/dev/null 2>&1 &
  program=$!
  pids+=($program)
  w=$(await '^ToviConv$')
  shot usage-error
  xdotool windowactivate --sync "$w" key Return
  status=0
  wait "$program" || status=$?
  [ "$status" -eq 2 ] || fail "exit status $status"
  echo "usage run: the windowed program showed its command-line error in a box"
  exit 0
fi

# --- windows ---------------------------------------------------------------
start_display
# A tree on D: large enough for the search to be cancelled while it runs.
for i in $(seq 60); do
  mkdir -p "$work/d/folder$i"
  (cd "$work/d/folder$i" && touch $(seq -f "file%g.txt" 300))
done

timeout 300 wine "$bin/toviconv.exe" >"$work/errors.txt" 2>&1 &
program=$!
pids+=($program)

w=$(await '検索しています')
shot progress
xdotool windowactivate --sync "$w" key Escape
w=$(await '^ToviConv$')
shot question-stop-search
xdotool windowactivate --sync "$w" key n          # No: the search goes on
w=$(await '^確認$')
shot confirm
# A file that is not there: refused with a box, and the window stays.
xdotool windowactivate --sync "$w" key shift+Tab key End shift+Home type --delay 30 'X:\Labels\Old\Missing.FDF'
xdotool key Return
b=$(await '^ToviConv$')
shot refused-missing-file
xdotool windowactivate --sync "$b" key Return
sleep 1  # the confirm window active again
w=$(await '^確認$')
xdotool windowactivate --sync "$w" key End shift+Home type --delay 30 'X:\Labels\Old\User.FDF'
xdotool key Return                                # Enter is OK
w=$(await '^ToviConv$')
shot written
xdotool windowactivate --sync "$w" key Return
status=0
wait "$program" || status=$?
[ "$status" -eq 0 ] || { cat "$work/errors.txt"; fail "exit status $status"; }
check_output
echo "windowed run: progress, question, confirm and final box shown (screenshots in $work)"
