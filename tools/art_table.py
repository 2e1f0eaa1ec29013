"""The one table of every picture, icon and cursor of framlet5 and framletup.

Each row: resource number, resource.h name, width, height, kind, the
drawing recipe (`draw` plus its parameters), the Korean text the picture
carries (None when it carries none) and a note.  Sizes marked `chosen` in
the note are ours; every other size is the size the window code places the
picture at.  Three-state buttons list their faces as rest, pressed, hover
in the window code; here each face is a row of its own with its `state`.

Kinds: skin piece, solid fill, logo, window button, title button,
address button, mode button, button face (rest/pressed/hover), greyed face,
toolbar piece, menu icon 16x16, tip picture, notice, prompt, prompt button,
dialog button, preview button, capture helper, tab buttons, icon, cursor,
updater picture.
"""

# Palette shared by every picture (RGB).
PALETTE = {
    "outline": (23, 27, 33),        # outer 1-px line of the dark chrome
    "edge": (41, 47, 58),           # title strip, side edges, bottom band
    "edge_hi": (60, 68, 82),        # highlight row under the outline
    "edge_hover": (70, 80, 97),     # hover plate on the dark chrome
    "glyph": (198, 204, 214),       # window-button glyphs at rest
    "accent": (38, 128, 235),       # blue accent
    "accent_hi": (92, 162, 248),    # hover / light accent
    "accent_dk": (22, 94, 186),     # pressed accent
    "accent_soft": (226, 238, 253), # light accent fill
    "toolbar": (234, 234, 234),     # toolbar panel background
    "address": (230, 230, 230),     # address row and tab strip
    "fill": (240, 240, 240),        # light fill (251)
    "ink": (58, 66, 80),            # icon line colour
    "text": (51, 51, 51),           # dark text
    "muted": (128, 134, 142),       # secondary text
    "red": (226, 62, 62),
    "green": (40, 160, 96),
    "yellow": (246, 190, 60),
    "white": (255, 255, 255),
    "key": (255, 0, 255),           # colour key (see-through)
}

ROWS = []


def row(num, name, w, h, kind, draw, text=None, note="", **params):
    ROWS.append(dict(num=num, name=name, w=w, h=h, kind=kind, draw=draw,
                     text=text, note=note, params=params))


# --- Capture frame skin ----------------------------------------------------
row(129, "IDB_FRAME_TOP_LEFT", 35, 121, "skin piece", "frame_top", part="left",
    note="title strip y0-27 (accent line y26-27), toolbar y28-87, address row y88-120")
row(130, "IDB_FRAME_TOP", 35, 121, "skin piece", "frame_top", part="mid",
    note="stretched horizontally: every column identical")
row(131, "IDB_FRAME_TOP_RIGHT", 35, 121, "skin piece", "frame_top", part="right")
row(132, "IDB_EDGE_LEFT", 4, 18, "skin piece", "edge", part="left",
    note="stretched vertically: every row identical; also the preview's left edge")
row(134, "IDB_EDGE_RIGHT", 4, 18, "skin piece", "edge", part="right",
    note="stretched vertically; also the preview's right edge")
row(135, "IDB_FRAME_BOTTOM_LEFT", 25, 23, "skin piece", "frame_bottom", part="left")
row(136, "IDB_FRAME_BOTTOM", 25, 23, "skin piece", "frame_bottom", part="mid",
    note="stretched horizontally")
row(137, "IDB_FRAME_BOTTOM_RIGHT", 25, 23, "skin piece", "frame_bottom", part="right",
    note="carries the resize grip")
row(133, "IDB_HOLE_KEY", 10, 10, "solid fill", "solid", colour="key",
    note="exactly RGB(255,0,255): the see-through hole")
row(251, "IDB_FILL_LIGHT", 10, 10, "solid fill", "solid", colour="fill",
    note="exactly RGB(240,240,240)")

# --- Title strip controls (drawn on the flat title colour) -----------------
row(138, "IDB_FRAME_LOGO", 102, 24, "logo", "logo", text="Framlet", y0=0, size="big",
    note="placed at (5,0); rows 0-1 repeat the strip's outline and highlight")
for num, name, glyph, state in [
        (139, "IDB_MINIMISE", "min", "rest"), (140, "IDB_MINIMISE_HOVER", "min", "hover"),
        (141, "IDB_CLOSE", "close", "rest"), (142, "IDB_CLOSE_HOVER", "close", "hover"),
        (143, "IDB_MAXIMISE", "max", "rest"), (144, "IDB_MAXIMISE_HOVER", "max", "hover"),
        (145, "IDB_RESTORE", "restore", "rest"), (146, "IDB_RESTORE_HOVER", "restore", "hover"),
        (149, "IDB_TOPMOST_OFF", "pin", "rest"), (150, "IDB_TOPMOST_ON", "pin", "on")]:
    row(num, name, 16, 16, "window button", "winbtn", glyph=glyph, state=state,
        note="rest face is also the pressed face" if state == "rest" and glyph != "pin"
        else ("checked (pressed) face" if state == "on" else ""))
row(212, "IDB_OPTIONS_BUTTON", 33, 18, "title button", "titlebtn", glyph="gear", state="rest",
    note="rest and pressed face")
row(213, "IDB_OPTIONS_BUTTON_HOVER", 33, 18, "title button", "titlebtn", glyph="gear", state="hover")
row(216, "IDB_HELP_BUTTON", 42, 18, "title button", "titlebtn", text="도움말", state="rest",
    note="rest and pressed face; caption chosen")
row(217, "IDB_HELP_BUTTON_HOVER", 42, 18, "title button", "titlebtn", text="도움말", state="hover")

# --- Address row (flat RGB(230,230,230)) -----------------------------------
for base, name, glyph, size in [(218, "IDB_HOME", "home", 20), (221, "IDB_BACK", "back", 25),
                                (224, "IDB_FORWARD", "forward", 25)]:
    row(base, name, size, size, "address button", "addrbtn", glyph=glyph, state="rest")
    row(base + 1, name + "_PRESSED", size, size, "address button", "addrbtn", glyph=glyph,
        state="pressed")
    row(base + 2, name + "_HOVER", size, size, "address button", "addrbtn", glyph=glyph,
        state="hover")
row(344, "IDB_GO", 22, 22, "address button", "gobtn", text="GO", state="rest")
row(345, "IDB_GO_PRESSED", 22, 22, "address button", "gobtn", text="GO", state="pressed")
row(346, "IDB_GO_HOVER", 22, 22, "address button", "gobtn", text="GO", state="hover")
row(228, "IDB_TO_NORMAL_MODE", 100, 23, "mode button", "modebtn", text="일반캡쳐 모드",
    glyph="area", state="rest", note="caption chosen: switches to normal capture")
row(229, "IDB_TO_NORMAL_MODE_HOVER", 100, 23, "mode button", "modebtn", text="일반캡쳐 모드",
    glyph="area", state="hover")
row(230, "IDB_TO_NORMAL_MODE_PRESSED", 100, 23, "mode button", "modebtn", text="일반캡쳐 모드",
    glyph="area", state="pressed")
row(231, "IDB_TO_WEB_MODE", 100, 23, "mode button", "modebtn", text="웹캡쳐 모드",
    glyph="globe", state="rest", note="caption chosen: switches to web capture")
row(232, "IDB_TO_WEB_MODE_PRESSED", 100, 23, "mode button", "modebtn", text="웹캡쳐 모드",
    glyph="globe", state="pressed")
row(233, "IDB_TO_WEB_MODE_HOVER", 100, 23, "mode button", "modebtn", text="웹캡쳐 모드",
    glyph="globe", state="hover")

# --- Inside the hole and the bottom band -----------------------------------
row(272, "IDB_STOP_CAPTURE", 70, 70, "button face", "stopbtn", text="중지 (ESC)",
    note="one face for all states; caption chosen")
row(282, "IDB_AREA_BUTTON", 11, 11, "button face", "areabtn",
    note="one face for all states; sits on the bottom band")

# --- Browser tab strip -----------------------------------------------------
row(160, "IDB_TAB_BUTTONS", 56, 14, "tab buttons", "tabbtns",
    note="size chosen: four 14x14 cells on magenta: scroll left, scroll right, new tab, close")

# --- Toolbar panels --------------------------------------------------------
row(161, "IDB_TOOLBAR_BACK", 30, 60, "toolbar piece", "toolbar_back",
    note="stretched horizontally; rows 1-57 are RGB(234,234,234)")
row(162, "IDB_TOOLBAR_SEPARATOR", 2, 38, "toolbar piece", "separator")
row(172, "IDB_TB_ARROW", 16, 52, "button face", "arrowbtn", state="rest")
row(173, "IDB_TB_ARROW_HOVER", 16, 52, "button face", "arrowbtn", state="hover")
row(174, "IDB_TB_ARROW_PRESSED", 16, 52, "button face", "arrowbtn", state="pressed")

TOOLBAR_BUTTONS = [
    # rest, hover, pressed, icon, caption, name
    (163, 164, 165, "folder", "폴더열기", "IDB_TB_OPEN_FOLDER"),
    (166, 167, 168, "snap", "자동좌표", "IDB_TB_AUTO_COORD"),
    (169, 170, 171, "print", "인쇄", "IDB_TB_PRINT"),
    (180, 181, 182, "area", "영역캡쳐", "IDB_TB_AREA_CAPTURE"),
    (183, 184, 185, "scroll", "스크롤영역", "IDB_TB_SCROLL"),
    (186, 187, 188, "fullscreen", "전체화면", "IDB_TB_FULL_SCREEN"),
    (189, 190, 191, "continuous", "연속캡쳐", "IDB_TB_CONTINUOUS"),
    (192, 193, 194, "copy", "복사하기", "IDB_TB_COPY"),
    (195, 196, 197, "region", "직접지정", "IDB_TB_REGION"),
    (198, 199, 200, "window", "영역선택", "IDB_TB_WINDOW_PICK"),
    (201, 202, 203, "record", "녹화하기", "IDB_TB_RECORD"),
]
for rest, hover, pressed, icon, caption, name in TOOLBAR_BUTTONS:
    row(rest, name, 52, 52, "button face rest", "tbbtn", text=caption, icon=icon, state="rest",
        note="icon 24x24 above the caption")
    row(hover, name + "_HOVER", 52, 52, "button face hover", "tbbtn", text=caption, icon=icon,
        state="hover")
    row(pressed, name + "_PRESSED", 52, 52, "button face pressed", "tbbtn", text=caption,
        icon=icon, state="pressed", note="content inset by 1 px")
row(179, "IDB_TB_AUTO_COORD_GREY", 52, 52, "greyed face", "tbbtn", text="자동좌표", icon="snap",
    state="grey")
row(311, "IDB_TB_SCROLL_GREY", 52, 52, "greyed face", "tbbtn", text="스크롤영역", icon="scroll",
    state="grey")
row(312, "IDB_TB_WINDOW_PICK_GREY", 52, 52, "greyed face", "tbbtn", text="영역선택",
    icon="window", state="grey")

# --- Popup-menu icons (BITMAP on magenta and ICON with alpha) ---------------
MENU_ICONS = [
    (176, "IDB_MENU_OPEN_FOLDER", "folder"), (177, "IDB_MENU_AUTO_COORD", "snap"),
    (178, "IDB_MENU_PRINT", "print"), (205, "IDB_MENU_RECORD", "record"),
    (206, "IDB_MENU_COPY", "copy"), (207, "IDB_MENU_FULL_SCREEN", "fullscreen"),
    (208, "IDB_MENU_CONTINUOUS", "continuous"), (209, "IDB_MENU_SCROLL", "scroll"),
    (210, "IDB_MENU_AREA_CAPTURE", "area"), (284, "IDB_MENU_REGION", "region"),
    (285, "IDB_MENU_WINDOW_PICK", "window"), (286, "IDB_MENU_OPEN_FRAMLET", "app"),
    (287, "IDB_MENU_CLOSE_FRAMLET", "power"), (288, "IDB_MENU_OPTIONS", "gear"),
    (289, "IDB_MENU_HELP", "help"), (290, "IDB_MENU_CENTRE", "centre"),
    (291, "IDB_MENU_RESIZE_AREA", "resize"), (292, "IDB_MENU_EDIT_PREVIOUS", "editprev"),
    (293, "IDB_MENU_EDIT_IMAGE", "edit"),
]
for num, name, icon in MENU_ICONS:
    row(num, name, 16, 16, "menu icon 16x16", "menuicon", icon=icon,
        note="BITMAP: magenta where see-through; ICON of the same number: 16x16 with alpha")

# --- Hover tips (dark balloons on magenta) ---------------------------------
TIPS = [
    (320, "IDB_TIP_AREA_CAPTURE", 263, "F2 키로 캡쳐 후 파일로 저장이 가능합니다.", "F2", "up", 33),
    (321, "IDB_TIP_SCROLL", 241, "Ctrl+L 키로 스크롤 캡쳐가 가능합니다.", "Ctrl+L", "up", 33),
    (322, "IDB_TIP_REGION", 299, "Ctrl+D 키로 사용자 지정 영역 캡쳐가 가능합니다.", "Ctrl+D",
     "up", 33),
    (323, "IDB_TIP_WINDOW_PICK", 299, "Ctrl+F 키로 윈도우 단위영역 캡쳐가 가능합니다.", "Ctrl+F",
     "up", 33),
    (324, "IDB_TIP_CONTINUOUS", 328, "F3 키로 지정한 시간 간격으로 연속 캡쳐가 가능합니다.", "F3",
     "up", 33),
    (325, "IDB_TIP_FULL_SCREEN", 360, "Ctrl+Enter 키로 전체화면 캡쳐 후 파일로 저장이 가능합니다.",
     "Ctrl+Enter", "up", 33),
    (326, "IDB_TIP_COPY", 310, "Ctrl+C 키로 캡쳐 후 클립보드로 저장이 가능합니다.", "Ctrl+C",
     "up", 33),
    (327, "IDB_TIP_RECORD", 228, "Ctrl+R 키로 화면 녹화가 가능합니다.", "Ctrl+R", "up", 33),
    (328, "IDB_TIP_OPEN_FOLDER", 310, "F10 키로 캡쳐 이미지 저장 폴더 확인이 가능합니다.", "F10",
     "up", 276),
    (329, "IDB_TIP_AUTO_COORD", 353, "F9 키로 캡쳐 영역을 해당 윈도우 컨트롤 위치로 이동합니다.",
     "F9", "up", 319),
    (330, "IDB_TIP_PRINT", 235, "F8 키로 아래 캡쳐 영역을 인쇄합니다.", "F8", "up", 201),
    (332, "IDB_TIP_TOPMOST", 360, "위 버튼으로 항상 위 유지 기능을 성정 및 해지 할 수 있습니다.",
     None, "up", 326),
    (333, "IDB_TIP_AREA_BUTTON", 360, "아래 버튼으로 캡쳐영역 위치 및 사이즈를 설정 하실 수 있습니다.",
     None, "down", 32),
]
for num, name, width, text, key, pointer, px in TIPS:
    row(num, name, width, 51, "tip picture", "tip", text=text, key=key, pointer=pointer,
        pointer_x=px, note="balloon pointer %s at x %d, toward the button it describes"
        % (pointer, px))

# --- Notice windows --------------------------------------------------------
row(235, "IDB_AREA_OUTLINE_STRIP", 10, 75, "skin piece", "outline_strip",
    note="left piece, stretched middle and right piece of a 75-px strip")
row(237, "IDB_NOTICE_BAR", 479, 75, "notice", "notice_bar", text="전체화면 캡쳐 모드",
    note="dark bar y20-74 on a magenta field; heading chosen; label 1047 sits at (65,45)")
row(238, "IDB_NOTICE_CLOSE", 40, 40, "button face", "notice_btn", glyph="close",
    note="one face; sits on the notice bar at (438,32)")
row(239, "IDB_NOTICE_CAPTURE", 40, 40, "button face", "notice_btn", glyph="capture",
    note="one face; sits on the notice bar at (393,32)")
row(307, "IDB_LOGIN_PROMPT", 370, 225, "prompt", "prompt", kind_of="login",
    text="회원 로그인이 필요한 서비스입니다. / 지금 로그인 하시겠습니까?",
    note="button area (143,145) 84x41 left plain; ESC hint at the bottom")
row(308, "IDB_LOGIN_BUTTON", 84, 41, "prompt button", "promptbtn", text="로그인", state="rest")
row(309, "IDB_LOGIN_BUTTON_PRESSED", 84, 41, "prompt button", "promptbtn", text="로그인",
    state="pressed")
row(310, "IDB_LOGIN_BUTTON_HOVER", 84, 41, "prompt button", "promptbtn", text="로그인",
    state="hover")
row(340, "IDB_RECORDER_PROMPT", 437, 293, "prompt", "prompt", kind_of="recorder",
    text="화면 녹화 프로그램 Tapeloom이 설치되어 있지 않습니다. / "
         "아래 버튼을 누르면 설치 페이지로 이동합니다.",
    note="texts chosen; button area (152,206) 135x50 left plain")
row(341, "IDB_RECORDER_BUTTON", 135, 50, "prompt button", "promptbtn", text="다운로드",
    state="rest", note="caption chosen")
row(342, "IDB_RECORDER_BUTTON_PRESSED", 135, 50, "prompt button", "promptbtn", text="다운로드",
    state="pressed")
row(343, "IDB_RECORDER_BUTTON_HOVER", 135, 50, "prompt button", "promptbtn", text="다운로드",
    state="hover")

# --- Preview skin and buttons ----------------------------------------------
row(244, "IDB_PREVIEW_TITLE_LEFT", 19, 28, "skin piece", "preview_title", part="left")
row(245, "IDB_PREVIEW_TITLE", 19, 28, "skin piece", "preview_title", part="mid",
    note="stretched horizontally")
row(246, "IDB_PREVIEW_TITLE_RIGHT", 19, 28, "skin piece", "preview_title", part="right")
row(247, "IDB_PREVIEW_TILE", 20, 20, "skin piece", "tile", note="light checkerboard backdrop")
row(248, "IDB_PREVIEW_BOTTOM_LEFT", 25, 23, "skin piece", "preview_bottom", part="left",
    note="light status bar: the size label draws RGB(69,69,69) text on it")
row(249, "IDB_PREVIEW_BOTTOM", 25, 23, "skin piece", "preview_bottom", part="mid",
    note="stretched horizontally")
row(250, "IDB_PREVIEW_BOTTOM_RIGHT", 25, 23, "skin piece", "preview_bottom", part="right")
row(252, "IDB_PREVIEW_LOGO", 72, 19, "logo", "logo", text="Framlet", y0=4, size="small",
    note="placed at (10,4) on the title strip")
row(253, "IDB_PREVIEW_COPY_NOTICE", 112, 56, "notice", "copy_notice",
    text="복사가 되었습니다. Ctrl+V로 붙여넣기 하세요.")
PREVIEW_BUTTONS = [
    (254, "IDB_PREVIEW_SAVE", 34, "저장", "Alt+S", "save", True),
    (257, "IDB_PREVIEW_COPY", 31, "복사", "Alt+C", "copy", False),
    (260, "IDB_PREVIEW_EDIT", 31, "편집", "Alt+E", "edit", False),
    (263, "IDB_PREVIEW_PRINT", 31, "인쇄", "Alt+P", "print", False),
    (266, "IDB_PREVIEW_CLOSE", 31, "닫기", None, "close", False),
]
for base, name, h, caption, key, icon, primary in PREVIEW_BUTTONS:
    for off, suffix, state in [(0, "", "rest"), (1, "_PRESSED", "pressed"), (2, "_HOVER", "hover")]:
        row(base + off, name + suffix, 112, h, "preview button", "previewbtn", text=caption,
            key=key, icon=icon, primary=primary, state=state,
            note="key hint shown at the right" if key and not off else "")
row(269, "IDB_PREVIEW_ACTUAL_SIZE", 98, 17, "preview button", "actualbtn", text="원본크기로 보기",
    note="one face; rows 0-3 lie on the backdrop, rows 4-16 on the status bar")

# --- Dialog buttons --------------------------------------------------------
row(280, "IDB_OK_BUTTON", 75, 25, "dialog button", "dlgbtn", text="확인", primary=True,
    note="caption chosen for 'ok'")
row(281, "IDB_CANCEL_BUTTON", 75, 25, "dialog button", "dlgbtn", text="취소", primary=False,
    note="caption chosen for 'cancel'")

# --- Capture helpers -------------------------------------------------------
row(274, "IDB_PICKER_CROSS", 17, 17, "capture helper", "picker_cross",
    note="white RGB(255,255,255) is its see-through colour; no other white")
row(278, "IDB_MAGNIFIER_PANEL", 134, 157, "capture helper", "magnifier_panel",
    note="magenta corners; magnifier at (10,10)-(126,130), label at (10,135) 115x13")

# --- Icons and cursors -----------------------------------------------------
row(128, "IDI_APP", 48, 48, "icon", "icon", icon="app", sizes=(16, 32, 48))
row(313, "IDI_PAGE", 48, 48, "icon", "icon", icon="page", sizes=(16, 32, 48),
    note="page icon of the browser tab; the tab list uses 16x16")
row(277, "IDCUR_REGION_SELECT", 32, 32, "cursor", "cursor", hotspot=(15, 15),
    note="size chosen; hotspot (15,15)")

# --- framletup -------------------------------------------------------------
row(401, "IDI_UP_APP", 48, 48, "icon", "icon", icon="updater", sizes=(16, 32, 48), updater=True,
    note="program icon of framletup")
row(402, "IDB_UP_SIDE", 161, 274, "updater picture", "updater_side", updater=True,
    text="Framlet / 자동 업데이트", note="completion-page side picture")
row(403, "IDB_UP_TREE_STATES", 70, 14, "updater picture", "tree_states", updater=True,
    note="five 14x14 cells on magenta: unused, empty box, ticked box, fixed box, greyed box")


# Colours each recipe uses (palette names above, or RGB where the picture
# needs a fixed value).
COLOURS = {
    "frame_top": "outline, edge_hi, edge, accent (y26-27), toolbar, (247,247,247) y88, "
                 "address y89-119, (176,181,189) y120",
    "edge": "outline outer column, edge",
    "frame_bottom": "(31,36,45) top row, edge, outline; grip (128,138,154)",
    "solid": "key or fill",
    "logo": "title strip rows; white text, accent_hi '5'; app icon",
    "winbtn": "edge; glyph at rest; edge_hover plate and white glyph on hover; "
              "(214,58,58) close hover; accent plate when checked",
    "titlebtn": "edge; glyph; edge_hover plate on hover",
    "addrbtn": "address; white/accent_soft/(205,210,218) plates; ink or accent_dk glyph",
    "gobtn": "address; accent / accent_hi / accent_dk; white text",
    "modebtn": "address; edge / accent / accent_dk pill; white text",
    "stopbtn": "edge plate, outline; red disc; white text",
    "areabtn": "edge; accent_hi",
    "tabbtns": "key; ink glyphs blended onto address",
    "toolbar_back": "(250,250,250) top row, toolbar, (224,224,224), (204,204,204) bottom rows",
    "separator": "(204,204,204), (250,250,250)",
    "arrowbtn": "toolbar; hover (250,251,253)/(156,194,240); pressed (214,220,229)/(160,170,186)",
    "tbbtn": "toolbar; hover (250,251,253)/(156,194,240); pressed (214,220,229)/(160,170,186); "
             "text caption; greyed icon and (166,166,166) caption",
    "menuicon": "icon colours on (246,246,246), key where the icon is see-through",
    "tip": "key field; (44,51,63) balloon, outline; accent badge; white text, accent_hi key",
    "outline_strip": "(62,71,86) to edge, top to bottom",
    "notice_bar": "key field; edge bar, outline, edge_hi, accent stripe; accent_hi heading",
    "notice_btn": "edge; accent or edge_hover disc; white glyph",
    "prompt": "edge header, accent line, white body, outline border; text, muted, "
              "(150,155,162) hint",
    "promptbtn": "white; accent / accent_hi / accent_dk; white text",
    "preview_title": "as the frame's title strip rows 0-27",
    "preview_bottom": "(210,212,216) top row, (232,233,235) status bar, edge sides, outline",
    "tile": "fill and (233,233,233) 10x10 squares",
    "copy_notice": "fill; (236,244,255) box, accent_hi outline, accent head; text",
    "previewbtn": "fill; save: accent family, white text; others: white/accent_soft/"
                  "(220,225,232) with (192,198,206)/accent_hi/(156,165,178) outline",
    "actualbtn": "fill rows 0-3, status bar below; accent_dk text",
    "dlgbtn": "fill; accent with white text, or white with (176,183,192) outline",
    "picker_cross": "white (see-through), (228,30,30) cross, (40,40,40) centre",
    "magnifier_panel": "key corners; edge, outline, accent_hi frame, (20,23,28) well",
    "icon": "accent family, white, ink; alpha",
    "cursor": "white lines outlined in black; alpha",
    "updater_side": "(42,134,238) to (16,44,98) gradient; white text, (208,228,255)",
    "tree_states": "key; white/accent/(200,204,210)/(236,236,236) boxes",
}
for _r in ROWS:
    _r["colours"] = COLOURS[_r["draw"]]


if __name__ == "__main__":
    print("| No. | Name | Size | Kind | Text | Colours | Note |")
    print("|---|---|---|---|---|---|---|")
    for _r in sorted(ROWS, key=lambda r: r["num"]):
        print("| %d | %s | %dx%d | %s | %s | %s | %s |" % (
            _r["num"], _r["name"], _r["w"], _r["h"], _r["kind"], _r["text"] or "",
            _r["colours"], _r["note"]))
