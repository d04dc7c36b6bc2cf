// Resource ids of Jotlings.exe, shared by the .rc files and the code. Only
// #defines here: windres reads this file too.
#pragma once

#define IDS_APP_TITLE 1
#define IDS_APP_CLASS 3

#define IDI_JOTLINGS 101

// The note window: its image buttons, menu bar (a MENU and an RCDATA of the
// same id) and tool strip. The tool buttons' tooltips are strings whose ids
// are their commands.
#define IDB_POPUP_BUTTON 136
#define IDB_CLOCK_BUTTON 137
#define IDR_NOTE_MENUBAR 169
#define IDB_NOTE_TOOLS 170
#define IDS_NOTE_EDIT 1121

#define IDC_NOTE_TITLE 102      // the title box; also the "Edit" button's command
#define IDC_NOTE_POPUP 104
#define IDC_NOTE_INK 105
#define IDC_NOTE_CLOCK 110
#define IDM_NOTE_PEN_MODE 110
#define IDM_NOTE_GRID 120
#define IDM_NOTE_ZOOM_IN 1131
#define IDM_NOTE_ZOOM_OUT 1132
#define IDM_NOTE_RECORD 1133
#define IDM_NOTE_UNDO 1134
#define IDM_NOTE_CLEAR_ALL 1143
#define IDM_NOTE_CUT 1147
#define IDM_NOTE_COPY 1148
#define IDM_NOTE_PASTE 1149

// An alarm's menu bar: "Edit" and "Snooze", whose choices bring the alarm
// back that much later.
#define IDR_ALARM_MENUBAR 171
#define IDS_ALARM_SNOOZE 1180
#define IDM_ALARM_SNOOZE 1181   // the "Snooze" button's command
#define IDM_SNOOZE_5_MINUTES 1182
#define IDM_SNOOZE_15_MINUTES 1183
#define IDM_SNOOZE_1_HOUR 1184
#define IDM_SNOOZE_TOMORROW 1185

// The About box.
#define IDD_ABOUT 158
#define IDB_ABOUT 161

// The titles editor.
#define IDD_TITLES_EDITOR 179
#define IDC_TITLES_EDIT 1037
#define IDC_TITLES_ADD 1038
#define IDC_TITLES_DELETE 1039
#define IDC_TITLES_LIST 1040
#define IDC_TITLES_UP 1041
#define IDC_TITLES_DOWN 1042
#define IDC_TITLES_DELETE_ALL 1043

// The all-notes list's row icons.
#define IDB_NOTE_STATES 123

// The options window's pages and their controls.
#define IDD_OPTIONS_GENERAL 175
#define IDD_OPTIONS_SOUND 176
#define IDD_OPTIONS_JOTLING 181
#define IDC_OPTIONS_REPEAT_SPIN 1002
#define IDC_OPTIONS_FONT 1023
#define IDC_OPTIONS_NOTIFY 1026
#define IDC_OPTIONS_TURN_ON 1027
#define IDC_OPTIONS_RECORD_BUTTON 1029
#define IDC_OPTIONS_AUTO_DELETE 1030
#define IDC_OPTIONS_PLAY_RECORDING 1031
#define IDC_OPTIONS_PLAY_FILE 1032
#define IDC_OPTIONS_SOUND_FILE 1033
#define IDC_OPTIONS_BROWSE 1034
#define IDC_OPTIONS_REPEAT 1035
#define IDC_OPTIONS_DONT_PLAY 1036
#define IDC_OPTIONS_REPEAT_LABEL 1045
#define IDC_OPTIONS_MODE 1046
#define IDC_OPTIONS_PAGE_STYLE 1047
#define IDC_OPTIONS_ZOOM 1048

// The all-notes window: menu bar 122 ("New", "Tools") and the popup menu.
#define IDR_LIST_MENUBAR 122
#define IDM_LIST_NEW 1113
#define IDS_LIST_NEW 1115
#define IDM_LIST_TOOLS 1150
#define IDS_LIST_TOOLS 1152
#define IDM_LIST_TITLES 1144
#define IDM_LIST_OPTIONS 1122
#define IDM_LIST_ABOUT 1158
#define IDM_LIST_EDIT 102
#define IDM_LIST_DELETE 107
#define IDM_LIST_SET_EXPIRED 108
#define IDM_LIST_SELECT_ALL 111
#define IDC_LIST_PREVIEW 100
// Tools > Find and the find box above the list.
#define IDM_LIST_FIND 1170
#define IDC_LIST_FIND_EDIT 1171
#define IDC_LIST_FIND_COUNT 1172
#define IDC_LIST_FIND_CLOSE 1173

// The About box's texts.
#define IDC_ABOUT_NAME 1590
#define IDC_ABOUT_VERSION 1591
#define IDC_ABOUT_PURPOSE 1592
