#!/usr/bin/env bash
# Takes a real screen grab for the benchmark: a private Xvfb display with a Wine desktop
# showing the Wine file manager, its configuration dialog and Notepad (Korean and Latin
# text), grabbed with ImageMagick's `import`. Everything started here is ended here: the
# processes by their ids, the Wine server of the private prefix by `wineserver -k`.
#   grab_screen.sh OUT.png WORK_DIR
set -euo pipefail

out=${1:?usage: grab_screen.sh OUT.png WORK_DIR}
work=${2:?usage: grab_screen.sh OUT.png WORK_DIR}
for tool in Xvfb import wine wineboot wineserver; do
  command -v "$tool" >/dev/null || { echo "grab_screen: $tool is not installed" >&2; exit 1; }
done
mkdir -p "$work"
work=$(cd "$work" && pwd)

display=
for n in $(seq 120 199); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=$n; break; fi
done
[ -n "$display" ] || { echo "grab_screen: no free display number" >&2; exit 1; }

export DISPLAY=:$display WINEPREFIX=$work/wineprefix WINEDEBUG=-all LANG=ko_KR.UTF-8 LC_ALL=ko_KR.UTF-8
pids=()
cleanup() {
  wineserver -k 2>/dev/null || true  # the server of this private prefix only
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT

Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >"$work/wineboot.log" 2>&1
  wineserver -w
fi

# Notepad reads a file with a byte-order mark as Unicode.
printf '\xef\xbb\xbf' >"$work/memo.txt"
cat >>"$work/memo.txt" <<'EOF'
회의록 - 2024년 5월 17일 (금)

참석: 김하늘, 이도윤, J. Park
1. 캡처 프레임 크기 조절 시 좌표 표시줄 갱신 확인
2. GIF 저장 시 색 줄이기: 화면 캡처는 글자가 선명해야 함
3. 스크롤 캡처 - 긴 웹 페이지 (1920 x 20000) 메모리 점검

Action items:
 - Verify the save dialog proposes the next free file name.
 - Check JPEG quality 1..100 and the PNG/GIF writers under Wine.
EOF

# The file manager, the configuration dialog, then Notepad on top of them.
wine explorer /desktop=bench,1280x1024 winefile 'C:\windows' >"$work/winefile.log" 2>&1 &
pids+=($!)
sleep 4
wine explorer /desktop=bench,1280x1024 winecfg >"$work/winecfg.log" 2>&1 &
pids+=($!)
sleep 3
wine explorer /desktop=bench,1280x1024 notepad "$(winepath -w "$work/memo.txt")" >"$work/notepad.log" 2>&1 &
pids+=($!)
sleep 5
import -display ":$display" -window root -depth 8 -type TrueColor "PNG24:$out"
echo "grab_screen: wrote $out"
