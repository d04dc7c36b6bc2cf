// Resource and command ids of the menu-bar demo.
#pragma once

#define IDR_DEMO_MENUBAR 100
#define IDB_DEMO_TOOLS 101

#define IDS_DEMO_NEW 200
#define IDS_DEMO_TOOLS 201
#define IDS_DEMO_ZOOM_IN 1131
#define IDS_DEMO_ZOOM_OUT 1132
#define IDS_DEMO_RECORD 1133
#define IDS_DEMO_PEN 110

#define IDM_DEMO_NEW 300
#define IDM_DEMO_TOOLS 301
#define IDM_DEMO_CLEAR 310
#define IDM_DEMO_KEYBOARD 311
#define IDM_DEMO_ABOUT 312
#define IDM_DEMO_ZOOM_IN 1131
#define IDM_DEMO_ZOOM_OUT 1132
#define IDM_DEMO_RECORD 1133
#define IDM_DEMO_PEN 110
