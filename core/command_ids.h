// Control and command numbers of framlet5. Plain defines: the .rc files include
// this header too. One id may serve several windows (1006 is the frame's
// always-on-top box and the options dialog's check box), so names say the role.
#ifndef FRAMLET_APP_COMMAND_IDS_H
#define FRAMLET_APP_COMMAND_IDS_H

// Capture frame (dialog 102).
#define IDC_LOGO 1000
#define IDC_MINIMIZE 1001
#define IDC_CLOSE_TO_TRAY 1002
#define IDC_MAXIMIZE 1003
#define IDC_RESTORE 1004
#define IDC_ALWAYS_TOP 1006
#define IDC_COORD_LABEL 1009
#define IDC_GO 1017
#define IDC_TO_NORMAL_MODE 1018
#define IDC_TO_WEB_MODE 1025
#define IDC_OPTIONS_MENU 1041
#define IDC_HELP_PAGE 1042
#define IDC_HOME_PAGE 1043
#define IDC_BACK 1044
#define IDC_FORWARD 1045
#define IDC_ADDRESS 1046
#define IDC_STOP_SCROLL 1078
#define IDC_STOP_CONTINUOUS 1086
#define IDC_AREA_DIALOG 1087

// Magnifier panel (dialog 276): the cursor's coordinates.
#define IDC_MAGNIFIER_LABEL 1079

// Toolbar panels (dialogs 156, 157).
#define IDC_TB_AREA 1010
#define IDC_TB_REGION 1011
#define IDC_TB_WINDOW 1012
#define IDC_TB_SCROLL 1013
#define IDC_TB_CONTINUOUS 1014
#define IDC_TB_FULL_SCREEN 1015
#define IDC_TB_COPY 1016
#define IDC_TB_SEPARATOR 1032
#define IDC_TB_OPEN_FOLDER 1034
#define IDC_TB_SNAP 1035
#define IDC_TB_PRINT 1036
#define IDC_TB_ARROW 1037
#define IDC_TB_RECORD_WEB 1038
#define IDC_TB_ARROW2 1039
#define IDC_TB_RECORD 1040

// Full-capture notice (dialog 236).
#define IDC_NOTICE_CAPTURE 1015
#define IDC_NOTICE_CLOSE 1026
#define IDC_NOTICE_LABEL 1047

// Options dialog (dialog 242).
#define IDC_OPT_BROWSE 1020
#define IDC_OPT_OPEN_FOLDER 1034
#define IDC_OPT_ALWAYS_TOP 1006
#define IDC_OPT_REMEMBER_POSITION 1057
#define IDC_OPT_QUALITY_GROUP 1058
#define IDC_OPT_REVIEW 1059
#define IDC_OPT_AUTO_SAVE 1060
#define IDC_OPT_QUALITY_LABEL 1061
#define IDC_OPT_QUALITY 1062
#define IDC_OPT_QUALITY_SPIN 1063
#define IDC_OPT_QUALITY_HINT 1064
#define IDC_OPT_FOLDER_GROUP 1065
#define IDC_OPT_FOLDER_LABEL 1066
#define IDC_OPT_FOLDER 1067
#define IDC_OK_PICTURE 1068
#define IDC_CANCEL_PICTURE 1069

// Continuous-capture options (dialog 279).
#define IDC_CONT_CUSTOM 1048
#define IDC_CONT_15_PER_SECOND 1049
#define IDC_CONT_30_PER_SECOND 1051
#define IDC_CONT_1_PER_SECOND 1053
#define IDC_CONT_1_PER_MINUTE 1054
#define IDC_CONT_1_PER_10_MINUTES 1055
#define IDC_CONT_1_PER_30_MINUTES 1056
#define IDC_CONT_INNER_GROUP 1065
#define IDC_CONT_LABEL 1080
#define IDC_CONT_OUTER_GROUP 1081
#define IDC_CONT_INTERVAL 1082
#define IDC_CONT_SPIN 1083
#define IDC_CONT_MS 1084
#define IDC_CONT_HINT 1085

// Print settings (dialog 240).
#define IDC_PRINT_FIT_TO_PAPER 1048
#define IDC_PRINT_KEEP_SCALE 1049
#define IDC_PRINT_PORTRAIT 1050
#define IDC_PRINT_LANDSCAPE 1052
#define IDC_PRINT_NOW 1019

// Area dialog (dialog 283).
#define IDC_AREA_GROUP 1058
#define IDC_AREA_X 1088
#define IDC_AREA_Y 1089
#define IDC_AREA_WIDTH 1090
#define IDC_AREA_HEIGHT 1091
#define IDC_AREA_X_SPIN 1092
#define IDC_AREA_Y_SPIN 1093
#define IDC_AREA_WIDTH_SPIN 1094
#define IDC_AREA_HEIGHT_SPIN 1095
#define IDC_AREA_X_LABEL 1096
#define IDC_AREA_Y_LABEL 1097
#define IDC_AREA_WIDTH_LABEL 1098
#define IDC_AREA_HEIGHT_LABEL 1099
#define IDC_AREA_OK 1023
#define IDC_AREA_CANCEL 1029

// Capture preview (dialog 243).
#define IDC_PV_LOGO 1021
#define IDC_PV_RESTORE 1027
#define IDC_PV_MAXIMIZE 1031
#define IDC_PV_CLOSE_TOP 1033
#define IDC_PV_PRINT 1036
#define IDC_PV_CLOSE 1070
#define IDC_PV_SIZE_LABEL 1071
#define IDC_PV_SAVE 1072
#define IDC_PV_COPY 1073
#define IDC_PV_EDIT 1074
#define IDC_PV_COPY_NOTICE 1075
#define IDC_PV_ACTUAL_SIZE 1076

// Actual-size viewer (dialog 270).
#define IDC_AS_RESTORE 1022
#define IDC_AS_MAXIMIZE 1028
#define IDC_AS_CLOSE 1077

// Browser views: a window's primary view and its hidden second view (the
// capture frame's and the guide popup's, dialog 338).
#define IDC_WEB_VIEW 121212
#define IDC_WEB_SECOND_VIEW 121213

// Popup-menu commands (notification menu, options menu, more menus).
#define ID_EXIT 32771
#define ID_MORE_OPEN_FOLDER 32772
#define ID_MORE_SNAP 32773
#define ID_MORE_AREA 32774
#define ID_MORE_PRINT 32775
#define ID_OPTMENU_1 32776
#define ID_MORE_SCROLL 32777
#define ID_OPTMENU_2 32778
#define ID_MORE_REGION 32779
#define ID_OPTMENU_3 32780
#define ID_MORE_WINDOW 32781
#define ID_OPTMENU_4 32782
#define ID_MORE_CONTINUOUS 32783
#define ID_OPTMENU_5 32784
#define ID_MORE_FULL_SCREEN 32785
#define ID_MORE_RECORD 32789
#define ID_MORE_COPY 32790
#define ID_CAPTURE_AREA 32791
#define ID_SCROLL_CAPTURE 32792
#define ID_REGION_SELECT 32793
#define ID_WINDOW_PICK 32794
#define ID_CONTINUOUS_CAPTURE 32795
#define ID_FULL_SCREEN 32796
#define ID_COPY_AREA 32797
#define ID_LAUNCH_RECORDER 32798
#define ID_OPEN_SAVE_FOLDER 32799
#define ID_SNAP_TO_WINDOW 32800
#define ID_PRINT_AREA 32801
#define ID_EDIT_IN_PAINT 32802
#define ID_EDIT_FILE_IN_PAINT 32803
#define ID_OPEN_AREA_DIALOG 32804
#define ID_CENTRE_FRAME 32805
#define ID_SHOW_RESTORED 32806
#define ID_OPEN_OPTIONS 32807
#define ID_HELP_PAGE 32808

// Notification icon.
#define WM_TRAY_NOTIFY (0x0400 + 10)
#define TRAY_ICON_ID 148

#endif
