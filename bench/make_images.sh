#!/usr/bin/env bash
# Draws the benchmark pictures with ImageMagick into the folder given (8-bit RGB PNG):
#   ui.png        1920x1080 desktop: window, menus, toolbar icons, Korean and Latin text,
#                 a dialog with a soft shadow, a context menu, a taskbar
#   web.png       1280x900 page: text around a photo
#   photo.png     1280x800 plasma fractal (seed 7)
#   photo-fullhd.png  1920x1080 plasma fractal (seed 7), a full screen of photo
#   gradient.png  1280x800 smooth two-way gradient
# Existing files are kept.
set -euo pipefail

out=${1:?usage: make_images.sh OUTPUT_DIR}
mkdir -p "$out"
fonts=/usr/share/fonts/truetype/nanum
regular=$fonts/NanumGothic.ttf
bold=$fonts/NanumGothicBold.ttf
coding=$fonts/NanumGothicCoding.ttf
for f in "$regular" "$bold" "$coding"; do
  [ -f "$f" ] || { echo "make_images: missing font $f (fonts-nanum)" >&2; exit 1; }
done

# Text lines: "x y size colour font text" -> -font/-pointsize/-fill/-annotate options.
text_args() {
  local x y size colour font text
  while IFS='|' read -r x y size colour font text; do
    [ -n "$x" ] || continue
    args+=(-font "$font" -pointsize "$size" -fill "$colour" -annotate "+$x+$y" "$text")
  done
}

# A 24x24 toolbar icon with a colour gradient, composited at x,y.
icon_args() {
  local x=$1 y=$2 from=$3 to=$4 shape=$5
  if [ "$shape" = round ]; then
    args+=( \( -size 24x24 radial-gradient:"$from-$to" \( -size 24x24 xc:black -fill white
             -draw "circle 11.5,11.5 11.5,1" \) -alpha off -compose copy_opacity -composite \)
           -compose over -geometry "+$x+$y" -composite )
  else
    args+=( \( -size 24x24 gradient:"$from-$to" \( -size 24x24 xc:black -fill white
             -draw "roundrectangle 1,1 22,22 5,5" \) -alpha off -compose copy_opacity -composite \)
           -compose over -geometry "+$x+$y" -composite )
  fi
}

if [ ! -f "$out/ui.png" ]; then
  args=(-size 1920x1080 xc:'#3a6ea5')
  # Main window: frame, title bar, menu bar, toolbar, side tree, document, status bar.
  args+=(-fill '#ffffff' -stroke '#8a8a8a' -draw "rectangle 120,60 1520,880" -stroke none
         -fill '#f3f3f3' -draw "rectangle 121,61 1519,92"
         -fill '#f0f0f0' -draw "rectangle 121,93 1519,150"
         -fill '#e8e8e8' -draw "rectangle 121,150 1519,151"
         -fill '#f7f7f7' -draw "rectangle 121,152 400,850"
         -fill '#d9d9d9' -draw "rectangle 400,152 401,850"
         -fill '#cce8ff' -draw "rectangle 122,236 399,258"
         -fill '#f0f0f0' -draw "rectangle 121,851 1519,879"
         -fill '#e81123' -draw "rectangle 1474,61 1519,92")
  text_args <<EOF
140|82|13|#1a1a1a|$regular|보고서 초안.txt - 문서 편집기
1490|82|14|#ffffff|$bold|X
1445|82|14|#1a1a1a|$regular|□
1405|82|14|#1a1a1a|$regular|_
135|113|13|#1a1a1a|$regular|파일(F)   편집(E)   보기(V)   삽입(I)   서식(O)   도구(T)   도움말(H)
140|180|13|#1a1a1a|$bold|내 문서
155|204|13|#1a1a1a|$regular|+ 2024 분기 보고서
155|228|13|#1a1a1a|$regular|+ Meeting notes (English)
155|252|13|#003e73|$regular|- 캡처 이미지 모음
175|276|13|#1a1a1a|$regular|screenshot_001.png
175|300|13|#1a1a1a|$regular|스크롤 캡처 2024-05-17.gif
175|324|13|#1a1a1a|$regular|웹 페이지 전체.jpg
155|348|13|#1a1a1a|$regular|+ 설정 백업
155|372|13|#1a1a1a|$regular|+ Downloads
430|190|22|#1a1a1a|$bold|화면 캡처 도구 사용 안내 (User Guide)
430|225|14|#333333|$regular|이 문서는 화면의 일부 영역, 창, 전체 화면 또는 스크롤되는 긴 웹 페이지를 캡처하는 방법을 설명합니다.
430|250|14|#333333|$regular|The capture frame can be moved and resized freely; whatever lies inside the frame is what gets captured.
430|275|14|#333333|$regular|캡처한 그림은 BMP, JPEG, PNG, GIF 형식으로 저장하거나 클립보드에 복사하고 인쇄할 수 있습니다.
430|300|14|#333333|$regular|Keyboard shortcuts: F2 area capture, F3 window capture, F4 full screen, Ctrl+Enter scroll capture.
430|340|16|#0b57d0|$bold|1. 영역 캡처하기
430|370|14|#333333|$regular|프레임을 원하는 위치로 끌어 놓은 뒤 캡처 단추를 누르세요. 좌표 표시줄에 현재 크기(가로 × 세로)가 나옵니다.
430|395|14|#0b57d0|$regular|자세한 설명은 도움말 페이지를 참고하세요 → https://example.com/help/capture
430|435|16|#0b57d0|$bold|2. 파일 이름 규칙
430|465|14|#333333|$regular|자동 저장을 켜면 파일 이름 뒤에 일련번호가 붙습니다: 캡처_0001.png, 캡처_0002.png, …
EOF
  args+=(-fill '#0b57d0' -draw "rectangle 430,398 940,398"
         -fill '#f6f8fa' -stroke '#d0d7de' -draw "rectangle 430,485 1100,600" -stroke none)
  text_args <<EOF
445|510|13|#24292f|$coding|[Capture]
445|530|13|#0550ae|$coding|AutoSave=1          ; 자동 저장
445|550|13|#0550ae|$coding|FileFormat=gif      ; bmp, jpg, png, gif
445|570|13|#0550ae|$coding|JpegQuality=90
445|590|13|#6e7781|$coding|; 0 = 묻기, 1 = 덮어쓰기
EOF
  # A small table.
  for r in 0 1 2 3; do
    y=$((630 + r * 30))
    fillc='#ffffff'; [ $((r % 2)) -eq 1 ] && fillc='#f5f5f5'; [ $r -eq 0 ] && fillc='#e9eef6'
    args+=(-fill "$fillc" -stroke '#c8c8c8' -draw "rectangle 430,$y 1150,$((y + 30))" -stroke none)
  done
  text_args <<EOF
445|650|13|#1a1a1a|$bold|형식
645|650|13|#1a1a1a|$bold|크기 (KB)
845|650|13|#1a1a1a|$bold|색 수
1000|650|13|#1a1a1a|$bold|비고
445|680|13|#333333|$regular|PNG
645|680|13|#333333|$regular|412
845|680|13|#333333|$regular|16,777,216
1000|680|13|#333333|$regular|무손실
445|710|13|#333333|$regular|GIF89a
645|710|13|#333333|$regular|188
845|710|13|#333333|$regular|256
1000|710|13|#c62828|$regular|색 줄임
445|740|13|#333333|$regular|JPEG (90)
645|740|13|#333333|$regular|97
845|740|13|#333333|$regular|—
1000|740|13|#333333|$regular|손실 압축
130|870|12|#444444|$regular|줄 12, 열 34     100%     Windows (CRLF)     UTF-8
EOF
  # Toolbar icons.
  x=135
  for icon in '#ffd54f #ff6f00 round' '#81d4fa #0277bd square' '#a5d6a7 #2e7d32 square' \
              '#f48fb1 #ad1457 round' '#ce93d8 #6a1b9a square' '#ffcc80 #e65100 square' \
              '#80cbc4 #00695c round' '#b0bec5 #37474f square' '#ef9a9a #c62828 round' \
              '#fff59d #f9a825 square' '#9fa8da #283593 round' '#bcaaa4 #4e342e square'; do
    set -- $icon
    icon_args "$x" 122 "$1" "$2" "$3"
    x=$((x + 34))
  done
  # Dialog with a soft shadow.
  args+=( \( -size 460x210 xc:none -fill '#00000060' -draw "rectangle 10,10 449,199" -blur 0x6 \)
          -compose over -geometry +742+402 -composite
          -fill '#ffffff' -stroke '#a0a0a0' -draw "rectangle 740,400 1180,590" -stroke none
          -fill '#0078d7' -draw "rectangle 741,401 1179,430"
          -fill '#0078d7' -draw "roundrectangle 960,545 1060,575 3,3"
          -fill '#e1e1e1' -stroke '#adadad' -draw "roundrectangle 1070,545 1170,575 3,3" -stroke none )
  icon_args 765 460 '#fff176' '#fbc02d' round
  text_args <<EOF
755|421|13|#ffffff|$regular|저장 확인
805|470|14|#1a1a1a|$regular|'스크롤 캡처 2024-05-17.gif' 파일이 이미 있습니다.
805|495|14|#1a1a1a|$regular|기존 파일을 바꾸시겠습니까? (Replace the existing file?)
993|566|13|#ffffff|$regular|예(Y)
1100|566|13|#1a1a1a|$regular|아니요(N)
EOF
  # Context menu.
  args+=(-fill '#f2f2f2' -stroke '#cccccc' -draw "rectangle 1560,300 1800,520" -stroke none
         -fill '#91c9f7' -draw "rectangle 1563,358 1797,382"
         -fill '#d7d7d7' -draw "rectangle 1570,420 1790,420")
  text_args <<EOF
1595|322|13|#1a1a1a|$regular|영역 캡처        F2
1595|346|13|#1a1a1a|$regular|창 캡처          F3
1595|375|13|#1a1a1a|$regular|전체 화면 캡처   F4
1595|400|13|#1a1a1a|$regular|스크롤 캡처      Ctrl+Enter
1595|445|13|#1a1a1a|$regular|환경 설정...
1595|470|13|#6d6d6d|$regular|업데이트 확인
1595|500|13|#1a1a1a|$regular|종료(X)
EOF
  icon_args 1566 307 '#ffab91' '#d84315' square
  icon_args 1566 331 '#90caf9' '#1565c0' square
  # Taskbar.
  args+=(-fill '#202020' -draw "rectangle 0,1040 1919,1079"
         -fill '#3c3c3c' -draw "rectangle 56,1042 100,1077"
         -fill '#76b9ed' -draw "rectangle 60,1075 96,1077")
  x=12
  for icon in '#4fc3f7 #01579b square' '#ffb74d #e65100 round' '#81c784 #1b5e20 square' \
              '#e57373 #b71c1c round' '#9575cd #311b92 square'; do
    set -- $icon
    icon_args "$x" 1048 "$1" "$2" "$3"
    x=$((x + 48))
  done
  text_args <<EOF
1800|1056|12|#ffffff|$regular|오후 3:42
1790|1072|12|#ffffff|$regular|2024-05-17
EOF
  convert "${args[@]}" -depth 8 -type TrueColor "PNG24:$out/ui.png"
fi

if [ ! -f "$out/photo.png" ]; then
  convert -seed 7 -size 1280x800 plasma:fractal -depth 8 -type TrueColor "PNG24:$out/photo.png"
fi

if [ ! -f "$out/photo-fullhd.png" ]; then
  convert -seed 7 -size 1920x1080 plasma:fractal -depth 8 -type TrueColor "PNG24:$out/photo-fullhd.png"
fi

if [ ! -f "$out/web.png" ]; then
  args=(-size 1280x900 xc:'#ffffff'
        -fill '#24292f' -draw "rectangle 0,0 1279,56"
        \( "$out/photo.png" -crop 640x400+200+150 +repage \) -compose over -geometry +60+140 -composite
        -fill '#f6f8fa' -draw "rectangle 740,140 1220,540"
        -fill '#2da44e' -draw "roundrectangle 760,470 900,510 6,6")
  text_args <<EOF
24|36|18|#ffffff|$bold|오늘의 사진 · Photo of the day
60|110|24|#1f2328|$bold|구름 위의 노을 (Sunset above the clouds)
760|180|14|#1f2328|$regular|촬영 장소: 한라산 윗세오름 대피소 부근
760|205|14|#1f2328|$regular|Camera: 35mm, f/8, 1/250s, ISO 100
760|245|14|#57606a|$regular|해가 지기 직전 구름 바다 위로 붉은 빛이 번지는
760|270|14|#57606a|$regular|장면을 담았습니다. Colours shift from deep violet
760|295|14|#57606a|$regular|to orange within a few minutes.
789|496|15|#ffffff|$bold|내려받기
60|590|15|#1f2328|$regular|댓글 12개 · 좋아요 348
60|630|14|#57606a|$regular|김하늘: 색이 정말 곱네요! 배경 화면으로 쓰고 싶어요.
60|660|14|#57606a|$regular|J. Park: The gradient in the upper left is stunning.
60|690|14|#57606a|$regular|이도윤: 원본 해상도로도 올려 주실 수 있나요?
EOF
  convert "${args[@]}" -depth 8 -type TrueColor "PNG24:$out/web.png"
fi

if [ ! -f "$out/gradient.png" ]; then
  convert -size 1280x800 -define gradient:angle=35 gradient:'#ff5e3a-#2a00ff' \
    \( -size 1280x800 radial-gradient:'#00ff9080-#00000000' \) -compose plus -composite \
    -depth 8 -type TrueColor "PNG24:$out/gradient.png"
fi
