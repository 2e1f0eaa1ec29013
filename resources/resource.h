// Resource numbers of framlet5 and framletup. Both programs and their .rc
// files include this header; control and command ids live in
// core/command_ids.h. Three-state picture buttons list their faces as
// rest, pressed, hover; where the pressed face is the rest face no
// separate number exists.
#ifndef FRAMLET_RESOURCES_RESOURCE_H
#define FRAMLET_RESOURCES_RESOURCE_H

// Dialog templates of framlet5.
#define IDD_CAPTURE_FRAME 102
#define IDD_WEB_TOOLBAR 156
#define IDD_CAPTURE_TOOLBAR 157
#define IDD_BROWSER_TAB_BAR 158
#define IDD_AREA_OUTLINE 234
#define IDD_FULL_CAPTURE_NOTICE 236
#define IDD_PRINT_SETTING 240
#define IDD_OPTIONS 242
#define IDD_CAPTURE_PREVIEW 243
#define IDD_ACTUAL_SIZE 270
#define IDD_IMAGE_SCROLL_VIEW 271
#define IDD_WINDOW_PICKER 273
#define IDD_REGION_SELECT 275
#define IDD_MAGNIFIER_PANEL 276
#define IDD_CONTINUOUS_OPTIONS 279
#define IDD_AREA_SETTING 283
#define IDD_LOGIN_PROMPT 306
#define IDD_HOVER_TIP 319
#define IDD_GUIDE_POPUP 338
#define IDD_RECORDER_PROMPT 339

// Icons of framlet5: program icon and the browser tab's page icon.
#define IDI_APP 128
#define IDI_PAGE 313

// Cursors of framlet5: the cross used while a region is dragged out.
#define IDCUR_REGION_SELECT 277

// Capture frame skin: top band, side edges, hole fills and bottom band.
#define IDB_FRAME_TOP_LEFT 129
#define IDB_FRAME_TOP 130
#define IDB_FRAME_TOP_RIGHT 131
#define IDB_EDGE_LEFT 132
#define IDB_HOLE_KEY 133
#define IDB_EDGE_RIGHT 134
#define IDB_FRAME_BOTTOM_LEFT 135
#define IDB_FRAME_BOTTOM 136
#define IDB_FRAME_BOTTOM_RIGHT 137
#define IDB_FILL_LIGHT 251

// Capture frame title strip: logo, window buttons, always-on-top check.
#define IDB_FRAME_LOGO 138
#define IDB_MINIMISE 139
#define IDB_MINIMISE_HOVER 140
#define IDB_CLOSE 141
#define IDB_CLOSE_HOVER 142
#define IDB_MAXIMISE 143
#define IDB_MAXIMISE_HOVER 144
#define IDB_RESTORE 145
#define IDB_RESTORE_HOVER 146
#define IDB_TOPMOST_OFF 149
#define IDB_TOPMOST_ON 150
#define IDB_OPTIONS_BUTTON 212
#define IDB_OPTIONS_BUTTON_HOVER 213
#define IDB_HELP_BUTTON 216
#define IDB_HELP_BUTTON_HOVER 217

// Capture frame address row, mode switches and frame-bottom buttons.
#define IDB_HOME 218
#define IDB_HOME_PRESSED 219
#define IDB_HOME_HOVER 220
#define IDB_BACK 221
#define IDB_BACK_PRESSED 222
#define IDB_BACK_HOVER 223
#define IDB_FORWARD 224
#define IDB_FORWARD_PRESSED 225
#define IDB_FORWARD_HOVER 226
#define IDB_TO_NORMAL_MODE 228
#define IDB_TO_NORMAL_MODE_HOVER 229
#define IDB_TO_NORMAL_MODE_PRESSED 230
#define IDB_TO_WEB_MODE 231
#define IDB_TO_WEB_MODE_PRESSED 232
#define IDB_TO_WEB_MODE_HOVER 233
#define IDB_GO 344
#define IDB_GO_PRESSED 345
#define IDB_GO_HOVER 346
#define IDB_STOP_CAPTURE 272
#define IDB_AREA_BUTTON 282

// Browser tab strip: button image list (14 x 14 cells).
#define IDB_TAB_BUTTONS 160

// Toolbar panels: background, separator, more-menu arrow, greyed faces.
#define IDB_TOOLBAR_BACK 161
#define IDB_TOOLBAR_SEPARATOR 162
#define IDB_TB_ARROW 172
#define IDB_TB_ARROW_HOVER 173
#define IDB_TB_ARROW_PRESSED 174
#define IDB_TB_AUTO_COORD_GREY 179
#define IDB_TB_SCROLL_GREY 311
#define IDB_TB_WINDOW_PICK_GREY 312

// Toolbar panel buttons, 52 x 52, three faces each.
#define IDB_TB_OPEN_FOLDER 163
#define IDB_TB_OPEN_FOLDER_HOVER 164
#define IDB_TB_OPEN_FOLDER_PRESSED 165
#define IDB_TB_AUTO_COORD 166
#define IDB_TB_AUTO_COORD_HOVER 167
#define IDB_TB_AUTO_COORD_PRESSED 168
#define IDB_TB_PRINT 169
#define IDB_TB_PRINT_HOVER 170
#define IDB_TB_PRINT_PRESSED 171
#define IDB_TB_AREA_CAPTURE 180
#define IDB_TB_AREA_CAPTURE_HOVER 181
#define IDB_TB_AREA_CAPTURE_PRESSED 182
#define IDB_TB_SCROLL 183
#define IDB_TB_SCROLL_HOVER 184
#define IDB_TB_SCROLL_PRESSED 185
#define IDB_TB_FULL_SCREEN 186
#define IDB_TB_FULL_SCREEN_HOVER 187
#define IDB_TB_FULL_SCREEN_PRESSED 188
#define IDB_TB_CONTINUOUS 189
#define IDB_TB_CONTINUOUS_HOVER 190
#define IDB_TB_CONTINUOUS_PRESSED 191
#define IDB_TB_COPY 192
#define IDB_TB_COPY_HOVER 193
#define IDB_TB_COPY_PRESSED 194
#define IDB_TB_REGION 195
#define IDB_TB_REGION_HOVER 196
#define IDB_TB_REGION_PRESSED 197
#define IDB_TB_WINDOW_PICK 198
#define IDB_TB_WINDOW_PICK_HOVER 199
#define IDB_TB_WINDOW_PICK_PRESSED 200
#define IDB_TB_RECORD 201
#define IDB_TB_RECORD_HOVER 202
#define IDB_TB_RECORD_PRESSED 203

// Popup-menu icons, 16 x 16 (each number is both a BITMAP and an ICON).
#define IDB_MENU_OPEN_FOLDER 176
#define IDB_MENU_AUTO_COORD 177
#define IDB_MENU_PRINT 178
#define IDB_MENU_RECORD 205
#define IDB_MENU_COPY 206
#define IDB_MENU_FULL_SCREEN 207
#define IDB_MENU_CONTINUOUS 208
#define IDB_MENU_SCROLL 209
#define IDB_MENU_AREA_CAPTURE 210
#define IDB_MENU_REGION 284
#define IDB_MENU_WINDOW_PICK 285
#define IDB_MENU_OPEN_FRAMLET 286
#define IDB_MENU_CLOSE_FRAMLET 287
#define IDB_MENU_OPTIONS 288
#define IDB_MENU_HELP 289
#define IDB_MENU_CENTRE 290
#define IDB_MENU_RESIZE_AREA 291
#define IDB_MENU_EDIT_PREVIOUS 292
#define IDB_MENU_EDIT_IMAGE 293

// Hover tip pictures (height 51) shown by the tip window.
#define IDB_TIP_AREA_CAPTURE 320
#define IDB_TIP_SCROLL 321
#define IDB_TIP_REGION 322
#define IDB_TIP_WINDOW_PICK 323
#define IDB_TIP_CONTINUOUS 324
#define IDB_TIP_FULL_SCREEN 325
#define IDB_TIP_COPY 326
#define IDB_TIP_RECORD 327
#define IDB_TIP_OPEN_FOLDER 328
#define IDB_TIP_AUTO_COORD 329
#define IDB_TIP_PRINT 330
#define IDB_TIP_TOPMOST 332
#define IDB_TIP_AREA_BUTTON 333

// Notice windows: full-capture bar, area outline strip, sign-in prompt.
#define IDB_AREA_OUTLINE_STRIP 235
#define IDB_NOTICE_BAR 237
#define IDB_NOTICE_CLOSE 238
#define IDB_NOTICE_CAPTURE 239
#define IDB_LOGIN_PROMPT 307
#define IDB_LOGIN_BUTTON 308
#define IDB_LOGIN_BUTTON_PRESSED 309
#define IDB_LOGIN_BUTTON_HOVER 310

// Screen-recorder prompt.
#define IDB_RECORDER_PROMPT 340
#define IDB_RECORDER_BUTTON 341
#define IDB_RECORDER_BUTTON_PRESSED 342
#define IDB_RECORDER_BUTTON_HOVER 343

// Preview skin (capture preview and actual-size viewer) and its buttons.
#define IDB_PREVIEW_TITLE_LEFT 244
#define IDB_PREVIEW_TITLE 245
#define IDB_PREVIEW_TITLE_RIGHT 246
#define IDB_PREVIEW_TILE 247
#define IDB_PREVIEW_BOTTOM_LEFT 248
#define IDB_PREVIEW_BOTTOM 249
#define IDB_PREVIEW_BOTTOM_RIGHT 250
#define IDB_PREVIEW_LOGO 252
#define IDB_PREVIEW_COPY_NOTICE 253
#define IDB_PREVIEW_SAVE 254
#define IDB_PREVIEW_SAVE_PRESSED 255
#define IDB_PREVIEW_SAVE_HOVER 256
#define IDB_PREVIEW_COPY 257
#define IDB_PREVIEW_COPY_PRESSED 258
#define IDB_PREVIEW_COPY_HOVER 259
#define IDB_PREVIEW_EDIT 260
#define IDB_PREVIEW_EDIT_PRESSED 261
#define IDB_PREVIEW_EDIT_HOVER 262
#define IDB_PREVIEW_PRINT 263
#define IDB_PREVIEW_PRINT_PRESSED 264
#define IDB_PREVIEW_PRINT_HOVER 265
#define IDB_PREVIEW_CLOSE 266
#define IDB_PREVIEW_CLOSE_PRESSED 267
#define IDB_PREVIEW_CLOSE_HOVER 268
#define IDB_PREVIEW_ACTUAL_SIZE 269

// Dialog buttons shared by the options, continuous-options and area dialogs.
#define IDB_OK_BUTTON 280
#define IDB_CANCEL_BUTTON 281

// Capture helpers: window-picker cross and magnifier panel background.
#define IDB_PICKER_CROSS 274
#define IDB_MAGNIFIER_PANEL 278

// Accelerator tables of the capture frame and the normal-mode toolbar,
// one key each; each table's number is also its command id.
#define IDR_ACCEL_AREA_CAPTURE 295
#define IDR_ACCEL_SCROLL_CAPTURE 296
#define IDR_ACCEL_REGION_SELECT 297
#define IDR_ACCEL_WINDOW_PICK 298
#define IDR_ACCEL_CONTINUOUS 299
#define IDR_ACCEL_FULL_SCREEN 300
#define IDR_ACCEL_COPY_AREA 301
#define IDR_ACCEL_RECORDER 302
#define IDR_ACCEL_OPEN_FOLDER 303
#define IDR_ACCEL_SNAP_TO_WINDOW 304
#define IDR_ACCEL_PRINT 305
#define IDR_ACCEL_CENTRE 318
#define IDR_ACCEL_NUDGE_LEFT 334
#define IDR_ACCEL_NUDGE_RIGHT 335
#define IDR_ACCEL_NUDGE_UP 336
#define IDR_ACCEL_NUDGE_DOWN 337

// Accelerator tables of the capture preview (Alt+S, Alt+C, Alt+E, Alt+P).
#define IDR_ACCEL_PREVIEW_SAVE 314
#define IDR_ACCEL_PREVIEW_COPY 315
#define IDR_ACCEL_PREVIEW_EDIT 316
#define IDR_ACCEL_PREVIEW_PRINT 317

// Menus of framlet5: the frame's options menu (first popup "OPTIONMENU").
#define IDR_MENU_OPTIONS 215

// framletup: its dialog, program icon, completion-page side picture
// (161 x 274) and component-tree state images (five 14 x 14 cells).
#define IDD_UP_UPDATE 400
#define IDI_UP_APP 401
#define IDB_UP_SIDE 402
#define IDB_UP_TREE_STATES 403

// Controls of the update window.
#define IDC_UP_INFO_GROUP 1000   // group box "프로그램설명"
#define IDC_UP_PROGRESS 1001     // progress bar, install page
#define IDC_UP_DETAILS 1002      // "자세히", install page
#define IDC_UP_DETAILS_DONE 1003 // "자세히", completion page
#define IDC_UP_HEADER 4002       // white header band
#define IDC_UP_TITLE 4003        // page title (bold)
#define IDC_UP_DESCRIPTION 4004  // page description
#define IDC_UP_HEADER_LINE 4005
#define IDC_UP_SECTION 4006      // section label; "업데이트 진행:" while installing
#define IDC_UP_INFO 4007         // the selected component's info text
#define IDC_UP_TERMS_LABEL 4008  // "이용약관:"; the progress line while installing
#define IDC_UP_FOOTER 4009
#define IDC_UP_FOOTER_LINE 4010
#define IDC_UP_SIDE 4011         // completion-page side picture
#define IDC_UP_TERMS 4012        // terms-of-use browser pane
#define IDC_UP_TREE 4013         // component tree
#define IDC_UP_LOG 4014          // install log

#endif  // FRAMLET_RESOURCES_RESOURCE_H
